// The equation record: constructors, copies, comparison, accessors and free-standing setters.
#include <sstream>

#include "tests/support/forest_fixture.h"

TEST(Equation, DefaultAndForestOnly)
{
    Bddexpression e;
    EXPECT_EQ(e.wood, nullptr);
    EXPECT_EQ(e.abstraction, 1);
    EXPECT_EQ(e.weight, 1);
    EXPECT_EQ(e.early_date, 0);
    EXPECT_EQ(e.user_type, 0);
    EXPECT_EQ(e.bdd_var, bdd());
    EXPECT_EQ(e.getLateDate(), 0);
    EXPECT_EQ(e.my_bddname(), "");
    small_forest f({"a"});
    Bddexpression g(&f.w);
    EXPECT_EQ(g.wood, &f.w);
    EXPECT_EQ(f.w.exp_number(), 0);
}

TEST(Equation, ConstructorsWithAForest)
{
    small_forest f({"a", "b", "x", "y", "z", "u"});
    Bddexpression* x = new Bddexpression("ex", &f.w, f.v("x"), f.AND(f.v("a"), f.v("b")), 2, 3);
    EXPECT_EQ(x->name, "ex");
    EXPECT_EQ(x->abstraction, 0);
    EXPECT_EQ(x->dependances, (std::set<long>{0, 1}));
    EXPECT_EQ(x->early_date, 2);
    EXPECT_EQ(x->getLateDate(), 3);
    EXPECT_EQ(x->my_bddname(), "x");
    EXPECT_EQ(f.w.exp_table[2], x);
    Bddexpression* y = new Bddexpression("y", &f.w, f.v("y"), f.v("x"), 0, 0, 5);
    EXPECT_EQ(y->user_type, 5);
    Bddexpression* z = new Bddexpression(&f.w, f.v("z"), f.NOT(f.v("a")), 0, 0);
    EXPECT_EQ(z->name, "z");
    Bddexpression* u = new Bddexpression("u", &f.w, f.v("u"), f.v("a"), "fun", 1, 0, 2);
    EXPECT_EQ(u->abstraction, 1);
    EXPECT_EQ(u->bdd_exp, bdd());
    EXPECT_TRUE(u->dependances.empty());
    EXPECT_EQ(f.w.exp_table[5], u);
    EXPECT_EQ(f.w.readers[0], (std::set<long>{2, 4}));
    std::set<long> D{1};
    Bddexpression* w = new Bddexpression(5, &f.w, D, "g", 0, 0);
    EXPECT_EQ(w->name, "u");
    EXPECT_EQ(w->dependances, D);
    EXPECT_EQ(f.w.exp_table[5], w);
    delete u;
}

TEST(Equation, ConstructorsWithoutAForest)
{
    small_forest f({"a", "x"});
    Bddexpression e("n", nullptr, f.v("x"), f.v("a"), 4, 9);
    EXPECT_EQ(e.abstraction, 1);
    EXPECT_EQ(e.bdd_var, bdd());
    EXPECT_EQ(e.bdd_exp, bdd());
    EXPECT_EQ(e.name, "n");
    EXPECT_EQ(e.early_date, 4);
    Bddexpression d("n", nullptr, f.v("x"), f.v("a"), "def", 0, 0, 1);
    EXPECT_EQ(d.exp_def, "def");
    std::set<long> D{3};
    Bddexpression a(1, nullptr, nullptr, &D, 0, 0);
    EXPECT_EQ(a.dependances, D);
    EXPECT_EQ(a.name, "");
    EXPECT_EQ(f.w.exp_number(), 0);
}

TEST(Equation, ComparisonAndCopies)
{
    small_forest f({"a", "x"});
    Bddexpression* x = f.define("x", f.NOT(f.v("a")));
    x->weight = 4;
    x->early_date = 2;
    EXPECT_TRUE(*x == *x);
    {
        Bddexpression copy(*x);
        EXPECT_TRUE(copy == *x);
        EXPECT_FALSE(copy != *x);
        EXPECT_EQ(copy.weight, 4);
        EXPECT_EQ(copy.wood, &f.w);
        EXPECT_EQ(copy.dependances, (std::set<long>{0}));
        copy.exp_def = "other";
        EXPECT_TRUE(copy != *x);
        EXPECT_EQ(f.w.exp_table[1], x);
    }
    EXPECT_EQ(f.w.exp_table[1], x);
    EXPECT_EQ(f.w.readers[0], (std::set<long>{1}));
    Bddexpression assigned;
    assigned = *x;
    EXPECT_TRUE(assigned == *x);
    EXPECT_EQ(assigned.early_date, 2);
    Bddexpression free_standing("s", nullptr, bdd(), bdd(), 0, 0);
    free_standing.abstraction = 0;
    assigned = free_standing;
    EXPECT_EQ(assigned.bdd_var, bdd());
    EXPECT_EQ(assigned.abstraction, 0);
    Bddexpression copy_of_free(free_standing);
    EXPECT_EQ(copy_of_free.abstraction, 1);
}

TEST(Equation, AccessorsAndDefinitions)
{
    small_forest f({"a", "x"});
    Bddexpression* x = f.define("x", f.v("a"));
    x->setUserType(3);
    x->setW(7);
    EXPECT_EQ(x->getUserType(), 3);
    EXPECT_EQ(x->getW(), 7);
    x->setExpDef("");
    EXPECT_EQ(x->abstraction, 0);
    x->setExpDef("g");
    EXPECT_EQ(x->abstraction, 1);
    EXPECT_EQ(x->getExpDef(), "g");
    EXPECT_EQ(x->bdd_exp, f.v("a"));
    x->setExpDef("");
    EXPECT_EQ(x->abstraction, 1);
    x->setAbstraction(0);
    x->add_specific_var_dependance(9);
    EXPECT_EQ(x->set_of_index_used_variables(), (std::set<long>{0, 1, 9}));
    EXPECT_EQ(f.w.readers[0], (std::set<long>{1})); // the reader sets do not follow
    x->setLateDate(4);
    EXPECT_EQ(f.w.late_dates[1], 4);
    Bddexpression free_standing;
    testing::internal::CaptureStderr();
    free_standing.setLateDate(1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "internal error in Bddexpression::setLateDate(): no wood found!\n");
}

TEST(Equation, FreeStandingSetters)
{
    small_forest f({"a", "b", "x"});
    Bddexpression e;
    e.setBddVar(f.m, f.v("x"));
    e.setBddExp(f.m, f.AND(f.v("a"), f.v("b")));
    EXPECT_EQ(e.bdd_var, f.v("x"));
    EXPECT_EQ(e.abstraction, 0);
    EXPECT_EQ(e.dependances, (std::set<long>{0, 1}));
    e.setBddexpressionwood(&f.w);
    EXPECT_EQ(f.w.exp_table[2], &e);
    EXPECT_EQ(f.w.readers[1], (std::set<long>{2}));
    testing::internal::CaptureStderr();
    e.setBddVar(f.m, f.v("a"));
    e.setBddExp(f.m, f.v("a"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "In Bddexpression::setBddVar(bddpp_manager *, bdd): \n   wood already defined! Aborted  ...\n"
              "In Bddexpression::setBddExp(bddpp_manager *, bdd): \n   wood already defined! Aborted  ...\n"
              "   use only Bddexpression::setBddExp(bdd) !!!\n");
    EXPECT_EQ(e.bdd_var, f.v("x"));
    f.w.exp_table[2] = nullptr; // e lives on the stack
    f.w.ids_erase(2);
}

TEST(Equation, ComplementOfTheRightMember)
{
    small_forest f({"a", "b", "x"});
    Bddexpression* x = f.define("x", f.OR(f.v("a"), f.v("b")));
    x->append_not_exp();
    EXPECT_EQ(x->bdd_exp, f.NOT(f.OR(f.v("a"), f.v("b"))));
    EXPECT_EQ(x->dependances, (std::set<long>{0, 1}));
    Bddexpression free_standing;
    testing::internal::CaptureStderr();
    free_standing.append_not_exp();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "In Bddexpression::append_not_exp(): \n   no wood defined! Aborted  ...\n");
}

TEST(EquationText, FreeStanding)
{
    Bddexpression concrete("c", nullptr, bdd(), bdd(), 0, 0, 4);
    concrete.abstraction = 0;
    std::ostringstream address, out;
    address << static_cast<const void*>(&concrete);
    out << concrete;
    EXPECT_EQ(out.str(), "(" + address.str() + ") <c> [type:4]");
    Bddexpression abstract("g", nullptr, bdd(), bdd(), "fun", 0, 0, 0);
    EXPECT_EQ(abstract.debug_in_string(), "<g> - = fun()");
}

TEST(EquationText, AbstractInAForest)
{
    small_forest f({"a", "u"});
    Bddexpression* u = new Bddexpression("u", &f.w, f.v("u"), bdd(), "fun", 0, 0, 2);
    u->weight = -1;
    EXPECT_EQ(u->debug_in_string(), "<u> u = fun()  weight: 18446744073709551615 usertype: 2");
    Bddexpression* e = new Bddexpression(&f.w);
    e->abstraction = 0;
    EXPECT_EQ(e->debug_in_string(), "<> - = --  weight: 1 usertype: 0");
    delete e;
}
