// Simplification of a forest: constant folding, reductions, local and wire suppression, the tautology
// test, the implicant of the first open equation; truth tables against an evaluation done here.
#include <functional>
#include <map>
#include <random>
#include <sstream>

#include "tests/support/forest_fixture.h"

namespace {

// Value of f with the variable at position p set to values[p] (ids and positions coincide here).
bool value_of(const bdd& f, const std::vector<int>& values)
{
    int link = f.link;
    bdd_node* n = f.node_ptr;
    while (n->then_node != nullptr) {
        if (values[n->var]) {
            n = n->then_node;
        } else {
            link *= n->else_link;
            n = n->else_node;
        }
    }
    return link == 1;
}

// The local function of each equation, as the test computes it from the original right members.
using local_function = std::function<bool(long, std::vector<int>&)>;

// Value of the signal at p in a network where each position with an equation has the local
// function local(p, values) and the others take the assignment; evaluated with memo.
bool network_value(long p, const std::vector<char>& defined, const local_function& local,
                   std::vector<int>& values, std::vector<int>& memo, const std::vector<std::set<long>>& reads)
{
    if (!defined[p]) return values[p];
    if (memo[p] >= 0) return memo[p];
    std::vector<int> v = values;
    for (long d : reads[p]) v[d] = network_value(d, defined, local, values, memo, reads);
    memo[p] = local(p, v);
    return memo[p];
}

// A snapshot of a forest: which positions hold equations, their right members, what they read.
struct snapshot {
    std::vector<char> defined;
    std::vector<bdd> member;
    std::vector<std::set<long>> reads;
    std::vector<char> read;  // some equation reads the position
    explicit snapshot(Bddexpressionwood& w)
        : defined(w.nb_bdd_vars, 0), member(w.nb_bdd_vars), reads(w.nb_bdd_vars), read(w.nb_bdd_vars, 0)
    {
        for (long p = 0; p < w.nb_bdd_vars; p++) {
            if (w.exp_table[p] == nullptr) continue;
            defined[p] = 1;
            member[p] = w.exp_table[p]->bdd_exp;
            reads[p] = w.manager->set_of_index_depend_on(member[p]);
        }
        for (long p = 0; p < w.nb_bdd_vars; p++)
            for (long d : reads[p]) read[d] = 1;
    }
};

// Every equation of the first forest that nobody reads must still be there with the same network
// value as expected (local functions of the original right members), for every assignment of the
// variables without equation.
void expect_same_network(const snapshot& before, const local_function& expected, Bddexpressionwood& w)
{
    snapshot after(w);
    const long n = static_cast<long>(before.defined.size());
    std::vector<long> free;
    for (long p = 0; p < n; p++)
        if (!before.defined[p]) free.push_back(p);
    ASSERT_LE(free.size(), 12u);
    local_function now = [&](long p, std::vector<int>& v) { return value_of(after.member[p], v); };
    for (unsigned code = 0; code < (1u << free.size()); code++) {
        std::vector<int> values(n, 0);
        for (size_t k = 0; k < free.size(); k++) values[free[k]] = (code >> k) & 1;
        std::vector<int> memo_before(n, -1), memo_after(n, -1);
        for (long p = 0; p < n; p++) {
            if (!after.defined[p]) {
                EXPECT_TRUE(!before.defined[p] || before.read[p]) << "unread equation " << p << " deleted";
                continue;
            }
            ASSERT_TRUE(before.defined[p]);
            EXPECT_EQ(network_value(p, before.defined, expected, values, memo_before, before.reads),
                      network_value(p, after.defined, now, values, memo_after, after.reads))
                << "position " << p << " assignment " << code;
        }
    }
}

// Random forest: inputs i0.., then equations e0.. each a random function of up to three earlier
// variables, with constants and wires among them.
void random_forest(small_forest& f, int inputs, int count, std::mt19937& rng)
{
    for (int k = 0; k < inputs; k++) f.w.New_var_last("i" + std::to_string(k));
    for (int k = 0; k < count; k++) f.w.New_var_last("e" + std::to_string(k));
    for (int k = 0; k < count; k++) {
        long before = inputs + k;
        int kind = rng() % 8;
        bdd g;
        if (kind == 0) {
            g = rng() % 2 ? f.m->Bdd_one() : f.m->Bdd_zero();
        } else if (kind == 1) {
            bdd x = f.m->Bdd_var_by_index(rng() % before);
            g = rng() % 2 ? x : f.NOT(x);
        } else {
            std::vector<bdd> xs;
            for (int j = 0; j < 3; j++) xs.push_back(f.m->Bdd_var_by_index(rng() % before));
            unsigned table = rng() % 256;
            g = f.m->Bdd_zero();
            for (unsigned row = 0; row < 8; row++) {
                if (!((table >> row) & 1)) continue;
                bdd term = f.m->Bdd_one();
                for (int j = 0; j < 3; j++) term = f.AND(term, (row >> j) & 1 ? xs[j] : f.NOT(xs[j]));
                g = f.OR(g, term);
            }
        }
        new Bddexpression(&f.w, f.m->Bdd_var_by_index(inputs + k), g, 0, 0);
    }
}

// Reader sets equal to the dependencies, and dependencies equal to the support.
void expect_coherent(Bddexpressionwood& w)
{
    std::ostringstream os;
    w.coherence_dependances_check(os);
    EXPECT_EQ(os.str(), "");
    for (long p : w.expression_ids)
        EXPECT_EQ(w.exp_table[p]->dependances, w.manager->set_of_index_depend_on(w.exp_table[p]->bdd_exp));
}

// No equation is left that is constant and read.
void expect_folded(Bddexpressionwood& w)
{
    for (long p : w.expression_ids)
        EXPECT_FALSE(w.manager->Bdd_is_tautology(w.exp_table[p]->bdd_exp) && !w.readers[p].empty()) << p;
}

} // namespace

TEST(ConstantsPropagation, FoldsAConstantIntoItsReaders)
{
    small_forest f({"a", "x", "y", "z"});
    f.define("x", f.m->Bdd_one());
    f.define("y", f.AND(f.v("x"), f.v("a")));
    f.define("z", f.v("y"));
    f.w.constants_propagation();
    EXPECT_EQ(f.eq("x"), nullptr);
    EXPECT_EQ(f.eq("y")->bdd_exp, f.v("a"));
    EXPECT_EQ(f.eq("z")->bdd_exp, f.v("y"));
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{2, 3}));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{2}));
}

// Read literally, only a missing reader marks a pass as changed and the chain stops after x.
TEST(ConstantsPropagation, AChainOfConstantsIsFoldedToTheEnd)
{
    small_forest f({"x", "y", "z"});
    f.define("x", f.m->Bdd_one());
    f.define("y", f.v("x"));
    f.define("z", f.v("y"));
    f.w.constants_propagation();
    EXPECT_EQ(f.eq("x"), nullptr);
    EXPECT_EQ(f.eq("y"), nullptr);
    EXPECT_EQ(f.eq("z")->bdd_exp, f.m->Bdd_one());
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{2}));
}

// The same chain declared the other way round: each fold makes a reader at a lower position constant.
TEST(ConstantsPropagation, AChainAgainstThePositionsIsFoldedToo)
{
    small_forest f({"z", "y", "x"});
    f.define("x", f.m->Bdd_zero());
    f.define("y", f.NOT(f.v("x")));
    f.define("z", f.NOT(f.v("y")));
    f.w.constants_propagation();
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{0}));
    EXPECT_EQ(f.eq("z")->bdd_exp, f.m->Bdd_zero());
}

TEST(ConstantsPropagation, AKeptConstantStaysWithoutReaders)
{
    small_forest f({"x", "y", "z"});
    f.define("x", f.m->Bdd_one())->setUserType(1);
    f.define("y", f.v("x"));
    f.define("z", f.v("y"));
    f.w.constants_propagation({1});
    ASSERT_NE(f.eq("x"), nullptr);
    EXPECT_TRUE(f.w.readers[0].empty());
    EXPECT_EQ(f.eq("y"), nullptr);
    EXPECT_EQ(f.eq("z")->bdd_exp, f.m->Bdd_one());
}

TEST(ConstantsPropagation, AnAbstractReaderIsLeftAlone)
{
    small_forest f({"x", "q"});
    f.define("x", f.m->Bdd_zero());
    std::set<long> reads{0};
    Bddexpression* q = new Bddexpression(1, &f.w, reads, "F", 0, 0);
    f.w.constants_propagation();
    EXPECT_EQ(f.eq("x"), nullptr);
    EXPECT_EQ(f.eq("q"), q);
    EXPECT_EQ(q->dependances, (std::set<long>{0}));
    EXPECT_EQ(q->bdd_exp, bdd());
}

TEST(ConstantsPropagation, UnreadConstantsAndEmptyForests)
{
    small_forest f({"x"});
    f.w.constants_propagation();
    EXPECT_TRUE(f.w.expression_ids.empty());
    f.define("x", f.m->Bdd_one());
    f.w.constants_propagation();
    EXPECT_NE(f.eq("x"), nullptr);
}

TEST(GlobalTautology, Cases)
{
    small_forest empty({"a"});
    EXPECT_EQ(empty.w.global_tautology(), 1);
    small_forest all({"x", "y", "z"});
    all.define("x", all.m->Bdd_one());
    all.define("y", all.NOT(all.v("x")));
    all.define("z", all.OR(all.v("x"), all.v("y")));
    EXPECT_EQ(all.w.global_tautology(), 1);
    small_forest open({"a", "x", "y"});
    open.define("x", open.m->Bdd_one());
    open.define("y", open.AND(open.v("x"), open.v("a")));
    EXPECT_EQ(open.w.global_tautology(), 0);
}

TEST(ReduceExpressions, CareCubeOnAnExample)
{
    small_forest f({"a", "b", "x", "y"});
    f.define("x", f.AND(f.v("a"), f.v("b")));
    f.define("y", f.OR(f.v("x"), f.NOT(f.v("b"))));
    f.w.reduce_expressions(f.v("a"));
    EXPECT_EQ(f.eq("x")->bdd_exp, f.v("b"));
    EXPECT_TRUE(f.w.readers[0].empty());
    // b = 0 makes x constant 0 and y constant 1 without x: x is no longer read and stays
    f.w.reduce_expressions(f.NOT(f.v("b")));
    EXPECT_EQ(f.eq("x")->bdd_exp, f.m->Bdd_zero());
    EXPECT_EQ(f.eq("y")->bdd_exp, f.m->Bdd_one());
    EXPECT_TRUE(f.w.readers[2].empty());
    expect_coherent(f.w);
    // a constant that is still read is folded and deleted
    small_forest g({"a", "b", "x", "y"});
    g.define("x", g.AND(g.v("a"), g.v("b")));
    g.define("y", g.OR(g.v("x"), g.v("a")));
    g.w.reduce_expressions(g.NOT(g.v("b")));
    EXPECT_EQ(g.eq("x"), nullptr);
    EXPECT_EQ(g.eq("y")->bdd_exp, g.v("a"));
    expect_coherent(f.w);
}

TEST(ReduceExpressions, KeepListSparesTheKeptConstants)
{
    small_forest f({"a", "x", "y"});
    f.define("x", f.v("a"))->setUserType(1);
    f.define("y", f.NOT(f.v("x")));
    f.w.reduce_expressions(f.v("a"), {1});
    ASSERT_NE(f.eq("x"), nullptr);
    EXPECT_EQ(f.eq("x")->bdd_exp, f.m->Bdd_one());
    EXPECT_EQ(f.eq("y")->bdd_exp, f.m->Bdd_zero());
}

TEST(ReduceExpressions, QuantifiersOnAnExample)
{
    small_forest f({"a", "b", "x", "y"});
    f.define("x", f.AND(f.v("a"), f.v("b")));
    f.define("y", f.OR(f.v("a"), f.v("b")));
    f.w.reduce_expressions_when_var_forgotten_by_exist_op(0);
    EXPECT_EQ(f.eq("x")->bdd_exp, f.v("b"));
    EXPECT_EQ(f.eq("y")->bdd_exp, f.m->Bdd_one());
    EXPECT_TRUE(f.w.readers[0].empty());
    small_forest g({"a", "b", "x"});
    g.define("x", g.OR(g.v("a"), g.v("b")));
    g.w.reduce_expressions_when_var_forgotten_by_forall_op(0);
    EXPECT_EQ(g.eq("x")->bdd_exp, g.v("b"));
    // a position out of the order changes no right member
    g.w.reduce_expressions_when_var_forgotten_by_forall_op(9);
    EXPECT_EQ(g.eq("x")->bdd_exp, g.v("b"));
}

// The three reductions on random forests against cofactoring and quantification done here on the
// original right members, through the value of every equation in the network.
TEST(ReduceExpressions, TruthTablesOnRandomForests)
{
    std::mt19937 rng(14);
    for (int round = 0; round < 60; round++) {
        for (int how = 0; how < 3; how++) {
            small_forest f;
            random_forest(f, 4, 8, rng);
            snapshot before(f.w);
            long k = rng() % 4;
            int polarity = rng() % 2;
            long k2 = (k + 1) % 4;
            local_function expected;
            if (how == 0) {
                // care cube: ik = polarity AND NOT ik2
                bdd xk = f.m->Bdd_var_by_index(k), xk2 = f.m->Bdd_var_by_index(k2);
                f.w.reduce_expressions(f.AND(polarity ? xk : f.NOT(xk), f.NOT(xk2)));
                expected = [&](long p, std::vector<int>& v) {
                    std::vector<int> c = v;
                    c[k] = polarity;
                    c[k2] = 0;
                    return value_of(before.member[p], c);
                };
            } else {
                if (how == 1)
                    f.w.reduce_expressions_when_var_forgotten_by_exist_op(k);
                else
                    f.w.reduce_expressions_when_var_forgotten_by_forall_op(k);
                expected = [&, how](long p, std::vector<int>& v) {
                    std::vector<int> c0 = v, c1 = v;
                    c0[k] = 0;
                    c1[k] = 1;
                    bool f0 = value_of(before.member[p], c0), f1 = value_of(before.member[p], c1);
                    return how == 1 ? (f0 || f1) : (f0 && f1);
                };
            }
            expect_same_network(before, expected, f.w);
            expect_coherent(f.w);
            expect_folded(f.w);
            for (long p : f.w.expression_ids)
                if (how != 0) {
                    EXPECT_EQ(f.w.exp_table[p]->dependances.count(k), 0u);
                }
        }
    }
}

TEST(SuppressLocals, SubstitutesAndDeletes)
{
    small_forest f({"a", "b", "x", "y", "z"});
    f.define("x", f.AND(f.v("a"), f.v("b")));
    f.define("y", f.NOT(f.v("x")));
    f.define("z", f.OR(f.v("y"), f.v("a")))->setUserType(1);
    f.w.suppress_locals({1});
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{4}));
    EXPECT_EQ(f.eq("z")->bdd_exp, f.OR(f.NOT(f.AND(f.v("a"), f.v("b"))), f.v("a")));
    expect_coherent(f.w);
}

// x := NOT x cannot be substituted into itself; it is left, and so is its reader's equation.
TEST(SuppressLocals, AnEquationReadingItselfIsLeft)
{
    small_forest f({"a", "x", "y"});
    f.define("x", f.NOT(f.v("x")));
    f.define("y", f.AND(f.v("x"), f.v("a")));
    f.w.suppress_locals();
    ASSERT_NE(f.eq("x"), nullptr);
    EXPECT_EQ(f.eq("x")->bdd_exp, f.NOT(f.v("x")));
    EXPECT_EQ(f.eq("y")->bdd_exp, f.AND(f.v("x"), f.v("a")));
    EXPECT_EQ(f.w.readers[1], (std::set<long>{1, 2}));
}

// A loop x := y, y := x AND a: after x is substituted, y reads itself and is left.
TEST(SuppressLocals, ALoopStopsAtItsFirstSubstitution)
{
    small_forest f({"a", "x", "y", "z"});
    f.define("x", f.v("y"));
    f.define("y", f.AND(f.v("x"), f.v("a")));
    f.define("z", f.v("y"));
    f.w.suppress_locals();
    EXPECT_EQ(f.eq("x"), nullptr);
    ASSERT_NE(f.eq("y"), nullptr);
    EXPECT_EQ(f.eq("y")->bdd_exp, f.AND(f.v("y"), f.v("a")));
    EXPECT_EQ(f.eq("z")->bdd_exp, f.v("y"));
    expect_coherent(f.w);
}

TEST(SuppressLocals, TruthTablesOnRandomForests)
{
    std::mt19937 rng(7);
    for (int round = 0; round < 80; round++) {
        small_forest f;
        random_forest(f, 4, 9, rng);
        snapshot before(f.w);
        f.w.suppress_locals();
        local_function same = [&](long p, std::vector<int>& v) { return value_of(before.member[p], v); };
        expect_same_network(before, same, f.w);
        for (long p : f.w.expression_ids) EXPECT_TRUE(f.w.readers[p].empty()) << p;
        expect_coherent(f.w);
    }
}

TEST(SuppressLocal, OneEquation)
{
    small_forest f({"a", "b", "x", "y", "z"});
    f.define("x", f.AND(f.v("a"), f.v("b")));
    f.define("y", f.NOT(f.v("x")));
    f.define("z", f.OR(f.v("x"), f.v("y")));
    f.w.suppress_local(2);
    EXPECT_EQ(f.eq("x"), nullptr);
    EXPECT_EQ(f.eq("y")->bdd_exp, f.NOT(f.AND(f.v("a"), f.v("b"))));
    EXPECT_EQ(f.eq("z")->bdd_exp, f.OR(f.AND(f.v("a"), f.v("b")), f.v("y")));
    EXPECT_EQ(f.w.readers[3], (std::set<long>{4}));
    expect_coherent(f.w);
    // nothing read, or nothing read by it: nothing happens
    f.w.suppress_local(4);
    EXPECT_NE(f.eq("z"), nullptr);
}

TEST(SuppressLocal, SelfDependenceIsReportedAndChangesNothing)
{
    small_forest f({"a", "x", "y"});
    Bddexpression* x = f.define("x", f.AND(f.v("x"), f.v("a")));
    f.define("y", f.v("x"));
    std::ostringstream expected;
    expected << "ERROR: detected self-dependance about variable : 1 !!!\nin associated expression: " << *x
             << "\n\nin associated wood:\n" << f.w << "\n";
    testing::internal::CaptureStderr();
    f.w.suppress_local(1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), expected.str());
    EXPECT_EQ(f.eq("x"), x);
    EXPECT_EQ(f.eq("y")->bdd_exp, f.v("x"));
}

TEST(SuppressWires, ABufferChainEndsOnItsSource)
{
    small_forest f({"x", "a", "b", "c"});
    f.define("a", f.v("x"));
    f.define("b", f.v("a"));
    f.define("c", f.NOT(f.v("b")));
    f.w.suppress_wires();
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{3}));
    EXPECT_EQ(f.eq("c")->bdd_exp, f.NOT(f.v("x")));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{3}));
    EXPECT_EQ(f.early("c"), 2);  // up_critical_path(c, 1, 1): 1 + weight 1
    EXPECT_EQ(f.late("c"), 0);
    expect_coherent(f.w);
}

TEST(SuppressWires, KeptAndAbstractReadersStay)
{
    small_forest f({"x", "a", "b", "c", "q"});
    f.define("a", f.v("x"))->setUserType(1);
    f.define("b", f.v("x"));
    f.define("c", f.NOT(f.v("a")));
    std::set<long> reads{2};
    new Bddexpression(4, &f.w, reads, "F", 0, 0);
    EXPECT_EQ(f.w.readers[2], (std::set<long>{4}));
    f.w.suppress_wires({1});
    EXPECT_NE(f.eq("a"), nullptr);
    EXPECT_NE(f.eq("b"), nullptr);
    EXPECT_EQ(f.eq("c")->bdd_exp, f.NOT(f.v("a")));
    // without the keep list the wire a goes
    f.w.suppress_wires();
    EXPECT_EQ(f.eq("a"), nullptr);
    EXPECT_EQ(f.eq("c")->bdd_exp, f.NOT(f.v("x")));
    EXPECT_NE(f.eq("b"), nullptr);
}

// x := NOT x, and a loop of wires closed by its first substitution, are left; nothing ends.
TEST(SuppressWires, SelfReadingWiresAreLeftAndNothingEnds)
{
    small_forest f({"a", "b", "c", "x"});
    f.define("a", f.v("b"));
    f.define("b", f.NOT(f.v("a")));
    f.define("c", f.v("b"));
    f.define("x", f.NOT(f.v("x")));
    testing::internal::CaptureStderr();
    f.w.suppress_wires();
    std::string errors = testing::internal::GetCapturedStderr();
    EXPECT_EQ(f.eq("a"), nullptr);
    ASSERT_NE(f.eq("b"), nullptr);
    EXPECT_EQ(f.eq("b")->bdd_exp, f.NOT(f.v("b")));
    EXPECT_EQ(f.eq("x")->bdd_exp, f.NOT(f.v("x")));
    // c reads b, which reads itself: c's late date is known (0), its early date is not and stays
    EXPECT_EQ(f.late("c"), 0);
    EXPECT_EQ(f.early("c"), 0);
    EXPECT_EQ(errors, "");
}

TEST(SuppressWires, DatesAreTheCriticalPaths)
{
    // i -> x (and) -> w (wire) -> y (and) -> z (wire) -> u
    small_forest f({"i", "j", "x", "w", "y", "z", "u"});
    f.define("x", f.AND(f.v("i"), f.v("j")));
    f.define("w", f.v("x"));
    f.define("y", f.AND(f.v("w"), f.v("j")));
    f.define("z", f.NOT(f.v("y")));
    f.define("u", f.OR(f.v("z"), f.v("i")));
    f.eq("x")->setW(3);
    f.w.suppress_wires();
    EXPECT_EQ(f.w.expression_ids, (std::set<long>{2, 4, 6}));
    // early: 1 + heaviest chain of weights through dependencies, the equation's own included
    EXPECT_EQ(f.early("x"), 4);
    EXPECT_EQ(f.early("y"), 5);
    EXPECT_EQ(f.early("u"), 6);
    EXPECT_EQ(f.early("u"), f.w.up_critical_path(6, 1, 1));
    // late: heaviest chain of readers below
    EXPECT_EQ(f.late("x"), 2);
    EXPECT_EQ(f.late("y"), 1);
    EXPECT_EQ(f.late("u"), 0);
    EXPECT_EQ(f.late("x"), f.w.down_critical_path(2, 1, 0));
}

TEST(SuppressWires, TruthTablesOnRandomForests)
{
    std::mt19937 rng(3);
    for (int round = 0; round < 80; round++) {
        small_forest f;
        random_forest(f, 4, 10, rng);
        snapshot before(f.w);
        f.w.suppress_wires();
        local_function same = [&](long p, std::vector<int>& v) { return value_of(before.member[p], v); };
        expect_same_network(before, same, f.w);
        expect_coherent(f.w);
        for (long p : f.w.expression_ids) {
            EXPECT_EQ(f.w.exp_table[p]->early_date, f.w.up_critical_path(p, 1, 1));
            EXPECT_EQ(f.w.late_dates[p], f.w.down_critical_path(p, 1, 0));
        }
    }
}

TEST(ReducePropositionByAssertion, Cases)
{
    small_forest constants({"x", "y"});
    EXPECT_EQ(constants.w.reduce_proposition_by_assertion(), constants.m->Bdd_one());
    constants.define("x", constants.m->Bdd_zero());
    constants.define("y", constants.m->Bdd_one());
    EXPECT_EQ(constants.w.reduce_proposition_by_assertion(), constants.m->Bdd_one());
    dated_and_not f;
    // latest_sort: x (late 1) then y; x := a AND b gives the implicant a AND b
    EXPECT_EQ(f.w.reduce_proposition_by_assertion(), f.AND(f.v("a"), f.v("b")));
}

// The keep list of suppress_locals and suppress_wires is that of their constant propagation too: a
// kept constant that is read stays (with no readers) instead of leaving its variable undefined.
TEST(SuppressLocals, AKeptConstantThatIsReadStays)
{
    for (int wires = 0; wires < 2; wires++) {
        small_forest f({"a", "c", "g", "y"});
        f.define("c", f.m->Bdd_one())->setUserType(1);
        f.define("g", f.AND(f.v("c"), f.v("a")));
        f.define("y", f.OR(f.v("g"), f.v("c")))->setUserType(1);
        if (wires)
            f.w.suppress_wires({1});
        else
            f.w.suppress_locals({1});
        ASSERT_NE(f.eq("c"), nullptr) << wires;
        EXPECT_EQ(f.eq("c")->bdd_exp, f.m->Bdd_one());
        EXPECT_TRUE(f.w.readers[1].empty());
        EXPECT_EQ(f.eq("y")->bdd_exp, f.m->Bdd_one());
        // without a keep list the constant goes, as before
        small_forest g({"a", "c", "y"});
        g.define("c", g.m->Bdd_one())->setUserType(1);
        g.define("y", g.AND(g.v("c"), g.v("a")))->setUserType(1);
        if (wires)
            g.w.suppress_wires();
        else
            g.w.suppress_locals();
        EXPECT_EQ(g.eq("c"), nullptr);
    }
}

// The form over several variables gives what the one-variable form gives variable by variable.
TEST(ReduceExpressions, SeveralVariablesAsOneByOne)
{
    std::mt19937 rng(21);
    for (int round = 0; round < 200; round++) {
        for (int forall = 0; forall < 2; forall++) {
            unsigned seed = rng();
            small_forest f, g;
            std::mt19937 r1(seed), r2(seed);
            random_forest(f, 5, 14, r1);
            random_forest(g, 5, 14, r2);
            for (long p = 5; p < 19; p += 3) {
                f.w.exp_table[p]->setUserType(1);
                g.w.exp_table[p]->setUserType(1);
            }
            std::vector<long> inputs{3, 0, 4, 1, 2};
            for (long k : inputs) {
                if (forall)
                    f.w.reduce_expressions_when_var_forgotten_by_forall_op(k, {1});
                else
                    f.w.reduce_expressions_when_var_forgotten_by_exist_op(k, {1});
            }
            g.w.reduce_expressions_when_vars_forgotten(inputs, forall, {1});
            ASSERT_EQ(f.w.expression_ids, g.w.expression_ids) << round;
            // the two forests have their own managers: the right members are compared by value
            std::mt19937 values(round);
            for (int sample = 0; sample < 64; sample++) {
                std::vector<int> v(f.w.nb_bdd_vars);
                for (int& x : v) x = values() & 1;
                for (long p : f.w.expression_ids)
                    EXPECT_EQ(value_of(f.w.exp_table[p]->bdd_exp, v), value_of(g.w.exp_table[p]->bdd_exp, v)) << p;
            }
            for (long p : f.w.expression_ids) EXPECT_EQ(f.w.exp_table[p]->dependances, g.w.exp_table[p]->dependances);
            for (long p = 0; p < f.w.nb_bdd_vars; p++) EXPECT_EQ(f.w.readers[p], g.w.readers[p]) << p;
        }
    }
}

// Every input forgotten at once (as the automaton forgets its inputs) against the quantification of
// all of them done here on the original right members; kept equations all stay.
TEST(ReduceExpressions, AllInputsForgottenAgainstQuantificationHere)
{
    std::mt19937 rng(5);
    for (int round = 0; round < 60; round++) {
        for (int forall = 0; forall < 2; forall++) {
            small_forest f;
            random_forest(f, 4, 10, rng);
            for (long p = 4; p < 14; p += 2) f.w.exp_table[p]->setUserType(1);
            snapshot before(f.w);
            f.w.reduce_expressions_when_vars_forgotten({0, 1, 2, 3}, forall, {1});
            local_function expected = [&](long p, std::vector<int>& v) {
                bool all = true, any = false;
                for (unsigned code = 0; code < 16; code++) {
                    std::vector<int> c = v;
                    for (int k = 0; k < 4; k++) c[k] = (code >> k) & 1;
                    bool x = value_of(before.member[p], c);
                    all = all && x;
                    any = any || x;
                }
                return forall ? all : any;
            };
            expect_same_network(before, expected, f.w);
            expect_coherent(f.w);
            expect_folded(f.w);
            for (long p = 4; p < 14; p += 2) EXPECT_NE(f.w.exp_table[p], nullptr) << p;
            for (long p : f.w.expression_ids)
                for (long k = 0; k < 4; k++) EXPECT_EQ(f.w.exp_table[p]->dependances.count(k), 0u);
        }
    }
}
