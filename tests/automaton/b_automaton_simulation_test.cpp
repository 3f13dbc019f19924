// Execution of the automaton: the three-valued step and its report, the symbolic successor, the
// successor classes and the two input sensitivity searches with their traces.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

// Circuit A's positions: q 0, d 1, a 2, b 3, y 4, t 5.
enum { Q, D, A, B, Y, T };

// The valuation of circuit A with q, a and b given, every other variable undetermined.
std::vector<int> valuation_a(int q, int a, int b)
{
    return {q, 2, a, b, 2, 2};
}

// Inputs a b c, output h = a.b + NOT a.c, whose first implicant a.b has a negation that is no cube.
test_circuit circuit_h()
{
    return {{}, {}, {"a", "b", "c"}, {"h"}, {}, {}, {{{"a", "b", "c", "h"}, {"11- 1", "0-1 1"}}}};
}

// The text of an equation as the stream writes it.
std::string stream_text(const Bddexpression& e)
{
    std::ostringstream os;
    os << e;
    return os.str();
}

TEST(EvaluationEtatSuivant, OneStepOfCircuitA)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    std::vector<int> src = valuation_a(0, 1, 0), dst(6, -1);
    EXPECT_EQ(a->evaluation_etat_suivant(src.data(), 1, dst.data()), 1);
    // t = a.q = 0, y = t + b = 0, d = y XOR a = 1, and q takes d
    EXPECT_EQ(dst, (std::vector<int>{1, 1, 1, 0, 0, 0}));
    EXPECT_EQ(src, valuation_a(0, 1, 0));
    delete a;
}

TEST(EvaluationEtatSuivant, TwoFailingEquationsGiveOneReport)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    std::vector<int> src = valuation_a(1, 2, 1), dst(6, -1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(a->evaluation_etat_suivant(src.data(), 1, dst.data()), 0);
    // t = a is open, y = t + b = 1, d = y XOR a is open; q is not advanced
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR IN EVALUATION: \n\n because the variable t  depends on q.b\n\n"
              " and I don't know how to evaluate it!\n"
              "ERROR IN EVALUATION: \n\n because the variable d  depends on q.b.y\n\n"
              " and I don't know how to evaluate it!\n\n");
    EXPECT_EQ(dst, (std::vector<int>{1, 2, 2, 1, 1, 2}));
    delete a;
}

TEST(EvaluationEtatSuivant, WithoutVerboseNothingIsWritten)
{
    b_automaton* a = build_automaton(circuit_a());
    b_automaton* e = build_automaton(circuit_empty());
    std::vector<int> src = valuation_a(1, 2, 1), dst(6, -1);
    testing::internal::CaptureStderr();
    EXPECT_EQ(a->evaluation_etat_suivant(src.data(), 0, dst.data()), 0);
    EXPECT_EQ(e->evaluation_etat_suivant(src.data(), 0, dst.data()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    delete a;
    delete e;
}

TEST(EvaluationEtatSuivant, ForestWithoutEquations)
{
    b_automaton* e = build_automaton(circuit_empty());
    testing::internal::CaptureStderr();
    EXPECT_EQ(e->evaluation_etat_suivant(nullptr, 1, nullptr), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR IN SORTING EQUATIONS ... \n");
    delete e;
}

// Without dates every equation has date 0: in position order d would be read before y is known.
TEST(EvaluationEtatSuivant, DatesAreComputedWhenMissing)
{
    b_automaton* a = build_automaton(circuit_a());
    ASSERT_EQ(a->wood->Nb_level(), 0);
    std::vector<int> src = valuation_a(1, 1, 0), dst(6, -1);
    EXPECT_EQ(a->evaluation_etat_suivant(src.data(), 0, dst.data()), 1);
    // t = 1, y = 1, d = 0
    EXPECT_EQ(dst, (std::vector<int>{0, 0, 1, 0, 1, 1}));
    EXPECT_GT(a->wood->Nb_level(), 0);
    delete a;
}

TEST(EvaluationEtatSuivant, EquationWithoutLeftMemberIsSkipped)
{
    // x = a.b at position 2, y = NOT a at 3
    b_automaton* a = build_automaton(circuit_comb());
    a->sort();
    Bddexpression* x = a->wood->Exp_table()[2];
    bdd left = x->bdd_var;
    x->bdd_var = bdd();
    std::vector<int> src = {1, 1, 2, 2}, dst(4, -1);
    EXPECT_EQ(a->evaluation_etat_suivant(src.data(), 1, dst.data()), 1);
    EXPECT_EQ(dst, (std::vector<int>{1, 1, 2, 0}));
    src = {2, 1, 2, 2};
    testing::internal::CaptureStderr();
    EXPECT_EQ(a->evaluation_etat_suivant(src.data(), 1, dst.data()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR IN EVALUATION: \n\n left member of equation  not defined\n"
              "ERROR IN EVALUATION: \n\n because the variable y  depends on b\n\n"
              " and I don't know how to evaluate it!\n\n");
    x->bdd_var = left;
    delete a;
}

// r takes the input a, s takes r: both advance together, s getting r's value of before the step.
TEST(EvaluationEtatSuivant, ChainedRegistersAdvanceTogether)
{
    b_automaton* a = build_automaton(circuit_v());
    a->sort();
    bddpp_manager* m = a->manager_associe();
    long r = m->Index_var_by_name("r"), s = m->Index_var_by_name("s"), in = m->Index_var_by_name("a"),
         y = m->Index_var_by_name("y");
    std::vector<int> vals(a->wood->Nb_bdd_vars());
    a->etat_init(vals.data());
    const int inputs[] = {1, 1, 0, 1};
    const int expected[][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 1}, {1, 0, 0}}; // r, s, y after each step
    for (int k = 0; k < 4; ++k) {
        vals[in] = inputs[k];
        std::vector<int> dst(vals.size());
        ASSERT_EQ(a->evaluation_etat_suivant(vals.data(), 0, dst.data()), 1);
        EXPECT_EQ(dst[r], expected[k][0]) << k;
        EXPECT_EQ(dst[s], expected[k][1]) << k;
        EXPECT_EQ(dst[y], expected[k][2]) << k;
        vals = dst;
    }
    delete a;
}

TEST(EvaluationEtatSuivant, SymbolicSuccessor)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    bddpp_manager* m = a->manager_associe();
    bdd q = m->Bdd_var_by_index(Q), in_a = m->Bdd_var_by_index(A), in_b = m->Bdd_var_by_index(B),
        y = m->Bdd_var_by_index(Y);
    bdd outputs;
    // q, a, NOT b: t = 1, y = 1, d = 0; y is read by d, folded and deleted: no output literal
    bdd cond = m->Bdd_and(q, m->Bdd_and(in_a, m->Bdd_not(in_b)));
    EXPECT_EQ(a->evaluation_etat_suivant(cond, 0, &outputs), m->Bdd_not(q));
    EXPECT_EQ(outputs, m->Bdd_one());
    // the successor classes keep the output equations: y is there
    std::vector<bdd> c, n, o;
    EXPECT_EQ(a->evaluation_etats_suivants(cond, c, n, o), 1);
    EXPECT_EQ(c[0], m->Bdd_one());
    EXPECT_EQ(n[0], m->Bdd_not(q));
    EXPECT_EQ(o[0], y);
    // q alone leaves d = NOT a.b and y = a + b open
    testing::internal::CaptureStderr();
    EXPECT_EQ(a->evaluation_etat_suivant(q, 0, &outputs), m->Bdd_one());
    EXPECT_EQ(outputs, m->Bdd_one());
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "no possible evaluation for index 0\nno possible evaluation for output index 0\n");
    // a condition that is no cube is refused; a contradictory one has no successor
    bdd either = m->Bdd_or(q, in_a), none = m->Bdd_zero();
    testing::internal::CaptureStderr();
    EXPECT_EQ(a->evaluation_etat_suivant(either, 0, &outputs), m->Bdd_one());
    EXPECT_EQ(a->evaluation_etats_suivants(either, c, n, o), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in b_automaton::evaluation_etat_suivant(): the condition is not a cube of the automaton\n"
              "ERROR in b_automaton::evaluation_etats_suivants(): the condition is not a cube of the automaton\n");
    EXPECT_EQ(a->evaluation_etat_suivant(none, 0, &outputs), m->Bdd_zero());
    EXPECT_EQ(outputs, m->Bdd_zero());
    EXPECT_EQ(a->evaluation_etats_suivants(none, c, n, o), 0);
    delete a;
}

// The classes of a cube condition: pairwise disjoint cubes covering constant 1, and at every
// point of a class the integer step gives the class's next state and outputs.
void expect_sound_classes(b_automaton* a, bdd cond, int expected_count)
{
    bddpp_manager* m = a->manager_associe();
    std::vector<bdd> c, n, o;
    int count = a->evaluation_etats_suivants(cond, c, n, o);
    if (expected_count >= 0) {
        EXPECT_EQ(count, expected_count);
    }
    ASSERT_EQ(count, static_cast<int>(c.size()));
    bdd cover = m->Bdd_zero();
    for (int k = 0; k < count; ++k) {
        EXPECT_TRUE(m->Bdd_is_cube(c[k])) << k;
        EXPECT_TRUE(m->Bdd_is_zero_tautologic(m->Bdd_and(cover, c[k]))) << k;
        cover = m->Bdd_or(cover, c[k]);
    }
    EXPECT_TRUE(m->Bdd_is_one_tautologic(cover));
    // every point of the registers and inputs inside cond
    const int free_count = 2 * a->state_count + a->input_count;
    const int nv = a->wood->Nb_bdd_vars();
    for (int point = 0; point < (1 << free_count); ++point) {
        std::vector<int> vals(nv, 2);
        for (int p = 0; p < free_count; ++p) vals[p] = (point >> p) & 1;
        for (int i = 0; i < a->state_count; ++i) vals[a->state_count + i] = 2;
        if (!m->Bdd_is_one_tautologic(m->Bdd_reduce(cond, m->Literals_to_bdd(vals.data())))) continue;
        std::vector<int> dst(nv);
        ASSERT_EQ(a->evaluation_etat_suivant(vals.data(), 0, dst.data()), 1);
        bdd here = m->Literals_to_bdd(vals.data());
        int hits = 0;
        for (int k = 0; k < count; ++k) {
            if (m->Bdd_is_zero_tautologic(m->Bdd_and(here, c[k]))) continue;
            ++hits;
            // the class's cubes hold at the step's values
            EXPECT_TRUE(m->Bdd_is_one_tautologic(m->Bdd_reduce(n[k], m->Literals_to_bdd(dst.data())))) << point;
            std::vector<int> outs(dst);
            for (int i = 0; i < a->state_count; ++i) outs[i] = 2; // outputs against the step's evaluation
            EXPECT_TRUE(m->Bdd_is_one_tautologic(m->Bdd_reduce(o[k], m->Literals_to_bdd(outs.data())))) << point;
        }
        EXPECT_EQ(hits, 1) << point;
    }
}

TEST(EvaluationEtatsSuivants, ClassesAreDisjointCoverOneAndMatchTheStep)
{
    b_automaton* h = build_automaton(circuit_h());
    h->sort();
    bddpp_manager* m = h->manager_associe();
    expect_sound_classes(h, m->Bdd_one(), -1);
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    expect_sound_classes(a, a->manager_associe()->Bdd_one(), -1);
    expect_sound_classes(a, a->manager_associe()->Bdd_var_by_index(Q), -1);
    delete h;
    delete a;
}

TEST(EvaluationEtatsSuivants, EverythingFixedGivesOneClassOfConditionOne)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    bddpp_manager* m = a->manager_associe();
    bdd cond = m->Bdd_and(m->Bdd_var_by_index(Q), m->Bdd_and(m->Bdd_var_by_index(A), m->Bdd_var_by_index(B)));
    bdd c[1], n[1], o[1];
    EXPECT_EQ(a->evaluation_etats_suivants(cond, c, n, o), 1);
    EXPECT_EQ(c[0], m->Bdd_one());
    // t = 1, y = 1, d = 0
    EXPECT_EQ(n[0], m->Bdd_not(m->Bdd_var_by_index(Q)));
    EXPECT_EQ(o[0], m->Bdd_var_by_index(Y));
    delete a;
}

TEST(EvaluationEtatsSuivants, NeverWritesPastTheRoomGiven)
{
    b_automaton* h = build_automaton(circuit_h());
    h->sort();
    bddpp_manager* m = h->manager_associe();
    bdd one = m->Bdd_one();
    std::vector<bdd> c, n, o;
    const int count = h->evaluation_etats_suivants(one, c, n, o);
    ASSERT_GT(count, 1);
    bdd cs[2], ns[2], os[2];
    cs[1] = ns[1] = os[1] = m->Bdd_zero(); // must stay
    EXPECT_EQ(h->evaluation_etats_suivants(one, cs, ns, os, 1), count);
    EXPECT_EQ(cs[0], c[0]);
    EXPECT_EQ(os[0], o[0]);
    EXPECT_EQ(cs[1], m->Bdd_zero());
    EXPECT_EQ(ns[1], m->Bdd_zero());
    EXPECT_EQ(os[1], m->Bdd_zero());
    delete h;
}

TEST(SensibiliteEntrees, TracesTheSearch)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    bddpp_manager* m = a->manager_associe();
    bdd state = m->Bdd_not(m->Bdd_var_by_index(Q));
    testing::internal::CaptureStderr();
    std::list<bdd> r = a->sensibilite_entrees(state, D);
    std::string y = stream_text(*a->wood->Exp_table()[Y]);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "call sensibilite_entrees()\nSENSIBILITE ENTREES pour ETAT:\n!q\n"
              "---> 0: 1\n"
              "exp bloquante:" + y + "\napres reduction: b\n"
              "---> 1: b\n"
              "---> 0: !b\n"
              "sensibilite terminee ...\n");
    bdd b = m->Bdd_var_by_index(B);
    EXPECT_EQ(r, (std::list<bdd>{b, m->Bdd_not(b)}));
    delete a;
}

TEST(SensibiliteEntrees, InputsAndRegistersOnlyGiveConstantOne)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    bddpp_manager* m = a->manager_associe();
    testing::internal::CaptureStderr();
    std::list<bdd> r = a->sensibilite_entrees(m->Bdd_one(), T); // t reads a and q only
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "call sensibilite_entrees()\nSENSIBILITE ENTREES pour ETAT:\n1\n---> 0: 1\nsensibilite terminee ...\n");
    EXPECT_EQ(r, std::list<bdd>{m->Bdd_one()});
    delete a;
}

// A contradictory state holds nowhere: the search drops its condition instead of splitting it
// again and again.
TEST(SensibiliteEntrees, ContradictoryStateGivesNoCondition)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    bddpp_manager* m = a->manager_associe();
    testing::internal::CaptureStderr();
    std::list<bdd> r = a->sensibilite_entrees(m->Bdd_zero(), D);
    std::list<bdd> old = a->old_sensibilite_entrees(m->Bdd_zero());
    std::list<bdd> none = a->sensibilite_entrees(m->Bdd_one(), 99);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "call sensibilite_entrees()\nSENSIBILITE ENTREES pour ETAT:\n0\n---> 0: 1\nsensibilite terminee ...\n"
              "call sensibilite_entrees()\n"
              "call sensibilite_entrees()\nSENSIBILITE ENTREES pour ETAT:\n"
              "ERROR in b_automaton::sensibilite_entrees(): no variable at index 99\n");
    EXPECT_TRUE(r.empty());
    EXPECT_TRUE(old.empty());
    EXPECT_TRUE(none.empty());
    delete a;
}

TEST(OldSensibiliteEntrees, TracesTheSearch)
{
    b_automaton* a = build_automaton(circuit_a());
    a->sort();
    bddpp_manager* m = a->manager_associe();
    bdd state = m->Bdd_not(m->Bdd_var_by_index(Q));
    testing::internal::CaptureStderr();
    std::list<bdd> r = a->old_sensibilite_entrees(state);
    // under NOT q: t = 0 is folded into y = b; d = y XOR a
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "call sensibilite_entrees()\n"
              "---> 0: 1\n"
              "evaluation impossible pour: b\n"
              "   empilement de b\n"
              "   empilement de !b\n"
              "---> 1: b\n"
              "evaluation impossible pour: !a\n"
              "   empilement de !a.b\n"
              "   empilement de a.b\n"
              "---> 2: !b\n"
              "evaluation impossible pour: a\n"
              "   empilement de a.!b\n"
              "   empilement de !a.!b\n"
              "---> 3: !a.b\n"
              "Adding :!a.b\n"
              "---> 2: a.b\n"
              "Adding :a.b\n"
              "---> 1: a.!b\n"
              "Adding :a.!b\n"
              "---> 0: !a.!b\n"
              "Adding :!a.!b\n");
    EXPECT_EQ(r.size(), 4u);
    delete a;
}

// Both searches on h = a.b + NOT a.c: their conditions are disjoint cubes covering constant 1, and
// under each one the output is determined.
TEST(OldSensibiliteEntrees, ConditionsAreDisjointCubesCoveringOne)
{
    b_automaton* h = build_automaton(circuit_h());
    h->sort();
    bddpp_manager* m = h->manager_associe();
    const long out = m->Index_var_by_name("h");
    testing::internal::CaptureStderr();
    std::list<bdd> results[] = {h->old_sensibilite_entrees(m->Bdd_one()), h->sensibilite_entrees(m->Bdd_one(), out)};
    testing::internal::GetCapturedStderr();
    // h itself is no dependency of h: sensibilite_entrees finds nothing to evaluate
    EXPECT_EQ(results[1], std::list<bdd>{m->Bdd_one()});
    bdd cover = m->Bdd_zero();
    for (const bdd& g : results[0]) {
        EXPECT_TRUE(m->Bdd_is_cube(g));
        EXPECT_TRUE(m->Bdd_is_zero_tautologic(m->Bdd_and(cover, g)));
        cover = m->Bdd_or(cover, g);
        EXPECT_TRUE(m->Bdd_is_tautology(m->Bdd_reduce(h->bdd_exp_ident_associe("h"), g)));
    }
    EXPECT_TRUE(m->Bdd_is_one_tautologic(cover));
    delete h;
}

} // namespace
