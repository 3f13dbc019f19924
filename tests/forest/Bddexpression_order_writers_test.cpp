// The shared-node C text of random acyclic forests: every element and variable is assigned once,
// before it is read, and running the lines computes every equation's function.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <vector>

#include "forest/Bddexpression.h"

namespace {

// A random forest over inputs i0.. and equations e0..; e_j reads inputs and e_0 .. e_(j-1) only.
// Variables are declared and equations registered in shuffled orders, so positions and dates differ.
struct random_forest {
    Bddexpressionwood w;
    bddpp_manager* m;
    std::vector<std::string> inputs, equations;
    std::list<std::string> outputs;

    explicit random_forest(unsigned seed) : m(w.manager)
    {
        std::mt19937 rng(seed);
        auto pick = [&](int n) { return (int)(rng() % (unsigned)n); };
        int ni = 2 + pick(3), ne = 3 + pick(6);
        for (int i = 0; i < ni; ++i) inputs.push_back("i" + std::to_string(i));
        for (int j = 0; j < ne; ++j) equations.push_back("e" + std::to_string(j));
        std::vector<std::string> names(inputs);
        names.insert(names.end(), equations.begin(), equations.end());
        std::shuffle(names.begin(), names.end(), rng);
        for (const std::string& n : names) w.New_var_last(n);

        std::vector<bdd> rights;
        for (int j = 0; j < ne; ++j) {
            std::vector<std::string> readable(inputs);
            readable.insert(readable.end(), equations.begin(), equations.begin() + j);
            auto literal = [&]() {
                bdd v = m->Bdd_var_by_name(readable[pick((int)readable.size())]);
                return pick(2) ? v : m->Bdd_not(v);
            };
            int shape = pick(10);
            bdd f;
            if (shape == 0)
                f = pick(2) ? m->Bdd_one() : m->Bdd_zero();
            else if (shape == 1)
                f = m->Bdd_var_by_name(readable[pick((int)readable.size())]); // a copy
            else {
                f = literal();
                for (int n = 1 + pick(3); n > 0; --n) {
                    int op = pick(3);
                    bdd g = literal();
                    f = op == 0 ? m->Bdd_and(f, g) : op == 1 ? m->Bdd_or(f, g) : m->Bdd_xor(f, g);
                }
            }
            rights.push_back(f);
            if (pick(2)) outputs.push_back(equations[j]);
        }
        std::vector<int> order(ne);
        for (int j = 0; j < ne; ++j) order[j] = j;
        std::shuffle(order.begin(), order.end(), rng);
        for (int j : order)
            new Bddexpression(equations[j], &w, m->Bdd_var_by_name(equations[j]), rights[j], 0, 0);
        w.compute_dates();
    }

    // The value of the variable at position p, inputs taken from in.
    bool value(long p, const std::map<std::string, bool>& in)
    {
        Bddexpression* e = w.exp_by_index(p);
        if (!e) return in.at(m->Name_var_by_index(p));
        return value(e->bdd_exp.link_type(), e->bdd_exp.node(), in);
    }
    bool value(int link, bdd_node* n, const std::map<std::string, bool>& in)
    {
        if (n->var < 0) return link == 1;
        return value(m->Index_var_by_bdd(m->Bdd_var_by_id(n->var)), in) ? value(link, n->then_node, in)
                                                                          : value(link * n->else_link, n->else_node, in);
    }
};

std::string trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" *");
    return b == std::string::npos ? "" : s.substr(b);
}

std::vector<std::string> split(const std::string& s, const std::string& sep)
{
    std::vector<std::string> parts;
    size_t from = 0, at;
    while ((at = s.find(sep, from)) != std::string::npos) {
        parts.push_back(s.substr(from, at - from));
        from = at + sep.size();
    }
    parts.push_back(s.substr(from));
    return parts;
}

struct c_line {
    std::string left;                                      // assigned name or element
    std::vector<std::vector<std::pair<bool, std::string>>> sum; // products of (negated, operand)
};

std::vector<c_line> parse(const std::string& text)
{
    std::vector<c_line> lines;
    std::istringstream in(text);
    std::string raw;
    while (std::getline(in, raw)) {
        std::string l = trim(raw);
        size_t eq = l.find("= ");
        if (eq == std::string::npos || l.empty() || l.back() != ';') {
            ADD_FAILURE() << "not an assignment: " << raw;
            continue;
        }
        c_line line;
        line.left = l.substr(0, eq);
        for (const std::string& product : split(l.substr(eq + 2, l.size() - eq - 3), " || ")) {
            line.sum.emplace_back();
            for (const std::string& lit : split(product, " && ")) {
                bool neg = !lit.empty() && lit[0] == '!';
                line.sum.back().push_back({neg, neg ? lit.substr(1) : lit});
            }
        }
        lines.push_back(line);
    }
    return lines;
}

TEST(OrderWritersTest, SharedNodeCodeAssignsBeforeReadingAndComputesTheForest)
{
    for (unsigned seed = 1; seed <= 40; ++seed) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        random_forest f(seed);
        std::ostringstream out;
        f.w.Put_c(out, "A", f.outputs, "P_", "");
        std::vector<c_line> lines = parse(out.str());

        std::set<std::string> assigned;
        for (const std::string& i : f.inputs) assigned.insert("P_" + i);
        for (const c_line& line : lines) {
            for (const auto& product : line.sum)
                for (const auto& lit : product) {
                    if (lit.second != "0") {
                        EXPECT_TRUE(assigned.count(lit.second)) << lit.second << " read before assigned";
                    }
                }
            EXPECT_TRUE(assigned.insert(line.left).second) << line.left << " assigned twice";
        }
        for (const std::string& e : f.equations) EXPECT_TRUE(assigned.count("P_" + e)) << e << " never assigned";

        std::mt19937 rng(seed);
        for (int round = 0; round < 8; ++round) {
            std::map<std::string, bool> in, values;
            for (const std::string& i : f.inputs) {
                in[i] = rng() % 2;
                values["P_" + i] = in[i];
            }
            for (const c_line& line : lines) {
                bool sum = false;
                for (const auto& product : line.sum) {
                    bool all = true;
                    for (const auto& lit : product) all = all && ((lit.second == "0" ? false : values[lit.second]) != lit.first);
                    sum = sum || all;
                }
                values[line.left] = sum;
            }
            for (const std::string& e : f.equations)
                EXPECT_EQ(values["P_" + e], f.value(f.m->Index_var_by_name(e), in)) << e;
        }
    }
}

} // namespace
