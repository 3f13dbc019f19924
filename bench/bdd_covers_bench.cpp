// Cover and sum-of-products timings: many small signals in a wide manager, and wide functions.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <list>
#include <random>
#include <string>
#include <vector>

#include "bdd/bddpp.h"

namespace {

double seconds(const std::function<void()>& run)
{
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
    run();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// OR of k random cubes of width w over the first n variables.
bdd random_pla(bddpp_manager& m, const std::vector<bdd>& v, int n, int k, int w, std::mt19937& rng)
{
    bdd f = m.Bdd_zero();
    for (int i = 0; i < k; ++i) {
        bdd c = m.Bdd_one();
        for (int j = 0; j < w; ++j) {
            bdd x = v[rng() % n];
            c = m.Bdd_and(c, rng() % 2 ? x : m.Bdd_not(x));
        }
        f = m.Bdd_or(f, c);
    }
    return f;
}

void report(const char* what, int kind, double s, size_t cubes)
{
    std::printf("%-44s kind %d  %9.3f s  %8zu cubes\n", what, kind, s, cubes);
}

} // namespace

int main(int argc, char** argv)
{
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int signals_count = argc > 1 ? std::atoi(argv[1]) : 100000;
    // signals_count signals, each a function of 8 of them, printed as sums of products
    {
        bddpp_manager m;
        std::vector<bdd> v;
        for (int i = 0; i < signals_count; ++i) v.push_back(m.New_var_last("s" + std::to_string(i)));
        std::mt19937 rng(1);
        std::vector<bdd> signals;
        std::printf("%d variables made\n", signals_count);
        for (int i = 0; i < signals_count; ++i) {
            int base = int(rng() % (signals_count - 8));
            std::vector<bdd> in(v.begin() + base, v.begin() + base + 8);
            signals.push_back(random_pla(m, in, 8, 3, 3, rng));
        }
        for (int kind : {0, 1, 2}) {
            size_t length = 0;
            double s = seconds([&] {
                for (const bdd& f : signals) length += m.Print_sop_to_String(" or ", " and ", "not ", "", f, kind).size();
            });
            report((std::to_string(signals_count) + " signals of 8 inputs, text").c_str(), kind, s, length);
        }
    }
    // wide functions
    bddpp_manager m;
    std::vector<bdd> v;
    for (int i = 0; i < 64; ++i) v.push_back(m.New_var_last("x" + std::to_string(i)));
    struct workload {
        std::string name;
        bdd f;
        std::vector<int> kinds;
    };
    std::vector<workload> work;
    bdd all_or = m.Bdd_zero(), all_and = m.Bdd_one(), parity = m.Bdd_zero();
    for (int i = 0; i < 64; ++i) {
        all_or = m.Bdd_or(all_or, v[i]);
        all_and = m.Bdd_and(all_and, v[i]);
    }
    for (int i = 0; i < 14; ++i) parity = m.Bdd_xor(parity, v[i]);
    bdd or16 = m.Bdd_zero();
    for (int i = 0; i < 16; ++i) or16 = m.Bdd_or(or16, v[i]);
    std::mt19937 rng(2);
    // wide functions whose ternary tree is large against their primes
    // x0 x1 + x2 x3 + ...: about 2^k paths for k products, which kind 1 expands, and kind 2 with it
    for (int k : {10, 14, 16}) {
        bdd pairs = m.Bdd_zero();
        for (int i = 0; i < 2 * k; i += 2) pairs = m.Bdd_or(pairs, m.Bdd_and(v[i], v[i + 1]));
        work.push_back({"OR of " + std::to_string(k) + " ANDs of 2 inputs", pairs, {1, 2}});
    }
    // the products' literals far apart in the order: x_i x_(i+10), a function of 2^10 nodes
    bdd apart = m.Bdd_zero();
    for (int i = 0; i < 10; ++i) apart = m.Bdd_or(apart, m.Bdd_and(v[i], v[i + 10]));
    work.push_back({"OR of 10 ANDs of inputs 10 apart", apart, {1, 2}});
    bdd majority = m.Bdd_zero(); // at least 5 of x0..x8
    {
        std::vector<bdd> at_least(6, m.Bdd_zero()); // at_least[k]: k or more of those seen
        at_least[0] = m.Bdd_one();
        for (int i = 0; i < 9; ++i)
            for (int k = 5; k >= 1; --k) at_least[k] = m.Bdd_or(at_least[k], m.Bdd_and(at_least[k - 1], v[i]));
        majority = at_least[5];
    }
    work.push_back({"majority of 9 inputs", majority, {2}});
    bdd mux = m.Bdd_zero(); // x0..x2 select one of x3..x10
    for (int d = 0; d < 8; ++d) {
        bdd c = v[3 + d];
        for (int b = 0; b < 3; ++b) c = m.Bdd_and(c, d >> b & 1 ? v[b] : m.Bdd_not(v[b]));
        mux = m.Bdd_or(mux, c);
    }
    work.push_back({"multiplexer of 3 selects and 8 data", mux, {2}});
    work.push_back({"OR of 64 inputs", all_or, {0, 1}});
    work.push_back({"AND of 64 inputs", all_and, {0, 1, 2}});
    work.push_back({"OR of 16 inputs", or16, {0, 1, 2}});
    work.push_back({"parity of 14 inputs", parity, {0, 1}});
    // no kind 1: it expands each of the 600,000 paths against f, some 450 s
    work.push_back({"60 cubes of 6 literals over 24 inputs", random_pla(m, v, 24, 60, 6, rng), {0}});
    work.push_back({"40 cubes of 4 literals over 12 inputs", random_pla(m, v, 12, 40, 4, rng), {0, 1, 2}});
    for (const workload& w : work) {
        for (int kind : w.kinds) {
            std::list<bdd> cover;
            double s = seconds([&] { m.Bdd_sop(w.f, cover, kind); });
            report(w.name.c_str(), kind, s, cover.size());
        }
    }
    return 0;
}
