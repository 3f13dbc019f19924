// Benchmark of the BDD engine: n-queens, n-bit adder and n-bit multiplier outputs.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
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
    // Collects the way BuDDy's kernel of the other bench does: once the nodes fill a table of a
    // million nodes, or twice what the last collection kept.
    void collect()
    {
        if (m.Table_size() < std::max(1000000L, 2 * kept)) return;
        m.Bdd_gc();
        kept = m.Table_size();
    }
    long kept = 0; // nodes left by the last collection
};

// A non-negative integer of any size, in 32-bit limbs from the lowest: the satisfying counts
// over a hundred variables and more stay exact.
struct big_count {
    std::vector<uint32_t> limbs; // no high zero limb; empty for 0

    static big_count power_of_two(int k)
    {
        big_count r;
        r.limbs.assign(size_t(k / 32 + 1), 0);
        r.limbs.back() = uint32_t(1) << (k % 32);
        return r;
    }
    big_count shifted(int k) const // times 2^k
    {
        big_count r;
        if (limbs.empty()) return r;
        r.limbs.assign(size_t(k / 32), 0);
        uint32_t carry = 0;
        for (uint32_t l : limbs) {
            uint64_t w = (uint64_t(l) << (k % 32)) | carry;
            r.limbs.push_back(uint32_t(w));
            carry = k % 32 ? uint32_t(w >> 32) : 0;
        }
        if (carry) r.limbs.push_back(carry);
        return r;
    }
    big_count plus(const big_count& b) const
    {
        big_count r;
        uint64_t carry = 0;
        for (size_t i = 0; i < std::max(limbs.size(), b.limbs.size()); ++i) {
            uint64_t w = carry + (i < limbs.size() ? limbs[i] : 0) + (i < b.limbs.size() ? b.limbs[i] : 0);
            r.limbs.push_back(uint32_t(w));
            carry = w >> 32;
        }
        if (carry) r.limbs.push_back(uint32_t(carry));
        return r;
    }
    big_count minus(const big_count& b) const // b must not exceed this
    {
        big_count r;
        int64_t borrow = 0;
        for (size_t i = 0; i < limbs.size(); ++i) {
            int64_t w = int64_t(limbs[i]) - borrow - int64_t(i < b.limbs.size() ? b.limbs[i] : 0);
            borrow = w < 0;
            r.limbs.push_back(uint32_t(w + (borrow << 32)));
        }
        while (!r.limbs.empty() && r.limbs.back() == 0) r.limbs.pop_back();
        return r;
    }
    std::string decimal() const
    {
        std::vector<uint32_t> n = limbs;
        std::string digits;
        while (!n.empty()) {
            uint64_t rest = 0;
            for (size_t i = n.size(); i-- > 0;) {
                uint64_t w = (rest << 32) | n[i];
                n[i] = uint32_t(w / 10);
                rest = w % 10;
            }
            digits.insert(digits.begin(), char('0' + rest));
            while (!n.empty() && n.back() == 0) n.pop_back();
        }
        return digits.empty() ? "0" : digits;
    }
};

// Number of satisfying assignments of f over nv variables (ids equal positions), exact.
big_count count_sat(bddpp_manager& m, const bdd& f, int nv)
{
    std::unordered_map<const bdd_node*, big_count> memo; // regular nodes' counts below them
    std::function<big_count(bdd_node*)> below;
    // count of the regular node n over the variables at positions >= its own
    below = [&](bdd_node* n) -> big_count {
        if (n == m.terminal) return big_count::power_of_two(0);
        auto known = memo.find(n);
        if (known != memo.end()) return known->second;
        long p = m.id_to_pos[n->var];
        // each child's count over the positions from p + 1
        auto from_next = [&](bdd_node* c) {
            long q = c == m.terminal ? nv : m.id_to_pos[c->var];
            return below(c).shifted(int(q - p - 1));
        };
        big_count t = from_next(n->then_node);
        big_count e = from_next(n->else_node);
        if (n->else_link == -1) e = big_count::power_of_two(int(nv - p - 1)).minus(e);
        return memo[n] = t.plus(e);
    };
    long p = f.node_ptr == m.terminal ? nv : m.id_to_pos[f.node_ptr->var];
    big_count c = below(f.node_ptr).shifted(int(p));
    return f.link == 1 ? c : big_count::power_of_two(nv).minus(c);
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
    big_count check;
    for (const bdd& f : outs) check = check.plus(count_sat(e.m, f, nv));
    r.check = std::strtod(check.decimal().c_str(), nullptr);
    r.check_text = check.decimal();
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

// Usage: bdd_bench [repetitions [workload n]]; each figure is the best of that many runs (3 by
// default); with a workload and a size, that line alone.
int main(int argc, char** argv)
{
    int reps = argc > 1 ? std::atoi(argv[1]) : 3;
    if (reps < 1) reps = 1;
    std::printf("%-12s %3s %10s %10s %12s %14s %12s\n", "workload", "n", "seconds", "nodes", "created",
                "check", "peak KiB");
    for (const workload_size& r : bench_workloads) {
        if (argc > 3 && (std::string(argv[2]) != r.name || std::atoi(argv[3]) != r.n)) continue;
        const std::string name = r.name;
        bench_result b = best_of(name == "queens" ? nelvor_queens : name == "adder" ? nelvor_adder : nelvor_multiplier,
                                 r.n, reps);
        std::printf("%-12s %3d %10.4f %10ld %12ld %14s %12ld\n", r.name, r.n, b.seconds, b.nodes, b.created,
                    b.check_text.c_str(), peak_memory_kb());
    }
    return 0;
}
