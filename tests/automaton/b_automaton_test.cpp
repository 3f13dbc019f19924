// Declarations and automaton: layout, repeated names, name arrays, lookups, initial values, lists,
// renames, out-of-range messages and the connector.
#include <gtest/gtest.h>

#include <sstream>

#include "automaton/b_automaton.h"

namespace {

typedef std::list<std::string> names;
typedef std::set<std::string> name_set;

// The names of the manager's variables in order.
std::vector<std::string> order(b_autom_dec& d)
{
    std::vector<std::string> v;
    bddpp_manager* m = d.manager_associe();
    for (long p = 0; p < m->nvars; ++p) v.push_back(m->Name_var_by_index(p));
    return v;
}

// Registers q1 q2 fed by d1 d2, inputs a b, outputs y z, local t; y and d1 defined.
b_automaton* two_register_automaton(int v0, int v1)
{
    b_autom_dec* d = new b_autom_dec(names{"q1", "q2"}, names{"d1", "d2"}, name_set{"b", "a"}, name_set{"z", "y"},
                                     name_set{"t"});
    bddpp_manager* m = d->manager_associe();
    new Bddexpression("y", d->wood, m->Bdd_var_by_name("y"), m->Bdd_var_by_name("a"), 0, 0);
    new Bddexpression("d1", d->wood, m->Bdd_var_by_name("d1"), m->Bdd_var_by_name("q2"), 0, 0);
    new Bddexpression("t", d->wood, m->Bdd_var_by_name("t"), m->Bdd_var_by_name("b"), 0, 0);
    int init[2] = {v0, v1};
    return new b_automaton(d, init, m->Bdd_one(), m->Bdd_zero());
}

TEST(BAutomDec, DeclaresTheLayoutInOrder)
{
    b_autom_dec d(names{"q2", "q1"}, names{"d2", "d1"}, name_set{"b", "a"}, name_set{"y"}, name_set{"u", "t"});
    EXPECT_EQ(order(d), (std::vector<std::string>{"q2", "q1", "d2", "d1", "a", "b", "y", "t", "u"}));
    EXPECT_EQ(d.state_count, 2);
    EXPECT_EQ(d.input_count, 2);
    EXPECT_EQ(d.output_count, 1);
    EXPECT_EQ(d.local_count, 2);
    EXPECT_EQ(d.input_names[0], "a");
    EXPECT_EQ(d.local_names[1], "u");
    EXPECT_EQ(d.wood->Nb_bdd_vars(), 9);
    EXPECT_EQ(d.ident_associe("a"), 4);
    EXPECT_EQ(d.ident_associe("nothing"), -1);
    EXPECT_EQ(d.ident_associe(d.bdd_ident_associe("y")), 6);
    EXPECT_EQ(d.ident_associe(d.manager_associe()->Bdd_one()), -1);
    EXPECT_EQ(d.bdd_ident_associe("nothing"), d.manager_associe()->Bdd_zero());
    EXPECT_EQ(d.nom_ident_associe(d.bdd_ident_associe("t")), "t");
    EXPECT_EQ(d.nom_ident_associe(d.manager_associe()->Bdd_zero()), "0");
    EXPECT_EQ(d.wood_associee(), d.wood);
}

TEST(BAutomDec, ListFormKeepsListOrder)
{
    b_autom_dec d(names{"q"}, names{"n"}, names{"b", "a"}, names{"z", "y"}, names{});
    EXPECT_EQ(order(d), (std::vector<std::string>{"q", "n", "b", "a", "z", "y"}));
    EXPECT_EQ(d.local_names, nullptr);
    EXPECT_EQ(d.local_count, 0);
}

TEST(BAutomDec, NoRegisterGivesNullArraysAndInputsFromZero)
{
    b_autom_dec d(names{}, names{}, name_set{"a"}, name_set{"y"}, name_set{});
    EXPECT_EQ(d.state_names, nullptr);
    EXPECT_EQ(d.next_state_names, nullptr);
    EXPECT_EQ(d.state_count, 0);
    EXPECT_EQ(d.ident_associe("a"), 0);
    EXPECT_EQ(d.ident_associe("y"), 1);
}

// Names repeated across the lists keep their first position; later ones move down by one.
TEST(BAutomDec, RepeatedNamesAreDeclaredOnceAtTheirFirstPosition)
{
    // q2 is fed by q1 (its next-state name is a register); q1 is also an output
    b_autom_dec d(names{"q1", "q2"}, names{"a", "q1"}, name_set{"a"}, name_set{"q1", "y"}, name_set{"t"});
    EXPECT_EQ(order(d), (std::vector<std::string>{"q1", "q2", "a", "y", "t"}));
    EXPECT_EQ(d.ident_associe("q1"), 0);
    EXPECT_EQ(d.ident_associe("a"), 2); // next-state of q1, and the input
    EXPECT_EQ(d.ident_associe("y"), 3); // the layout would say 2ns + ni + 1 = 6
    EXPECT_EQ(d.ident_associe("t"), 4);
    EXPECT_EQ(d.wood->Nb_bdd_vars(), 5);
}

TEST(AutomatonDeclarationsDeathTest, UnequalRegisterListsEndTheProcess)
{
    EXPECT_EXIT(b_autom_dec(names{"q"}, names{}, names{}, names{}, names{}), testing::ExitedWithCode(1),
                "^Parameters error in b_autom_dec::b_autom_dec\\(lists\\)\n$");
    EXPECT_EXIT(b_autom_dec(names{}, names{"d"}, name_set{}, name_set{}, name_set{}), testing::ExitedWithCode(1),
                "^Parameters error in b_autom_dec::b_autom_dec\\(sets\\)\n$");
}

TEST(BAutomDec, AddIdentAppendsALocalOnce)
{
    b_autom_dec d(names{}, names{}, name_set{"a"}, name_set{}, name_set{"t"});
    std::string* before = d.local_names;
    d.add_ident("n");
    d.add_ident("a");
    d.add_ident("n");
    EXPECT_EQ(d.local_count, 2);
    EXPECT_EQ(d.local_names[0], "t");
    EXPECT_EQ(d.local_names[1], "n");
    EXPECT_NE(d.local_names, before);
    EXPECT_EQ(before[0], "t"); // an automaton may have adopted the old array
    EXPECT_EQ(d.ident_associe("n"), 2);
    EXPECT_EQ(d.manager_associe()->nvars, 3);
}

TEST(BAutomaton, AdoptsTheDeclarations)
{
    b_autom_dec* d = new b_autom_dec(names{"q"}, names{"d"}, name_set{"a"}, name_set{"y"}, name_set{});
    int init[1] = {1};
    b_automaton a(d, init, d->manager_associe()->Bdd_one(), d->manager_associe()->Bdd_zero());
    EXPECT_EQ(a.state_names, d->state_names);
    EXPECT_EQ(a.input_names, d->input_names);
    EXPECT_EQ(a.wood, d->wood);
    EXPECT_EQ(a.level_count, 0);
    EXPECT_NE(a.init_values, init);
    init[0] = 0;
    EXPECT_EQ(a.init_values[0], 1);
    EXPECT_EQ(a.assertion, a.manager_associe()->Bdd_one());
    EXPECT_EQ(a.invariant, a.manager_associe()->Bdd_zero());
    EXPECT_EQ(a.nb_state_vars(), 1);
    EXPECT_EQ(a.nb_inputs(), 1);
    EXPECT_EQ(a.nb_outputs(), 1);
    EXPECT_EQ(a.nb_locals(), 0);
    EXPECT_EQ(a.nb_equ_def(), 0);
}

TEST(BAutomaton, KeepsTheNextStateAndOutputEquations)
{
    b_automaton* a = two_register_automaton(0, 0);
    EXPECT_EQ(a->nb_equ_def(), 3);
    EXPECT_EQ(a->wood->exp_by_bddname("d1")->getUserType(), 1);
    EXPECT_EQ(a->wood->exp_by_bddname("y")->getUserType(), 1);
    EXPECT_EQ(a->wood->exp_by_bddname("t")->getUserType(), 0);
    EXPECT_EQ(a->equ_def(0)->name, "d1"); // position order
    EXPECT_EQ(a->equ_def(2)->name, "t");
    delete a;
}

TEST(BAutomaton, LookupsByNameAndPosition)
{
    b_automaton* a = two_register_automaton(0, 0);
    bddpp_manager* m = a->manager_associe();
    EXPECT_EQ(a->wood_associee(), a->wood);
    EXPECT_EQ(a->ident_associe("a"), 4);
    EXPECT_EQ(a->ident_associe(a->bdd_ident_associe("z")), 7);
    EXPECT_EQ(a->nom_ident_associe(a->bdd_ident_associe("z")), "z");
    EXPECT_EQ(a->nom_associe(8), "t");
    EXPECT_EQ(a->bdd_exp_ident_associe("d1"), m->Bdd_var_by_name("q2"));
    EXPECT_EQ(a->bdd_exp_ident_associe("z"), m->Bdd_zero()); // no equation
    EXPECT_EQ(a->bdd_exp_ident_associe("nothing"), m->Bdd_zero());
    EXPECT_EQ(a->num_input("b"), 1);
    EXPECT_EQ(a->num_input("y"), -1);
    EXPECT_EQ(a->num_output("z"), 1);
    EXPECT_EQ(a->num_local("t"), 0);
    delete a;
}

TEST(BAutomaton, NumbersOfAnEmptyArrayAreMinusOne)
{
    b_autom_dec* d = new b_autom_dec(names{}, names{}, name_set{}, name_set{}, name_set{});
    b_automaton a(d, nullptr, d->manager_associe()->Bdd_one(), d->manager_associe()->Bdd_zero());
    EXPECT_EQ(a.num_input("a"), -1);
    EXPECT_EQ(a.num_output("a"), -1);
    EXPECT_EQ(a.num_local("a"), -1);
    EXPECT_EQ(a.bdd_etat_init(), a.manager_associe()->Bdd_one());
}

// A name by number, with the stderr text it writes.
struct name_case {
    std::string (b_automaton::*get)(int); // the operation
    int number;                           // its argument
    std::string name;                     // the result
    std::string message;                  // the stderr text
};

TEST(BAutomaton, NamesByNumberAndTheirOutOfRangeMessages)
{
    b_automaton* a = two_register_automaton(0, 0);
    const name_case cases[] = {
        {&b_automaton::nom_state_var, 1, "q2", ""},
        {&b_automaton::nom_next_state_var, 0, "d1", ""},
        {&b_automaton::nom_input, 0, "a", ""},
        {&b_automaton::nom_output, 1, "z", ""},
        {&b_automaton::nom_local, 0, "t", ""},
        {&b_automaton::nom_state_var, 2, "?", "dans b_automaton::nom_state_var() : indice hors limite !\n"},
        {&b_automaton::nom_next_state_var, -1, "?", "dans b_automaton::nom_next_state_var() : indice hors limite !\n"},
        {&b_automaton::nom_input, -1, "?", "dans b_automaton::nom_input() : indice hors limite !\n"},
        {&b_automaton::nom_input, 2, "?", "dans b_automaton::nom_input() : indice hors limite !\n"},
        {&b_automaton::nom_output, 2, "?", "dans b_automaton::nom_output() : indice hors limite !\n"},
        {&b_automaton::nom_local, 1, "?", "dans b_automaton::nom_local() : indice hors limite !\n"},
    };
    for (const name_case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_EQ((a->*c.get)(c.number), c.name) << c.number;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
    }
    delete a;
}

TEST(BAutomaton, RenamesChangeTheArrayOnly)
{
    b_automaton* a = two_register_automaton(0, 0);
    a->change_nom_input(0, "in0");
    a->change_nom_output(1, "out1");
    EXPECT_EQ(a->nom_input(0), "in0");
    EXPECT_EQ(a->nom_output(1), "out1");
    EXPECT_EQ(a->ident_associe("a"), 4); // the variable keeps its name
    EXPECT_EQ(a->nom_associe(4), "a");
    testing::internal::CaptureStderr();
    a->change_nom_input(2, "x");
    a->change_nom_output(-1, "x");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "dans b_automaton::change_nom_input() : indice hors limite !\n"
              "dans b_automaton::change_nom_output() : indice hors limite !\n");
    EXPECT_EQ(a->inputs_list(), (names{"in0", "b"}));
    EXPECT_EQ(a->outputs_list(), (names{"y", "out1"}));
    delete a;
}

TEST(BAutomaton, ReverseOutputComplementsItsEquation)
{
    b_automaton* a = two_register_automaton(0, 0);
    bddpp_manager* m = a->manager_associe();
    a->reverse_output(0);
    EXPECT_EQ(a->bdd_exp_ident_associe("y"), m->Bdd_not(m->Bdd_var_by_name("a")));
    a->reverse_output(1); // no equation: nothing
    EXPECT_EQ(a->nb_equ_def(), 3);
    delete a;
}

// q2 is fed by q1 and q1 is also an output: the order is q1 q2 d1 a y t, and the layout formula
// would put the outputs q1 and y at positions 5 (t) and 6 (none).
b_automaton* repeated_names_automaton()
{
    b_autom_dec* d = new b_autom_dec(names{"q1", "q2"}, names{"d1", "q1"}, name_set{"a"}, name_set{"q1", "y"},
                                     name_set{"t"});
    bddpp_manager* m = d->manager_associe();
    new Bddexpression("d1", d->wood, m->Bdd_var_by_name("d1"), m->Bdd_var_by_name("a"), 0, 0);
    new Bddexpression("y", d->wood, m->Bdd_var_by_name("y"), m->Bdd_var_by_name("q2"), 0, 0);
    new Bddexpression("t", d->wood, m->Bdd_var_by_name("t"), m->Bdd_var_by_name("a"), 0, 0);
    int init[2] = {0, 1};
    return new b_automaton(d, init, m->Bdd_one(), m->Bdd_zero());
}

TEST(BAutomaton, RepeatedNamesKeepAndReverseTheRightEquations)
{
    b_automaton* a = repeated_names_automaton();
    bddpp_manager* m = a->manager_associe();
    EXPECT_EQ(a->ident_associe("y"), 4);
    EXPECT_EQ(a->wood->exp_by_bddname("d1")->getUserType(), 1);
    EXPECT_EQ(a->wood->exp_by_bddname("y")->getUserType(), 1);
    EXPECT_EQ(a->wood->exp_by_bddname("t")->getUserType(), 0);
    a->reverse_output(1);
    EXPECT_EQ(a->bdd_exp_ident_associe("y"), m->Bdd_not(m->Bdd_var_by_name("q2")));
    EXPECT_EQ(a->bdd_exp_ident_associe("t"), m->Bdd_var_by_name("a"));
    a->reverse_output(0); // q1 is a register: no equation
    a->reverse_output(2); // no output 2
    a->reverse_output(-1);
    EXPECT_EQ(a->bdd_exp_ident_associe("y"), m->Bdd_not(m->Bdd_var_by_name("q2")));
    EXPECT_EQ(a->bdd_exp_ident_associe("t"), m->Bdd_var_by_name("a"));
    EXPECT_EQ(a->bdd_exp_ident_associe("d1"), m->Bdd_var_by_name("a"));
    delete a;
}

// Outputs beyond the last one leave the locals alone; a renamed output is still found.
TEST(BAutomaton, ReverseOutputOfARenamedOutput)
{
    b_automaton* a = two_register_automaton(0, 0);
    bddpp_manager* m = a->manager_associe();
    a->change_nom_output(0, "out0");
    a->reverse_output(0);
    EXPECT_EQ(a->bdd_exp_ident_associe("y"), m->Bdd_not(m->Bdd_var_by_name("a")));
    a->reverse_output(2); // the layout would give the local t
    EXPECT_EQ(a->bdd_exp_ident_associe("t"), m->Bdd_var_by_name("b"));
    delete a;
}

TEST(BAutomaton, InitialValues)
{
    b_automaton* a = two_register_automaton(1, 2);
    EXPECT_EQ(a->valeur_initiale_state_var(0), 1);
    EXPECT_EQ(a->valeur_initiale_state_var(1), 2);
    testing::internal::CaptureStderr();
    EXPECT_EQ(a->valeur_initiale_state_var(2), 2);
    EXPECT_EQ(a->valeur_initiale_state_var(-1), 2);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: call of b_automaton::valeur_initiale_state_var() with an id out of range ...\n"
              "Warning: call of b_automaton::valeur_initiale_state_var() with an id out of range ...\n");
    delete a;
}

TEST(BAutomaton, EtatInitFillsEveryVariable)
{
    // two registers of initial values 1 and 2, five variables in all
    b_autom_dec* d = new b_autom_dec(names{"q1", "q2"}, names{"d1", "d2"}, name_set{"a"}, name_set{}, name_set{});
    int init[2] = {1, 2};
    b_automaton a(d, init, d->manager_associe()->Bdd_one(), d->manager_associe()->Bdd_zero());
    int vals[5] = {-7, -7, -7, -7, -7};
    a.etat_init(vals);
    EXPECT_EQ(std::vector<int>(vals, vals + 5), (std::vector<int>{1, 2, 2, 2, 2}));
}

TEST(BAutomaton, BddEtatInitCountsUndeterminedAsFalse)
{
    b_autom_dec* d = new b_autom_dec(names{"r0", "r1", "r2"}, names{"n0", "n1", "n2"}, name_set{}, name_set{},
                                     name_set{});
    bddpp_manager* m = d->manager_associe();
    int init[3] = {1, 0, 2};
    b_automaton a(d, init, m->Bdd_one(), m->Bdd_zero());
    bdd r0 = m->Bdd_var_by_name("r0"), r1 = m->Bdd_var_by_name("r1"), r2 = m->Bdd_var_by_name("r2");
    bdd expected = m->Bdd_and(m->Bdd_and(r0, m->Bdd_not(r1)), m->Bdd_not(r2));
    EXPECT_EQ(a.bdd_etat_init(), expected);
}

TEST(BAutomaton, ListsFollowTheArrays)
{
    b_automaton* a = two_register_automaton(0, 0);
    EXPECT_EQ(a->state_vars_list(), (names{"q1", "q2"}));
    EXPECT_EQ(a->next_state_vars_list(), (names{"d1", "d2"}));
    EXPECT_EQ(a->inputs_list(), (names{"a", "b"}));
    EXPECT_EQ(a->outputs_list(), (names{"y", "z"}));
    EXPECT_EQ(a->locals_list(), (names{"t"}));
    delete a;
}

TEST(BAutomaton, SharedManagerFlag)
{
    b_automaton* a = two_register_automaton(0, 0);
    EXPECT_EQ(a->set_common_bdd_manager(1), a->wood);
    EXPECT_EQ(a->wood->shared_manager, 1);
    a->set_common_bdd_manager(0);
    EXPECT_EQ(a->wood->shared_manager, 0);
    delete a;
}

TEST(BAutomatonConnector, ConstructionAssignmentAndText)
{
    b_automaton_connector c;
    std::ostringstream out;
    out << c;
    EXPECT_EQ(out.str(), "-1:-1 --> -1:-1\n");
    b_automaton_connector w(0, 2, 1, 3);
    c = w;
    out.str("");
    out << c;
    EXPECT_EQ(out.str(), "0:2 --> 1:3\n");
    EXPECT_EQ(c.from_automaton, 0);
    EXPECT_EQ(c.to_input, 3);
}

} // namespace
