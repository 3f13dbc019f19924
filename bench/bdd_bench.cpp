// Benchmark of the BDD engine: n-queens, n-bit adder and n-bit multiplier outputs.
#include <ctime>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bdd/bddpp.h"
#include "bdd_workloads.h"

namespace {

// Processor time of the process: steadier than the wall clock on a loaded machine.
double now()
{
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// Number of satisfying assignments of f over nv variables (ids equal positions); long double
// keeps 2^64 minus a few exact.
long double count_sat(bddpp_manager& m, const bdd& f, int nv)
{
    std::vector<long double> memo(m.Bdd_total_size(), -1.0L);
    std::function<long double(bdd_node*, int)> count;
    // count of the regular node n over the variables at positions >= level
    count = [&](bdd_node* n, int level) -> long double {
        long p = n == m.terminal ? nv : m.id_to_pos[n->var];
        long double scale = std::ldexp(1.0L, int(p - level));
        if (n == m.terminal) return scale;
        long double& c = memo[n->number];
        if (c < 0) {
            long double t = count(n->then_node, int(p + 1));
            long double e = count(n->else_node, int(p + 1));
            if (n->else_link == -1) e = std::ldexp(1.0L, int(nv - p - 1)) - e;
            c = t + e;
        }
        return scale * c;
    };
    long double c = count(f.node_ptr, 0);
    return f.link == 1 ? c : std::ldexp(1.0L, nv) - c;
}

long outputs_size(bddpp_manager& m, std::vector<bdd>& outs)
{
    std::list<bdd> l(outs.begin(), outs.end());
    for (const bdd& f : l) m.Bdd_clear_marks(f);
    long k = 0;
    for (const bdd& f : l) k = m.Bdd_incremental_id(f.node_ptr, k);
    return k;
}

} // namespace

bench_result nelvor_queens(int n)
{
    double t0 = now();
    bddpp_manager m;
    std::vector<bdd> x;
    for (int i = 0; i < n * n; ++i) x.push_back(m.New_var_last("q" + std::to_string(i)));
    auto at = [&](int i, int j) -> bdd& { return x[i * n + j]; };
    bdd queen = m.Bdd_one();
    for (int i = 0; i < n; ++i) { // a queen in every row
        bdd row = m.Bdd_zero();
        for (int j = 0; j < n; ++j) row = m.Bdd_or(row, at(i, j));
        queen = m.Bdd_and(queen, row);
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) { // a queen at (i, j) attacks no other square
            bdd c = m.Bdd_one();
            for (int k = 0; k < n; ++k)
                for (int l = 0; l < n; ++l) {
                    if (k == i && l == j) continue;
                    if (k == i || l == j || k - l == i - j || k + l == i + j)
                        c = m.Bdd_and(c, m.Bdd_implication(at(i, j), m.Bdd_not(at(k, l))));
                }
            queen = m.Bdd_and(queen, c);
        }
    bench_result r;
    r.seconds = now() - t0;
    r.nodes = m.Bdd_size(queen);
    r.created = m.Bdd_total_size() - 2;
    r.check = double(count_sat(m, queen, n * n));
    return r;
}

namespace {

// a0 b0 a1 b1 ...: operand bits interleaved, least significant first.
void operands(bddpp_manager& m, int n, std::vector<bdd>& a, std::vector<bdd>& b)
{
    for (int i = 0; i < n; ++i) {
        a.push_back(m.New_var_last("a" + std::to_string(i)));
        b.push_back(m.New_var_last("b" + std::to_string(i)));
    }
}

// s := s + t (both little-endian, same width), through ripple-carry full adders.
void add_into(bddpp_manager& m, std::vector<bdd>& s, const std::vector<bdd>& t)
{
    bdd carry = m.Bdd_zero();
    for (size_t i = 0; i < s.size(); ++i) {
        bdd half = m.Bdd_xor(s[i], t[i]);
        bdd next = m.Bdd_or(m.Bdd_and(s[i], t[i]), m.Bdd_and(carry, half));
        s[i] = m.Bdd_xor(half, carry);
        carry = next;
    }
    s.push_back(carry);
}

bench_result finish(bddpp_manager& m, std::vector<bdd>& outs, double t0, int nv)
{
    bench_result r;
    r.seconds = now() - t0;
    r.nodes = outputs_size(m, outs);
    r.created = m.Bdd_total_size() - 2;
    long double check = 0;
    for (const bdd& f : outs) check += count_sat(m, f, nv);
    r.check = double(check);
    return r;
}

} // namespace

bench_result nelvor_adder(int n)
{
    double t0 = now();
    bddpp_manager m;
    std::vector<bdd> a, b;
    operands(m, n, a, b);
    std::vector<bdd> s = a;
    add_into(m, s, b);
    return finish(m, s, t0, 2 * n);
}

bench_result nelvor_multiplier(int n)
{
    double t0 = now();
    bddpp_manager m;
    std::vector<bdd> a, b;
    operands(m, n, a, b);
    std::vector<bdd> p(2 * n, m.Bdd_zero());
    for (int i = 0; i < n; ++i) { // p += (a AND b_i) << i
        std::vector<bdd> row(2 * n - 1, m.Bdd_zero());
        for (int j = 0; j < n; ++j) row[i + j] = m.Bdd_and(a[j], b[i]);
        std::vector<bdd> acc(p.begin(), p.end() - 1);
        add_into(m, acc, row);
        p = acc;
    }
    return finish(m, p, t0, 2 * n);
}

int main()
{
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
        bench_result b = r.run(r.n);
        std::printf("%-12s %3d %10.4f %10ld %12ld %14.0f %12ld\n", r.name, r.n, b.seconds, b.nodes, b.created,
                    b.check, peak_memory_kb());
    }
    return 0;
}
