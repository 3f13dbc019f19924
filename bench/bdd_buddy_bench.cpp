// The BDD benchmark workloads on BuDDy, beside this system's engine, with the time ratio.
#include <stdio.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "bench/bdd_workloads.h"

// BuDDy's C++ class is also called bdd, like this system's handle: its header is kept in a
// namespace of its own and only its C functions (which keep their C names) are used.
namespace buddy {
#include <bdd.h>
}

#undef bdd_init
#undef bdd_ithvar
#undef bddtrue
#undef bddfalse
#undef bdd_anodecount

namespace {

// A counted reference to a BuDDy node through its C interface (the constants 0 and 1 carry
// no count).
class ref {
public:
    ref(buddy::BDD r = 0) : root(r) { up(root); }
    ref(const ref& r) : root(r.root) { up(root); }
    ref& operator=(const ref& r)
    {
        up(r.root);
        down(root);
        root = r.root;
        return *this;
    }
    ~ref() { down(root); }
    buddy::BDD id() const { return root; }

private:
    buddy::BDD root; // the node

    static void up(buddy::BDD r)
    {
        if (r > 1) buddy::bdd_addref(r);
    }
    static void down(buddy::BDD r)
    {
        if (r > 1) buddy::bdd_delref(r);
    }
};

void quiet_gc(int, buddy::bddGbcStat*) {}

// The workloads' view of a running BuDDy kernel; BuDDy collects by itself.
struct buddy_engine {
    typedef ref fn;

    explicit buddy_engine(int nv)
    {
        buddy::bdd_init(1000000, 100000);
        buddy::bdd_setmaxincrease(4000000);
        buddy::bdd_gbc_hook(quiet_gc);
        buddy::bdd_setvarnum(nv);
    }
    ~buddy_engine() { buddy::bdd_done(); }
    ref var(int i) { return ref(buddy::bdd_ithvar(i)); }
    ref one() { return ref(1); }
    ref zero() { return ref(0); }
    ref conj(const ref& f, const ref& g) { return apply(f, g, bddop_and); }
    ref disj(const ref& f, const ref& g) { return apply(f, g, bddop_or); }
    ref neg(const ref& f) { return ref(buddy::bdd_not(f.id())); }
    ref imp(const ref& f, const ref& g) { return apply(f, g, bddop_imp); }
    ref exor(const ref& f, const ref& g) { return apply(f, g, bddop_xor); }
    void collect() {}

    static ref apply(const ref& f, const ref& g, int op) { return ref(buddy::bdd_apply(f.id(), g.id(), op)); }
};

bench_result finish(const std::vector<ref>& outs, double t0)
{
    bench_result r;
    r.seconds = cpu_now() - t0;
    std::vector<buddy::BDD> roots;
    for (const ref& f : outs) roots.push_back(f.id());
    r.nodes = buddy::bdd_anodecount(roots.data(), int(roots.size())) + 1; // BuDDy leaves the terminals out
    buddy::bddStat stat;
    buddy::bdd_stats(&stat);
    r.created = stat.produced;
    r.check = 0;
    for (const ref& f : outs) r.check += buddy::bdd_satcount(f.id());
    return r;
}

// The kernel's start (allocation of its node table) is not part of the build.
bench_result buddy_queens(int n)
{
    buddy_engine e(n * n);
    double t0 = cpu_now();
    ref q = queens(e, n);
    return finish(std::vector<ref>(1, q), t0);
}

bench_result buddy_adder(int n)
{
    buddy_engine e(2 * n);
    double t0 = cpu_now();
    std::vector<ref> outs = adder(e, n);
    return finish(outs, t0);
}

bench_result buddy_multiplier(int n)
{
    buddy_engine e(2 * n);
    double t0 = cpu_now();
    std::vector<ref> outs = multiplier(e, n);
    return finish(outs, t0);
}

} // namespace

// This system's figures, read from the output of bdd_bench run as a child process: name, n,
// seconds, nodes, created, check, peak KiB on each line after the header.
struct ours {
    std::string name; // workload
    int n;            // its size
    bench_result r;   // its figures
};

std::vector<ours> run_bdd_bench(const char* command)
{
    std::vector<ours> all;
    FILE* child = popen(command, "r");
    if (!child) return all;
    char line[512];
    if (!std::fgets(line, sizeof line, child)) line[0] = 0; // the header
    while (std::fgets(line, sizeof line, child)) {
        char name[64];
        ours o;
        long peak;
        if (std::sscanf(line, "%63s %d %lf %ld %ld %lf %ld", name, &o.n, &o.r.seconds, &o.r.nodes, &o.r.created,
                        &o.r.check, &peak) == 7) {
            o.name = name;
            all.push_back(o);
        }
    }
    pclose(child);
    return all;
}

// Usage: bdd_buddy_bench [repetitions [path of bdd_bench]]; each figure is the best of that
// many runs (3 by default) on either engine. Workload by workload the two engines' runs
// alternate (this system's run as a child process, then BuDDy's, and again), so that both meet
// the same load of the machine over the same stretch of time.
int main(int argc, char** argv)
{
    int reps = argc > 1 ? std::atoi(argv[1]) : 3;
    if (reps < 1) reps = 1;
    const std::string program = argc > 2 ? argv[2] : NELVOR_BDD_BENCH;
    std::printf("%-12s %3s %10s %10s %8s %10s %10s %10s %10s %14s\n", "workload", "n", "nelvor s", "BuDDy s",
                "ratio", "nodes", "BuDDy", "created", "BuDDy", "check");
    for (const workload_size& w : bench_workloads) {
        const std::string command = program + " 1 " + w.name + " " + std::to_string(w.n);
        const std::string name = w.name;
        bench_result (*buddy_run)(int) =
            name == "queens" ? buddy_queens : (name == "adder" ? buddy_adder : buddy_multiplier);
        bench_result a, b;
        for (int k = 0; k < reps; ++k) {
            std::vector<ours> mine = run_bdd_bench(command.c_str());
            if (mine.size() != 1) {
                std::fprintf(stderr, "bdd_buddy_bench: no figures from %s\n", command.c_str());
                return 1;
            }
            if (k == 0 || mine[0].r.seconds < a.seconds) a = mine[0].r;
            bench_result r = buddy_run(w.n);
            if (k == 0 || r.seconds < b.seconds) b = r;
        }
        std::printf("%-12s %3d %10.4f %10.4f %8.2f %10ld %10ld %10ld %10ld %14.0f%s\n", w.name, w.n, a.seconds,
                    b.seconds, b.seconds > 0 ? a.seconds / b.seconds : 0.0, a.nodes, b.nodes, a.created, b.created,
                    a.check, a.check == b.check ? "" : " (BuDDy differs)");
        std::fflush(stdout);
    }
    std::printf("BuDDy peak memory: %ld KiB\n", peak_memory_kb());
    return 0;
}
