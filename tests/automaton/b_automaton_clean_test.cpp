// Cleaning of what no output needs, undefined variables, cycle breaking on the inputs and
// forgetting of the inputs, on automata built here.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "automaton/b_automaton.h"

namespace {

typedef std::list<std::string> names;

// The automaton of the declarations, with every initial value 0.
b_automaton* automaton_of(b_autom_dec* d)
{
    std::vector<int> init(d->state_count + 1, 0);
    bddpp_manager* m = d->manager_associe();
    return new b_automaton(d, init.data(), m->Bdd_one(), m->Bdd_zero());
}

struct builder {
    b_autom_dec* d;
    bddpp_manager* m;
    builder(const names& states, const names& nexts, const names& inputs, const names& outputs, const names& locals)
        : d(new b_autom_dec(states, nexts, inputs, outputs, locals)), m(d->manager_associe())
    {
    }
    bdd v(const std::string& n) { return m->Bdd_var_by_name(n); }
    void define(const std::string& n, const bdd& f) { new Bddexpression(n, d->wood, v(n), f, 0, 0); }
};

// Registers q1 q2 q3 (next d1 d2 d3), inputs a b, output y, locals t u:
// y := q1 AND a; d1 := q2 OR t; t := b; d2 := NOT q2; d3 := u AND q3; u := a.
b_automaton* three_registers()
{
    builder b({"q1", "q2", "q3"}, {"d1", "d2", "d3"}, {"a", "b"}, {"y"}, {"t", "u"});
    b.define("y", b.m->Bdd_and(b.v("q1"), b.v("a")));
    b.define("d1", b.m->Bdd_or(b.v("q2"), b.v("t")));
    b.define("t", b.v("b"));
    b.define("d2", b.m->Bdd_not(b.v("q2")));
    b.define("d3", b.m->Bdd_and(b.v("u"), b.v("q3")));
    b.define("u", b.v("a"));
    return automaton_of(b.d);
}

struct captured {
    std::string out, err;
};

template <class Run> captured capture(Run run)
{
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    run();
    captured c;
    c.err = testing::internal::GetCapturedStderr();
    c.out = testing::internal::GetCapturedStdout();
    return c;
}

} // namespace

TEST(UselessClean, ReportAndMarks)
{
    b_automaton* a = three_registers();
    int* marks = nullptr;
    captured c = capture([&] { marks = a->useless_clean(); });
    EXPECT_EQ(c.out, "useless_clean report:\n"
                     " variable: q3\n"
                     " variable: d3\n"
                     " variable: u\n"
                     "\n"
                     "2 useless variables identified ... cancelling\n"
                     "1 useless latches identified ... cancelling\n");
    EXPECT_EQ(c.err, "b_automaton::useless_clean() A CONTROLER ...\n0\n"
                     "en particulier ici ...\nen particulier ici ...\nen particulier ici ...\n");
    ASSERT_NE(marks, nullptr);
    std::vector<int> got(marks, marks + 11);
    EXPECT_EQ(got, (std::vector<int>{1, 1, 0, 1, 1, 0, 1, 1, 1, 1, 0}));
    delete[] marks;
    Bddexpressionwood* w = a->wood;
    // a needed register keeps its next-state equation, and so on through what that one reads
    EXPECT_NE(w->exp_table[3], nullptr);
    EXPECT_NE(w->exp_table[4], nullptr);
    EXPECT_NE(w->exp_table[9], nullptr);
    EXPECT_EQ(w->exp_table[5], nullptr);
    // u was still listed as read by d3 when its turn came: reported, and left in the forest
    EXPECT_NE(w->exp_table[10], nullptr);
    // names and counts of the automaton are unchanged
    EXPECT_EQ(a->state_count, 3);
    EXPECT_EQ(a->local_count, 2);
    delete a;
}

TEST(UselessClean, EverythingNeededAndNoSlot)
{
    builder b({"q"}, {"n"}, {"a"}, {"y"}, {});
    b.define("y", b.m->Bdd_and(b.v("q"), b.v("a")));
    b.define("n", b.v("y"));
    b_automaton* a = automaton_of(b.d);
    int* marks = nullptr;
    captured c = capture([&] { marks = a->useless_clean(); });
    EXPECT_EQ(c.out, "useless_clean report:\n\n0 useless variables identified ... cancelling\n"
                     "0 useless latches identified ... cancelling\n");
    EXPECT_EQ(c.err, "b_automaton::useless_clean() A CONTROLER ...\n0\n");
    delete[] marks;
    delete a;
    b_automaton* empty = automaton_of(new b_autom_dec(names{}, names{}, names{}, names{}, names{}));
    c = capture([&] { marks = empty->useless_clean(); });
    EXPECT_EQ(marks, nullptr);
    EXPECT_EQ(c.out, "");
    EXPECT_EQ(c.err, "b_automaton::useless_clean() A CONTROLER ...\n");
    delete empty;
}

TEST(UselessClean, AnUnusedInputIsCountedAndAnUndeclaredOutputSkipped)
{
    builder b({}, {}, {"a", "b"}, {"y"}, {});
    b.define("y", b.v("a"));
    b_automaton* a = automaton_of(b.d);
    captured c = capture([&] { delete[] a->useless_clean(); });
    EXPECT_EQ(c.out, "useless_clean report:\n variable: b\n\n"
                     "1 useless variables identified ... cancelling\n0 useless latches identified ... cancelling\n");
    a->output_names[0] = "nowhere"; // an output name that is no variable: nothing is needed
    c = capture([&] { delete[] a->useless_clean(); });
    EXPECT_EQ(c.out, "useless_clean report:\n variable: a\n variable: b\n variable: y\n\n"
                     "3 useless variables identified ... cancelling\n0 useless latches identified ... cancelling\n");
    EXPECT_EQ(a->wood->exp_number(), 0);
    delete a;
}

TEST(InternalUseDetection, ALongChainNeedsNoCallStack)
{
    const long count = 200000;
    Bddexpressionwood w;
    w.New_var_last("i");
    for (long k = 0; k < count; k++) w.New_var_last("e" + std::to_string(k));
    bddpp_manager* m = w.manager;
    for (long k = 0; k < count; k++)
        new Bddexpression(&w, m->Bdd_var_by_index(k + 1), m->Bdd_not(m->Bdd_var_by_index(k)), 0, 0);
    std::vector<int> marks(count + 1, 0);
    EXPECT_EQ(internal_use_detection(&w, marks.data(), static_cast<int>(count)), 1);
    for (long k = 0; k <= count; k++) ASSERT_EQ(marks[k], 1) << k;
    EXPECT_EQ(internal_use_detection(&w, marks.data(), static_cast<int>(count)), 0); // nothing new
    EXPECT_EQ(internal_use_detection(&w, marks.data(), 0), 0);                       // no equation
    EXPECT_EQ(internal_use_detection(&w, marks.data(), -1), 0);
    EXPECT_EQ(internal_use_detection(&w, marks.data(), static_cast<int>(count + 1)), 0);
}

TEST(IdentifyUndefVariables, NextStatesOutputsAndLocalsWithoutEquation)
{
    builder b({"q1", "q2"}, {"d1", "d2"}, {"a"}, {"y", "z"}, {"t"});
    b.define("d2", b.v("a"));
    b.define("y", b.v("q1"));
    b_automaton* a = automaton_of(b.d);
    EXPECT_EQ(a->identify_undef_variables(), (names{"d1", "z", "t"}));
    delete a;
    builder full({"q"}, {"n"}, {"a"}, {"y"}, {});
    full.define("n", full.v("a"));
    full.define("y", full.v("q"));
    a = automaton_of(full.d);
    EXPECT_EQ(a->identify_undef_variables(), names{});
    delete a;
}

TEST(MakeSortable, WithoutCycleNothingIsCreated)
{
    builder b({}, {}, {"a", "s"}, {"y"}, {"t"});
    b.define("t", b.m->Bdd_and(b.v("a"), b.v("s")));
    b.define("y", b.m->Bdd_not(b.v("t")));
    b_automaton* a = automaton_of(b.d);
    std::string* before = a->local_names;
    std::fstream f;
    captured c = capture([&] { EXPECT_EQ(a->make_sortable(1, 0, f), 1); });
    EXPECT_EQ(c.out, "call make_sortable process \n   terminated ...\n");
    EXPECT_NE(a->local_names, before);
    ASSERT_EQ(a->local_count, 1);
    EXPECT_EQ(a->local_names[0], "t");
    delete a;
}

// x := s ? a : y, y := s ? x : b: a false cycle through two multiplexers selected by the input s.
TEST(MakeSortable, BreaksAMultiplexerLoopOnItsSelect)
{
    builder b({}, {}, {"a", "b", "s"}, {"x", "y"}, {});
    b.define("x", b.m->Bdd_ite(b.v("s"), b.v("a"), b.v("y")));
    b.define("y", b.m->Bdd_ite(b.v("s"), b.v("x"), b.v("b")));
    b_automaton* a = automaton_of(b.d);
    const std::string path = std::string(NELVOR_BINARY_DIR) + "/make_sortable_dump.txt";
    std::fstream f(path, std::ios::out | std::ios::trunc);
    captured c = capture([&] { EXPECT_EQ(a->make_sortable(0, 1, f), 1); });
    f.close();
    EXPECT_EQ(c.out, "");
    EXPECT_EQ(a->local_count, 4);
    EXPECT_EQ(names(a->local_names, a->local_names + 4), (names{"x_s", "x_nots", "y_s", "y_nots"}));
    EXPECT_TRUE(a->sort().empty());
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    std::ostringstream forest;
    forest << *a->wood;
    EXPECT_EQ(text.str(), "sorted and expanded wood:\n" + forest.str() + "\n");
    std::remove(path.c_str());
    delete a;
}

TEST(MakeSortable, ATrueCycleIsLeft)
{
    builder b({}, {}, {"a"}, {"x"}, {"y"});
    b.define("x", b.m->Bdd_or(b.v("a"), b.v("y")));
    b.define("y", b.m->Bdd_not(b.v("x")));
    b_automaton* a = automaton_of(b.d);
    std::fstream f;
    EXPECT_EQ(a->make_sortable(0, 0, f), 0);
    EXPECT_FALSE(a->sort().empty());
    delete a;
}

// Every input quantified out; the constant output and next-state equations stay in the forest.
TEST(ForgetInputs, ExistAndForallKeepTheDeclaredEquations)
{
    for (int exist = 0; exist < 2; exist++) {
        builder b({"q"}, {"n"}, {"a", "b"}, {"y", "z"}, {"t"});
        b.define("t", b.m->Bdd_and(b.v("a"), b.v("q")));
        b.define("y", b.m->Bdd_or(b.v("t"), b.v("b")));
        b.define("z", b.m->Bdd_and(b.v("q"), b.m->Bdd_not(b.v("b"))));
        b.define("n", b.m->Bdd_xor(b.v("a"), b.v("b")));
        b_automaton* a = automaton_of(b.d);
        bddpp_manager* m = a->manager_associe();
        if (exist)
            a->forget_exist_inputs();
        else
            a->forget_forall_inputs();
        Bddexpression** table = a->wood->exp_table;
        bdd q = m->Bdd_var_by_name("q"), t = m->Bdd_var_by_name("t");
        ASSERT_NE(table[m->Index_var_by_name("y")], nullptr);
        ASSERT_NE(table[m->Index_var_by_name("z")], nullptr);
        ASSERT_NE(table[m->Index_var_by_name("n")], nullptr);
        // exist: t := q, y := t OR 1 = 1, z := q, n := 1; forall: t := 0 folded away, y := 0, z := 0, n := 0
        if (exist) {
            EXPECT_EQ(table[m->Index_var_by_name("t")]->bdd_exp, q);
            EXPECT_EQ(table[m->Index_var_by_name("y")]->bdd_exp, m->Bdd_one());
            EXPECT_EQ(table[m->Index_var_by_name("z")]->bdd_exp, q);
            EXPECT_EQ(table[m->Index_var_by_name("n")]->bdd_exp, m->Bdd_one());
        } else {
            EXPECT_EQ(table[m->Index_var_by_name("t")], nullptr);
            EXPECT_EQ(table[m->Index_var_by_name("y")]->bdd_exp, m->Bdd_zero());
            EXPECT_EQ(table[m->Index_var_by_name("z")]->bdd_exp, m->Bdd_zero());
            EXPECT_EQ(table[m->Index_var_by_name("n")]->bdd_exp, m->Bdd_zero());
        }
        (void)t;
        delete a;
    }
}

TEST(ForgetInputs, NoInputChangesNothing)
{
    builder b({"q"}, {"n"}, {}, {"y"}, {});
    b.define("y", b.v("q"));
    b.define("n", b.m->Bdd_not(b.v("q")));
    b_automaton* a = automaton_of(b.d);
    a->forget_exist_inputs();
    a->forget_forall_inputs();
    EXPECT_EQ(a->wood->exp_number(), 2);
    delete a;
}
