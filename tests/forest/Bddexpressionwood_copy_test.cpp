// Copies: forests with a cloned or a shared manager, assignment, equations carried to another forest.
#include "tests/support/forest_fixture.h"

// c holds the same system as f, rebuilt in manager m.
static void expect_same_system(dated_and_not& f, Bddexpressionwood& c, bddpp_manager* m)
{
    EXPECT_EQ(c.manager, m);
    EXPECT_EQ(c.Nb_bdd_vars(), 4);
    EXPECT_EQ(c.arrays_length, f.w.arrays_length);
    EXPECT_EQ(c.Nb_level(), 3);
    EXPECT_EQ(c.expression_ids, f.w.expression_ids);
    for (long p = 0; p < 4; p++) {
        EXPECT_EQ(c.readers[p], f.w.readers[p]);
        EXPECT_EQ(c.late_dates[p], f.w.late_dates[p]);
    }
    Bddexpression* x = c.exp_table[2];
    ASSERT_NE(x, nullptr);
    EXPECT_NE(x, f.eq("x"));
    EXPECT_EQ(x->wood, &c);
    EXPECT_EQ(x->bdd_exp, m->Bdd_and(m->Bdd_var_by_index(0), m->Bdd_var_by_index(1)));
    EXPECT_EQ(x->bdd_var, m->Bdd_var_by_index(2));
    EXPECT_EQ(x->early_date, 1);
    EXPECT_EQ(c.exp_table[3]->dependances, (std::set<long>{2}));
    EXPECT_EQ(c.earliest_sort(), positions({2, 3}));
}

TEST(ForestCopy, ClonesAnOwnedManager)
{
    dated_and_not f;
    {
        Bddexpressionwood c(f.w);
        EXPECT_NE(c.manager, f.m);
        EXPECT_EQ(c.shared_manager, 0);
        expect_same_system(f, c, c.manager);
        EXPECT_EQ(c.manager->Name_var_by_index(3), "y");
        Bddexpressionwood* p = new Bddexpressionwood(&f.w);
        expect_same_system(f, *p, p->manager);
        delete p;
    }
    EXPECT_EQ(f.eq("y")->bdd_exp, f.NOT(f.v("x")));
}

TEST(ForestCopy, SharesAManagerWhenFlagged)
{
    dated_and_not f;
    f.w.shared_manager = 1;
    {
        Bddexpressionwood c(f.w);
        EXPECT_EQ(c.shared_manager, 1);
        expect_same_system(f, c, f.m);
        c.exp_table[2]->append_not_exp();
        EXPECT_EQ(f.eq("x")->bdd_exp, f.AND(f.v("a"), f.v("b")));
    }
    f.w.shared_manager = 0;
    EXPECT_EQ(f.m->Name_var_by_index(0), "a"); // the manager outlived the copy
    EXPECT_EQ(f.eq("y")->bdd_exp, f.NOT(f.v("x")));
}

TEST(ForestCopy, Assignment)
{
    dated_and_not f;
    small_forest g({"p", "q"});
    g.define("q", g.NOT(g.v("p")));
    g.w = f.w;
    expect_same_system(f, g.w, g.w.manager);
    EXPECT_NE(g.w.manager, f.m);
    g.w = g.w;
    expect_same_system(f, g.w, g.w.manager);
}

TEST(EquationCopy, IntoAnotherForest)
{
    dated_and_not f;
    Bddexpressionwood other(new bddpp_manager(f.m));
    Bddexpression carried(&other, *f.eq("x"));
    EXPECT_EQ(carried.wood, &other);
    EXPECT_EQ(carried.bdd_exp, other.manager->Bdd_and(other.manager->Bdd_var_by_index(0), other.manager->Bdd_var_by_index(1)));
    EXPECT_EQ(carried.early_date, 1);
    EXPECT_EQ(other.exp_number(), 0);
    Bddexpression* registered = new Bddexpression(&f.w, &other, *f.eq("y"));
    EXPECT_EQ(other.exp_table[3], registered);
    EXPECT_EQ(registered->bdd_exp, other.manager->Bdd_not(other.manager->Bdd_var_by_index(2)));
    EXPECT_EQ(other.readers[2], (std::set<long>{3}));
    Bddexpression nowhere(nullptr, *f.eq("x"));
    EXPECT_EQ(nowhere.abstraction, 1);
    EXPECT_EQ(nowhere.bdd_exp, bdd());
    EXPECT_EQ(nowhere.name, "x");
}
