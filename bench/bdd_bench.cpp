// Benchmark of the BDD engine: n-queens, n-bit adder and n-bit multiplier outputs.
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "bdd/bddpp.h"
#include "bench/bdd_workloads.h"

namespace {

// The workloads' view of a manager whose variables are created in position order.
struct nelvor_engine {
    typedef bdd fn;
    bddpp_manager m;    // the engine
    std::vector<bdd> v; // the variables by position

    explicit nelvor_engine(int nv)
    {
        for (int i = 0; i < nv; ++i) v.push_back(m.New_var_last("v" + std::to_string(i)));
    }
    bdd var(int i) { return v[i]; }
    bdd one() { return m.Bdd_one(); }
    bdd zero() { return m.Bdd_zero(); }
    bdd conj(const bdd& f, const bdd& g) { return m.Bdd_and(f, g); }
    bdd disj(const bdd& f, const bdd& g) { return m.Bdd_or(f, g); }
    bdd neg(const bdd& f) { return m.Bdd_not(f); }
    bdd imp(const bdd& f, const bdd& g) { return m.Bdd_implication(f, g); }
    bdd exor(const bdd& f, const bdd& g) { return m.Bdd_xor(f, g); }
    void collect() { m.Bdd_gc(); }
};

// Number of satisfying assignments of f over nv variables (ids equal positions); long double
// keeps 2^64 minus a few exact.
long double count_sat(bddpp_manager& m, const bdd& f, int nv)
{
    std::unordered_map<const bdd_node*, long double> memo; // regular nodes' counts
    std::function<long double(bdd_node*, int)> count;
    // count of the regular node n over the variables at positions >= level
    count = [&](bdd_node* n, int level) -> long double {
        long p = n == m.terminal ? nv : m.id_to_pos[n->var];
        long double scale = std::ldexp(1.0L, int(p - level));
        if (n == m.terminal) return scale;
        auto known = memo.find(n);
        if (known != memo.end()) return scale * known->second;
        long double t = count(n->then_node, int(p + 1));
        long double e = count(n->else_node, int(p + 1));
        if (n->else_link == -1) e = std::ldexp(1.0L, int(nv - p - 1)) - e;
        memo[n] = t + e;
        return scale * (t + e);
    };
    long double c = count(f.node_ptr, 0);
    return f.link == 1 ? c : std::ldexp(1.0L, nv) - c;
}

bench_result finish(nelvor_engine& e, const std::vector<bdd>& outs, double t0, int nv)
{
    bench_result r;
    r.seconds = cpu_now() - t0;
    for (const bdd& f : outs) e.m.Bdd_clear_marks(f);
    long k = 0;
    for (const bdd& f : outs) k = e.m.Bdd_incremental_id(f.node_ptr, k);
    r.nodes = k;
    r.created = e.m.Bdd_total_size() - 2;
    long double check = 0;
    for (const bdd& f : outs) check += count_sat(e.m, f, nv);
    r.check = double(check);
    return r;
}

} // namespace

bench_result nelvor_queens(int n)
{
    double t0 = cpu_now();
    nelvor_engine e(n * n);
    bdd q = queens(e, n);
    return finish(e, std::vector<bdd>(1, q), t0, n * n);
}

bench_result nelvor_adder(int n)
{
    double t0 = cpu_now();
    nelvor_engine e(2 * n);
    std::vector<bdd> outs = adder(e, n);
    return finish(e, outs, t0, 2 * n);
}

bench_result nelvor_multiplier(int n)
{
    double t0 = cpu_now();
    nelvor_engine e(2 * n);
    std::vector<bdd> outs = multiplier(e, n);
    return finish(e, outs, t0, 2 * n);
}

// Usage: bdd_bench [repetitions]; each figure is the best of that many runs (3 by default).
int main(int argc, char** argv)
{
    int reps = argc > 1 ? std::atoi(argv[1]) : 3;
    if (reps < 1) reps = 1;
    struct {
        const char* name;
        bench_result (*run)(int);
        int n;
    } runs[] = {{"queens", nelvor_queens, 6},      {"queens", nelvor_queens, 7},
                {"queens", nelvor_queens, 8},      {"adder", nelvor_adder, 8},
                {"adder", nelvor_adder, 12},       {"multiplier", nelvor_multiplier, 8},
                {"multiplier", nelvor_multiplier, 12}};
    std::printf("%-12s %3s %10s %10s %12s %14s %12s\n", "workload", "n", "seconds", "nodes", "created",
                "check", "peak KiB");
    for (const auto& r : runs) {
        bench_result b = best_of(r.run, r.n, reps);
        std::printf("%-12s %3d %10.4f %10ld %12ld %14.0f %12ld\n", r.name, r.n, b.seconds, b.nodes, b.created,
                    b.check, peak_memory_kb());
    }
    return 0;
}
