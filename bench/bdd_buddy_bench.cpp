// The BDD benchmark workloads on BuDDy, beside this system's engine, with the time ratio.
#include <stdio.h>

#include <ctime>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "bdd_workloads.h"

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

ref apply(const ref& a, const ref& b, int op) { return ref(buddy::bdd_apply(a.id(), b.id(), op)); }
ref operator&(const ref& a, const ref& b) { return apply(a, b, bddop_and); }
ref operator|(const ref& a, const ref& b) { return apply(a, b, bddop_or); }
ref operator^(const ref& a, const ref& b) { return apply(a, b, bddop_xor); }
ref operator!(const ref& a) { return ref(buddy::bdd_not(a.id())); }
ref bdd_imp(const ref& a, const ref& b) { return apply(a, b, bddop_imp); }
ref bdd_ithvar(int i) { return ref(buddy::bdd_ithvar(i)); }
const ref bddfalse(0); // BuDDy's two constant nodes
const ref bddtrue(1);

} // namespace

namespace {

// Processor time of the process: steadier than the wall clock on a loaded machine.
double now()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

void quiet_gc(int, buddy::bddGbcStat*) {}

void start(int nv)
{
    buddy::bdd_init(1000000, 100000);
    buddy::bdd_setmaxincrease(4000000);
    buddy::bdd_gbc_hook(quiet_gc);
    buddy::bdd_setvarnum(nv);
}

bench_result finish(const std::vector<ref>& outs, double t0, int nv)
{
    bench_result r;
    r.seconds = now() - t0;
    std::vector<buddy::BDD> roots;
    for (const ref& f : outs) roots.push_back(f.id());
    r.nodes = buddy::bdd_anodecount(roots.data(), int(roots.size())) + 1; // BuDDy leaves the terminals out
    buddy::bddStat stat;
    buddy::bdd_stats(&stat);
    r.created = stat.produced;
    r.check = 0;
    for (const ref& f : outs) r.check += buddy::bdd_satcount(f.id()) / 1.0;
    (void)nv;
    return r;
}

bench_result buddy_queens(int n)
{
    start(n * n);
    double t0 = now(); // the kernel's allocation is not part of the build
    bench_result r;
    {
        auto at = [&](int i, int j) { return bdd_ithvar(i * n + j); };
        ref queen = bddtrue;
        for (int i = 0; i < n; ++i) {
            ref row = bddfalse;
            for (int j = 0; j < n; ++j) row = row | at(i, j);
            queen = queen & row;
        }
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) {
                ref c = bddtrue;
                for (int k = 0; k < n; ++k)
                    for (int l = 0; l < n; ++l) {
                        if (k == i && l == j) continue;
                        if (k == i || l == j || k - l == i - j || k + l == i + j) c = c & bdd_imp(at(i, j), !at(k, l));
                    }
                queen = queen & c;
            }
        r = finish(std::vector<ref>(1, queen), t0, n * n);
    }
    buddy::bdd_done();
    return r;
}

void add_into(std::vector<ref>& s, const std::vector<ref>& t)
{
    ref carry = bddfalse;
    for (size_t i = 0; i < s.size(); ++i) {
        ref half = s[i] ^ t[i];
        ref next = (s[i] & t[i]) | (carry & half);
        s[i] = half ^ carry;
        carry = next;
    }
    s.push_back(carry);
}

bench_result buddy_arith(int n, bool multiply)
{
    start(2 * n);
    double t0 = now();
    bench_result r;
    {
        std::vector<ref> a, b;
        for (int i = 0; i < n; ++i) {
            a.push_back(bdd_ithvar(2 * i));
            b.push_back(bdd_ithvar(2 * i + 1));
        }
        std::vector<ref> p;
        if (!multiply) {
            p = a;
            add_into(p, b);
        } else {
            p.assign(2 * n, bddfalse);
            for (int i = 0; i < n; ++i) {
                std::vector<ref> row(2 * n - 1, bddfalse);
                for (int j = 0; j < n; ++j) row[i + j] = a[j] & b[i];
                std::vector<ref> acc(p.begin(), p.end() - 1);
                add_into(acc, row);
                p = acc;
            }
        }
        r = finish(p, t0, 2 * n);
    }
    buddy::bdd_done();
    return r;
}

} // namespace

// This system's figures, read from the output of bdd_bench run as a child process: name, n,
// seconds, nodes, created, check, peak KiB on each line after the header.
struct ours {
    std::string name; // workload
    int n;            // its size
    bench_result r;   // its figures
};

std::vector<ours> run_bdd_bench(const char* path)
{
    std::vector<ours> all;
    FILE* child = popen(path, "r");
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

int main(int argc, char** argv)
{
    const char* path = argc > 1 ? argv[1] : NELVOR_BDD_BENCH;
    std::vector<ours> mine = run_bdd_bench(path);
    if (mine.empty()) {
        std::fprintf(stderr, "bdd_buddy_bench: no figures from %s\n", path);
        return 1;
    }
    std::printf("%-12s %3s %10s %10s %8s %10s %10s %14s\n", "workload", "n", "nelvor s", "BuDDy s", "ratio",
                "nodes", "BuDDy", "check");
    for (const ours& o : mine) {
        bench_result b;
        if (o.name == "queens") b = buddy_queens(o.n);
        else if (o.name == "adder") b = buddy_arith(o.n, false);
        else b = buddy_arith(o.n, true);
        const bench_result& a = o.r;
        std::printf("%-12s %3d %10.4f %10.4f %8.2f %10ld %10ld %14.0f%s\n", o.name.c_str(), o.n, a.seconds,
                    b.seconds, b.seconds > 0 ? a.seconds / b.seconds : 0.0, a.nodes, b.nodes, a.check,
                    a.check == b.check ? "" : " (BuDDy differs)");
    }
    std::printf("BuDDy peak memory: %ld KiB\n", peak_memory_kb());
    return 0;
}
