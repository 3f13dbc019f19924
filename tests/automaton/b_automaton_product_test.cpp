// The synchronous product: layout and names, shared and wired signals, initial values, name
// collisions, the rebuilding of functions, merge, the observer and the product with it.
#include <gtest/gtest.h>

#include <random>

#include "automaton/b_automaton_writers.h"
#include "tests/support/b_automaton_writers_fixture.h"

namespace {

// The names of the manager's variables in order.
std::vector<std::string> order_of(b_automaton* a)
{
    std::vector<std::string> v;
    bddpp_manager* m = a->manager_associe();
    for (long p = 0; p < m->nvars; ++p) v.push_back(m->Name_var_by_index(p));
    return v;
}

// The right member of the named variable's equation as a sum of products.
std::string equation_text(b_automaton* a, const std::string& name)
{
    bddpp_manager* m = a->manager_associe();
    Bddexpression* e = a->wood->exp_by_bddname(name);
    if (e == nullptr) return "none";
    return m->Print_sop_to_String(" + ", ".", "!", "", e->bdd_exp, 1);
}

// One step of a from the valuation vals (changed in place) with the named inputs set; returns
// the named signals' values of the cycle: a register's value is the one before the step.
std::vector<int> step(b_automaton* a, std::vector<int>& vals, const std::map<std::string, int>& inputs,
                      const std::vector<std::string>& watched)
{
    bddpp_manager* m = a->manager_associe();
    for (const auto& i : inputs) vals[m->Index_var_by_name(i.first)] = i.second;
    std::vector<int> dst(vals.size());
    std::vector<int> seen;
    EXPECT_EQ(a->evaluation_etat_suivant(vals.data(), 0, dst.data()), 1);
    for (const std::string& w : watched) {
        long p = m->Index_var_by_name(w);
        seen.push_back(p < a->state_count ? vals[p] : dst[p]);
    }
    vals = dst;
    return seen;
}

// A fresh valuation of a in its initial state.
std::vector<int> initial(b_automaton* a)
{
    std::vector<int> vals(a->wood->Nb_bdd_vars());
    a->etat_init(vals.data());
    return vals;
}

TEST(Product, OneComponentRenamesAllButInputsAndOutputs)
{
    b_automaton* a = build_automaton(circuit_a());
    b_automaton* parts[] = {a};
    std::string names[] = {"I"};
    b_automaton p(1, parts, names, 0, nullptr);
    EXPECT_EQ(order_of(&p), (std::vector<std::string>{"I_q", "I_d", "a", "b", "y", "I_t"}));
    EXPECT_EQ(p.state_count, 1);
    EXPECT_EQ(p.input_count, 2);
    EXPECT_EQ(p.output_count, 1);
    EXPECT_EQ(p.local_count, 1);
    EXPECT_EQ(p.nom_next_state_var(0), "I_d");
    EXPECT_EQ(equation_text(&p, "I_t"), "I_q.a");
    EXPECT_EQ(equation_text(&p, "y"), "b + I_t");
    EXPECT_EQ(equation_text(&p, "I_d"), "a.!y + !a.y");
    EXPECT_EQ(p.wood->exp_by_bddname("y")->getUserType(), 1);
    EXPECT_EQ(p.wood->exp_by_bddname("I_d")->getUserType(), 1);
    EXPECT_EQ(p.wood->exp_by_bddname("I_t")->getUserType(), 0);
    EXPECT_EQ(p.assertion, p.manager_associe()->Bdd_one());
    EXPECT_EQ(p.invariant, p.manager_associe()->Bdd_zero());
    delete a;
}

TEST(Product, SharedOutputIsTheOrOfItsEquationsAndInputsAreShared)
{
    // x = a AND b, y = NOT a beside x = a XOR b
    test_circuit c2 = {{}, {}, {"a", "b"}, {"x"}, {}, {}, {{{"a", "b", "x"}, {"10 1", "01 1"}}}};
    b_automaton* a = build_automaton(circuit_comb());
    b_automaton* b = build_automaton(c2);
    b_automaton* parts[] = {a, b};
    std::string names[] = {"u", "v"};
    b_automaton p(2, parts, names, 0, nullptr);
    EXPECT_EQ(order_of(&p), (std::vector<std::string>{"a", "b", "x", "y"}));
    EXPECT_EQ(equation_text(&p, "x"), "a + b");
    EXPECT_EQ(equation_text(&p, "y"), "!a");
    delete a;
    delete b;
}

TEST(Product, WiredSignalsBecomeLocalsReadingTheirDriver)
{
    // the output y of A drives the input a of the combinational circuit
    b_automaton* a = build_automaton(circuit_a());
    b_automaton* c = build_automaton(circuit_comb());
    b_automaton* parts[] = {a, c};
    std::string names[] = {"A", "C"};
    b_automaton_connector wire(0, 0, 1, 0);
    b_automaton p(2, parts, names, 1, &wire);
    EXPECT_EQ(order_of(&p),
              (std::vector<std::string>{"A_q", "A_d", "a", "b", "x", "y", "C_a", "A_y", "A_t"}));
    EXPECT_EQ(p.input_count, 2); // a of A, b shared by both
    EXPECT_EQ(p.output_count, 2);
    EXPECT_EQ(equation_text(&p, "C_a"), "A_y");
    EXPECT_EQ(equation_text(&p, "A_y"), "b + A_t");
    EXPECT_EQ(equation_text(&p, "x"), "b.C_a");
    EXPECT_EQ(equation_text(&p, "A_d"), "a.!A_y + !a.A_y");
    delete a;
    delete c;
}

TEST(Product, InitialValuesFollowTheRegistersAndTheRestIsUndetermined)
{
    test_circuit c1 = circuit_a();
    c1.init = {2};
    b_automaton* a = build_automaton(c1);
    test_circuit c2 = circuit_names();
    b_automaton* b = build_automaton(c2);
    b_automaton* parts[] = {a, b};
    std::string names[] = {"A", "B"};
    b_automaton p(2, parts, names, 0, nullptr);
    ASSERT_EQ(p.state_count, 2);
    EXPECT_EQ(p.valeur_initiale_state_var(0), 2);
    EXPECT_EQ(p.valeur_initiale_state_var(1), 1);
    for (int k = 2; k < p.wood->Nb_bdd_vars(); ++k) EXPECT_EQ(p.init_values[k], 2) << k;
    delete a;
    delete b;
}

TEST(Product, NameCollisionsGiveNoProduct)
{
    b_automaton* a = build_automaton(circuit_a());
    b_automaton* b = build_automaton(circuit_a());
    b_automaton* parts[] = {a, b};
    std::string same[] = {"I", "I"};
    testing::internal::CaptureStderr();
    b_automaton p(2, parts, same, 0, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in b_automaton::b_automaton(product): two variables of the product are named `I_q'; "
              "no product built\n"
              "ERROR in b_automaton::b_automaton(product): two variables of the product are named `I_d'; "
              "no product built\n"
              "ERROR in b_automaton::b_automaton(product): two variables of the product are named `I_t'; "
              "no product built\n");
    EXPECT_EQ(p.wood, nullptr);
    EXPECT_EQ(p.state_count + p.input_count + p.output_count + p.local_count, 0);

    // an input named like a register once prefixed
    test_circuit c = circuit_comb();
    c.inputs = {"A_q", "b"};
    c.covers = {{{"A_q", "b", "x"}, {"11 1"}}, {{"A_q", "y"}, {"1 0"}}};
    b_automaton* d = build_automaton(c);
    b_automaton* parts2[] = {a, d};
    std::string names2[] = {"A", "D"};
    testing::internal::CaptureStderr();
    b_automaton q(2, parts2, names2, 0, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in b_automaton::b_automaton(product): two variables of the product are named `A_q'; "
              "no product built\n");
    EXPECT_EQ(q.wood, nullptr);
    delete a;
    delete b;
    delete d;
}

TEST(Product, ConnectorToNothingGivesNoProduct)
{
    b_automaton* a = build_automaton(circuit_a());
    b_automaton* parts[] = {a};
    std::string names[] = {"A"};
    b_automaton_connector wire(0, 3, 0, 0);
    testing::internal::CaptureStderr();
    b_automaton p(1, parts, names, 1, &wire);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in b_automaton::b_automaton(product): connector 0:3 --> 0:0 names no output or input; "
              "no product built\n");
    EXPECT_EQ(p.wood, nullptr);
    delete a;
}

// A register that is also an output, a register fed by an input and one fed by a register: the
// product keeps one variable per name, tied by copies, and steps as the component does.
TEST(Product, NamesSharedWithinAComponentStepAsTheComponent)
{
    for (test_circuit c : {circuit_b(), circuit_v()}) {
        b_automaton* a = build_automaton(c);
        b_automaton* parts[] = {a};
        std::string names[] = {"P"};
        b_automaton p(1, parts, names, 0, nullptr);
        ASSERT_NE(p.wood, nullptr);
        std::vector<int> va = initial(a), vp = initial(&p);
        std::mt19937 random(7);
        std::vector<std::string> outs = names_of(a->output_names, a->output_count);
        for (int cycle = 0; cycle < 20; ++cycle) {
            std::map<std::string, int> in;
            for (int i = 0; i < a->input_count; ++i) in[a->input_names[i]] = random() % 2;
            EXPECT_EQ(step(a, va, in, outs), step(&p, vp, in, outs)) << c.outputs.size() << " " << cycle;
        }
        delete a;
    }
}

TEST(Product, BddIsomorpheRebuildsEachNodeOnce)
{
    // the carry out of a 60-bit adder: a linear number of nodes, an exponential number of paths
    const int n = 60;
    std::list<std::string> inputs, none;
    for (int i = 0; i < n; ++i) {
        inputs.push_back("a" + std::to_string(i));
        inputs.push_back("b" + std::to_string(i));
    }
    b_autom_dec* dec = new b_autom_dec(none, none, inputs, std::list<std::string>{"c"}, none);
    bddpp_manager* m = dec->manager_associe();
    bdd carry = m->Bdd_zero();
    for (int i = 0; i < n; ++i) {
        bdd x = m->Bdd_var_by_index(2 * i), y = m->Bdd_var_by_index(2 * i + 1);
        carry = m->Bdd_or(m->Bdd_and(x, y), m->Bdd_and(carry, m->Bdd_or(x, y)));
    }
    new Bddexpression(dec->wood, m->Bdd_var_by_index(2 * n), carry, 0, 0);
    b_automaton a(dec, nullptr, m->Bdd_one(), m->Bdd_zero());
    delete dec;
    // into a manager with the order reversed
    bddpp_manager target;
    std::vector<int> map(2 * n + 1);
    for (int p = 0; p <= 2 * n; ++p) target.New_var_last("v" + std::to_string(2 * n - p));
    for (int p = 0; p <= 2 * n; ++p) map[p] = 2 * n - p;
    bdd r = a.bdd_isomorphe(&target, carry, map.data());
    bdd expected = target.Bdd_zero();
    for (int i = 0; i < n; ++i) {
        bdd x = target.Bdd_var_by_index(2 * n - 2 * i), y = target.Bdd_var_by_index(2 * n - 2 * i - 1);
        expected = target.Bdd_or(target.Bdd_and(x, y), target.Bdd_and(expected, target.Bdd_or(x, y)));
    }
    EXPECT_EQ(r, expected);
    EXPECT_EQ(a.bdd_isomorphe(&target, m->Bdd_not(carry), map.data()), target.Bdd_not(expected));
    EXPECT_EQ(a.bdd_isomorphe(&target, m->Bdd_one(), map.data()), target.Bdd_one());
    EXPECT_EQ(a.bdd_isomorphe(&target, m->Bdd_zero(), map.data()), target.Bdd_zero());
    EXPECT_EQ(a.bdd_isomorphe(&target, bdd(), map.data()).manager, nullptr);
    map[0] = -1;
    testing::internal::CaptureStderr();
    EXPECT_EQ(a.bdd_isomorphe(&target, m->Bdd_var_by_index(0), map.data()).manager, nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in b_automaton::bdd_isomorphe(): no target variable for `a0'\n");
}

TEST(Merge, WithoutCommonNamesPlacesThemSideBySide)
{
    b_automaton* a = build_automaton(circuit_a());
    test_circuit c = circuit_comb();
    c.inputs = {"e", "f"};
    c.outputs = {"g", "h"};
    c.covers = {{{"e", "f", "g"}, {"11 1"}}, {{"e", "h"}, {"1 0"}}};
    b_automaton* b = build_automaton(c);
    EXPECT_EQ(merge(a, nullptr), nullptr);
    EXPECT_EQ(merge(nullptr, b), nullptr);
    b_automaton* p = merge(a, b);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(order_of(p),
              (std::vector<std::string>{"inst0_q", "inst0_d", "a", "b", "e", "f", "y", "g", "h", "inst0_t"}));
    EXPECT_EQ(equation_text(p, "g"), "e.f");
    delete p;
    delete a;
    delete b;
}

TEST(Merge, WiresEveryInputToTheOutputOfItsName)
{
    // A's output y drives the other's input y; the other's output b drives A's input b
    b_automaton* a = build_automaton(circuit_a());
    test_circuit c = {{}, {}, {"y"}, {"b"}, {}, {}, {{{"y", "b"}, {"0 1"}}}};
    b_automaton* b = build_automaton(c);
    b_automaton* p = merge(a, b);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(order_of(p), (std::vector<std::string>{"inst0_q", "inst0_d", "a", "inst0_b", "inst1_y", "inst0_y",
                                                     "inst1_b", "inst0_t"}));
    EXPECT_EQ(p->input_count, 1);
    EXPECT_EQ(p->output_count, 0);
    EXPECT_EQ(equation_text(p, "inst0_b"), "inst1_b");
    EXPECT_EQ(equation_text(p, "inst1_y"), "inst0_y");
    EXPECT_EQ(equation_text(p, "inst1_b"), "!inst1_y");
    delete p;
    delete a;
    delete b;
}

TEST(Merge, NameCollisionGivesNull)
{
    // an input of A named like the register q of the second instance once prefixed
    test_circuit c = circuit_comb();
    c.inputs = {"inst1_q", "b"};
    c.covers = {{{"inst1_q", "b", "x"}, {"11 1"}}, {{"inst1_q", "y"}, {"1 0"}}};
    b_automaton* a = build_automaton(c);
    b_automaton* b = build_automaton(circuit_a());
    testing::internal::CaptureStderr();
    EXPECT_EQ(merge(a, b), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "ERROR in b_automaton::b_automaton(product): two variables of the product are named `inst1_q'; "
              "no product built\n");
    delete a;
    delete b;
}

TEST(EquivObserver, WithoutCommonOutputsEquivIsConstantOne)
{
    std::list<std::string> o1 = {"x"}, o2 = {"z"};
    int count = -1;
    b_automaton_connector* wires = nullptr;
    b_automaton* o = equiv_observer(o1, o2, &count, &wires);
    EXPECT_EQ(count, 0);
    ASSERT_NE(wires, nullptr);
    EXPECT_EQ(o->input_count, 0);
    EXPECT_EQ(order_of(o), std::vector<std::string>{"equiv"});
    EXPECT_EQ(equation_text(o, "equiv"), "1");
    EXPECT_EQ(o->wood->exp_by_bddname("equiv")->getUserType(), 1);
    EXPECT_EQ(o->assertion, o->manager_associe()->Bdd_zero());
    delete o;
    delete[] wires;
}

TEST(EquivObserver, ComparesTheCommonOutputsPairwise)
{
    std::list<std::string> o1 = {"x", "y", "z"}, o2 = {"z", "w", "x"};
    int count = 0;
    b_automaton_connector* wires = nullptr;
    b_automaton* o = equiv_observer(o1, o2, &count, &wires);
    ASSERT_EQ(count, 4);
    std::ostringstream text;
    for (int c = 0; c < count; ++c) text << wires[c];
    EXPECT_EQ(text.str(), "0:0 --> 2:0\n1:2 --> 2:1\n0:2 --> 2:2\n1:0 --> 2:3\n");
    EXPECT_EQ(order_of(o), (std::vector<std::string>{"equiv_observer_autom1_x", "equiv_observer_autom2_x",
                                                     "equiv_observer_autom1_z", "equiv_observer_autom2_z", "equiv"}));
    bddpp_manager* m = o->manager_associe();
    bdd x1 = m->Bdd_var_by_index(0), x2 = m->Bdd_var_by_index(1), z1 = m->Bdd_var_by_index(2),
        z2 = m->Bdd_var_by_index(3);
    EXPECT_EQ(o->bdd_exp_ident_associe("equiv"), m->Bdd_and(m->Bdd_eq(x1, x2), m->Bdd_eq(z1, z2)));
    delete o;
    delete[] wires;
}

TEST(ObservateurEquivalence, LayoutOfTheProductWithItsObserver)
{
    b_automaton* a = build_automaton(circuit_a());
    b_automaton* b = build_automaton(circuit_a());
    EXPECT_EQ(observateur_equivalence(a, nullptr), nullptr);
    b_automaton* p = observateur_equivalence(a, b);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(order_of(p),
              (std::vector<std::string>{"autom1_q", "autom2_q", "autom1_d", "autom2_d", "a", "b", "equiv",
                                        "observer_equiv_observer_autom1_y", "observer_equiv_observer_autom2_y",
                                        "autom1_y", "autom2_y", "autom1_t", "autom2_t"}));
    EXPECT_EQ(equation_text(p, "observer_equiv_observer_autom2_y"), "autom2_y");
    EXPECT_EQ(equation_text(p, "equiv"),
              "observer_equiv_observer_autom1_y.observer_equiv_observer_autom2_y + "
              "!observer_equiv_observer_autom1_y.!observer_equiv_observer_autom2_y");
    // a circuit against itself: equiv is 1 at every step
    std::vector<int> vals = initial(p);
    std::mt19937 random(3);
    for (int cycle = 0; cycle < 16; ++cycle) {
        std::map<std::string, int> in = {{"a", int(random() % 2)}, {"b", int(random() % 2)}};
        EXPECT_EQ(step(p, vals, in, {"equiv"}), std::vector<int>{1});
    }
    delete p;
    delete a;
    delete b;
}

TEST(ObservateurEquivalence, DifferentOutputsDropEquiv)
{
    // y = b + t against y = b . t
    test_circuit c = circuit_a();
    c.covers[1].rows = {"11 1"};
    b_automaton* a = build_automaton(circuit_a());
    b_automaton* b = build_automaton(c);
    b_automaton* p = observateur_equivalence(a, b);
    ASSERT_NE(p, nullptr);
    std::vector<int> vals = initial(p);
    EXPECT_EQ(step(p, vals, {{"a", 0}, {"b", 1}}, {"equiv"}), std::vector<int>{0});
    delete p;
    delete a;
    delete b;
}

} // namespace
