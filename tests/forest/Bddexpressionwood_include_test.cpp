// The inclusion of one forest into another: new variables, copied equations, warnings, and the
// refusals that leave both forests as they were.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "tests/support/forest_fixture.h"

namespace {

// Inputs a, b (0, 1); x := a AND b (early 1, late 2, user type 1), y := NOT x OR b (early 2,
// late 3), z abstract "fz" reading a and y (early 3, late 3, user type 7), u := z AND a (early 4,
// late 4), and an unused input c at 6.
struct source_forest : small_forest {
    source_forest() : small_forest({"a", "b", "x", "y", "z", "u", "c"})
    {
        new Bddexpression("x", &w, v("x"), AND(v("a"), v("b")), 1, 2, 1);
        new Bddexpression("y", &w, v("y"), OR(NOT(v("x")), v("b")), 2, 3);
        std::set<long> reads = {pos("a"), pos("y")};
        Bddexpression* z = new Bddexpression(pos("z"), &w, reads, "fz", 3, 3);
        z->setUserType(7);
        new Bddexpression("u", &w, v("u"), AND(v("z"), v("a")), 4, 4);
        w.update_nb_level(4);
    }
};

// The names that the copies' variables get, in the order they are created.
const char* const COPIED[] = {"a", "b", "x", "y", "z", "u"};

// A forest over m that leaves m to its owner.
std::unique_ptr<Bddexpressionwood> sharing(bddpp_manager* m)
{
    std::unique_ptr<Bddexpressionwood> w(new Bddexpressionwood(m));
    w->shared_manager = 1;
    return w;
}

// The copy of the source's equations in w, new names through name: positions, functions, dates,
// types, definitions and reader sets.
void expect_copy(Bddexpressionwood& w, const std::function<std::string(const std::string&)>& name)
{
    bddpp_manager* m = w.manager;
    auto v = [&](const char* old) { return m->Bdd_var_by_name(name(old)); };
    auto p = [&](const char* old) { return m->Index_var_by_name(name(old)); };
    ASSERT_EQ(w.exp_number(), 4);
    Bddexpression* x = w.exp_table[p("x")];
    Bddexpression* y = w.exp_table[p("y")];
    Bddexpression* z = w.exp_table[p("z")];
    Bddexpression* u = w.exp_table[p("u")];
    ASSERT_TRUE(x && y && z && u);
    EXPECT_EQ(x->bdd_exp, m->Bdd_and(v("a"), v("b")));
    EXPECT_EQ(y->bdd_exp, m->Bdd_or(m->Bdd_not(v("x")), v("b")));
    EXPECT_EQ(u->bdd_exp, m->Bdd_and(v("z"), v("a")));
    EXPECT_EQ(z->abstraction, 1);
    EXPECT_EQ(z->exp_def, "fz");
    EXPECT_EQ(z->bdd_var, v("z"));
    EXPECT_EQ(z->dependances, (std::set<long>{p("a"), p("y")}));
    EXPECT_EQ(x->dependances, (std::set<long>{p("a"), p("b")}));
    EXPECT_EQ(x->early_date, 1);
    EXPECT_EQ(x->getLateDate(), 2);
    EXPECT_EQ(x->user_type, 1);
    EXPECT_EQ(y->early_date, 2);
    EXPECT_EQ(y->getLateDate(), 3);
    EXPECT_EQ(y->user_type, 0);
    EXPECT_EQ(z->early_date, 3);
    EXPECT_EQ(z->getLateDate(), 3);
    EXPECT_EQ(z->user_type, 7);
    EXPECT_EQ(u->early_date, 4);
    EXPECT_EQ(w.readers[p("a")], (std::set<long>{p("x"), p("z"), p("u")}));
    EXPECT_EQ(w.readers[p("z")], (std::set<long>{p("u")}));
    EXPECT_EQ(w.readers[p("y")], (std::set<long>{p("z")}));
    EXPECT_EQ(w.nb_level, 4);
}

// What the checks compare before and after a refused inclusion.
struct snapshot {
    long variables;
    int equations;
    int slots;
    std::string text;
    explicit snapshot(Bddexpressionwood& w)
        : variables(w.manager->nvars), equations(w.exp_number()), slots(w.nb_bdd_vars)
    {
        std::ostringstream os;
        w.Put_basic_doc(os, 1);
        text = os.str();
    }
    bool operator==(const snapshot& s) const
    {
        return variables == s.variables && equations == s.equations && slots == s.slots && text == s.text;
    }
};

std::string captured(const std::function<void()>& run)
{
    testing::internal::CaptureStderr();
    run();
    return testing::internal::GetCapturedStderr();
}

} // namespace

TEST(IncludeWood, SuffixSameManager)
{
    source_forest s;
    std::unique_ptr<Bddexpressionwood> d = sharing(s.m);
    long gc = s.m->gc_calls;
    EXPECT_EQ(captured([&] { d->Include_wood_instance(&s.w, "_1"); }), "");
    // one new variable per defined or read variable, at the end in ascending order; c is unused
    for (int k = 0; k < 6; ++k) EXPECT_EQ(s.m->Name_var_by_index(7 + k), std::string(COPIED[k]) + "_1");
    EXPECT_EQ(s.m->nvars, 13);
    expect_copy(*d, [](const std::string& n) { return n + "_1"; });
    EXPECT_EQ(d->exp_table[9]->name, "x_1");
    EXPECT_EQ(d->exp_table[11]->name, "z_1");
    // the copies read the new variables only
    for (long i : d->expression_ids)
        for (long r : d->exp_table[i]->dependances) EXPECT_GE(r, 7);
    // the source keeps its equations and follows the manager's growth
    EXPECT_EQ(s.w.exp_number(), 4);
    EXPECT_EQ(s.w.nb_bdd_vars, 13);
    EXPECT_EQ(s.eq("x")->bdd_exp, s.AND(s.v("a"), s.v("b")));
    EXPECT_EQ(s.m->gc_calls, gc + 1);
}

TEST(IncludeWood, SuffixOtherManager)
{
    source_forest s;
    small_forest d({"q"});
    EXPECT_EQ(captured([&] { d.w.Include_wood_instance(&s.w, "_o"); }), "");
    EXPECT_EQ(d.m->nvars, 7);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(d.m->Name_var_by_index(1 + k), std::string(COPIED[k]) + "_o");
    expect_copy(d.w, [](const std::string& n) { return n + "_o"; });
    EXPECT_EQ(d.w.exp_table[3]->name, "x_o");
    EXPECT_EQ(s.m->nvars, 7); // the source's manager is left alone
    // a second source with another suffix goes next to the first
    source_forest t;
    d.w.Include_wood_instance(&t.w, "_p");
    EXPECT_EQ(d.w.exp_number(), 8);
    EXPECT_EQ(d.m->Name_var_by_index(7), "a_p");
}

TEST(IncludeWood, RenamingSameManager)
{
    source_forest s;
    s.w.late_dates[s.pos("a")] = 5; // an input's late date goes with its new variable
    std::unique_ptr<Bddexpressionwood> d = sharing(s.m);
    std::map<std::string, std::string> renaming;
    for (const char* n : COPIED) renaming[n] = std::string("R") + n;
    std::string errors = captured([&] { d->Include_wood_instance(&s.w, &renaming); });
    EXPECT_EQ(errors, "WOOD A INTEGRER avec meme Bdd_manager \n");
    EXPECT_EQ(renaming.size(), 6u);
    expect_copy(*d, [](const std::string& n) { return "R" + n; });
    EXPECT_EQ(d->exp_table[s.m->Index_var_by_name("Rx")]->name, "Rx");
    EXPECT_EQ(d->late_dates[s.m->Index_var_by_name("Ra")], 5);
}

TEST(IncludeWood, RenamingOtherManagerLackingAnInput)
{
    source_forest s;
    small_forest d;
    std::map<std::string, std::string> renaming = {{"a", "A"}, {"x", "X"}, {"y", "Y"}, {"z", "Z"}, {"u", "U"}};
    std::string errors = captured([&] { d.w.Include_wood_instance(&s.w, &renaming); });
    EXPECT_EQ(errors, "Warning: no renaming for : b\n");
    // the map now holds the missing name, with an empty new name: the name of b's copy
    EXPECT_EQ(renaming.size(), 6u);
    EXPECT_EQ(renaming.at("b"), "");
    EXPECT_EQ(d.m->Name_var_by_index(1), "");
    expect_copy(d.w, [](const std::string& n) { return n == "b" ? std::string() : std::string(1, char(n[0] - 32)); });
}

TEST(IncludeWood, RenamingWithoutEquationNameIsWarned)
{
    source_forest s;
    s.eq("y")->name = "why";  // an equation named apart from its variable
    small_forest d;
    std::map<std::string, std::string> renaming = {{"a", "A"}, {"b", "B"}, {"x", "X"}, {"y", "Y"}, {"z", "Z"}, {"u", "U"}};
    std::string errors = captured([&] { d.w.Include_wood_instance(&s.w, &renaming); });
    EXPECT_EQ(errors, "Warning: no renaming for : why\n");
    EXPECT_EQ(renaming.at("why"), "");
    EXPECT_EQ(d.w.exp_table[d.pos("Y")]->name, "");
    EXPECT_EQ(d.w.exp_table[d.pos("Y")]->bdd_exp, d.OR(d.NOT(d.v("X")), d.v("B")));
}

TEST(IncludeWood, RenamingSameManagerLackingAnInputIsWarned)
{
    source_forest s;
    std::unique_ptr<Bddexpressionwood> d = sharing(s.m);
    std::map<std::string, std::string> renaming = {{"b", "B"}, {"x", "X"}, {"y", "Y"}, {"z", "Z"}, {"u", "U"}};
    std::string errors = captured([&] { d->Include_wood_instance(&s.w, &renaming); });
    EXPECT_EQ(errors, "WOOD A INTEGRER avec meme Bdd_manager \nWarning: no renaming for : a\n");
    EXPECT_EQ(d->exp_number(), 4);
    EXPECT_EQ(d->exp_table[s.m->Index_var_by_name("X")]->bdd_exp, s.AND(s.v(""), s.v("B")));
}

// Includes the source over its own manager through a map that lacks y, a defined variable.
void include_without_y()
{
    source_forest s;
    std::unique_ptr<Bddexpressionwood> d = sharing(s.m);
    std::map<std::string, std::string> renaming = {{"a", "A"}, {"b", "B"}, {"x", "X"}, {"z", "Z"}, {"u", "U"}};
    d->Include_wood_instance(&s.w, &renaming);
    if (s.m->Index_var_by_name("X") >= 0) std::cerr << "copied before the end" << std::endl;
}

TEST(IncludeWoodDeathTest, SameManagerEndsBeforeCopyingWhenADefinedVariableHasNoName)
{
    // y comes after x in position order: the whole map is looked at before x is copied
    EXPECT_EXIT(include_without_y(), testing::ExitedWithCode(1),
                "^WOOD A INTEGRER avec meme Bdd_manager \nError: no renaming for : y\n$");
}

TEST(IncludeWood, RefusalsChangeNothing)
{
    const std::string E = "ERROR in Bddexpressionwood::Include_wood_instance(): ";
    source_forest s;
    small_forest d;
    d.w.Include_wood_instance(&s.w, "_1");
    std::unique_ptr<Bddexpressionwood> shared = sharing(s.m);
    struct { std::string name; std::function<void()> run; std::string message; } cases[] = {
        {"the same suffix twice", [&] { d.w.Include_wood_instance(&s.w, "_1"); },
         E + "`a_1' (new name of `a') is already a variable, nothing included\n"},
        {"itself", [&] { d.w.Include_wood_instance(&d.w, "_2"); },
         E + "a forest cannot include itself, nothing included\n"},
        {"itself by map", [&] {
             std::map<std::string, std::string> r;
             d.w.Include_wood_instance(&d.w, &r);
         }, E + "a forest cannot include itself, nothing included\n"},
        {"no forest", [&] { d.w.Include_wood_instance(nullptr, "_2"); }, E + "no forest to include, nothing included\n"},
        {"no map", [&] { d.w.Include_wood_instance(&s.w, nullptr); }, E + "no renaming map, nothing included\n"},
        {"a suffix that names an existing variable", [&] {
             source_forest t;
             t.w.New_var_last("b_1");
             new Bddexpression("c", &t.w, t.v("c"), t.v("b_1"), 0, 0);
             small_forest e({"b_1_1"});
             snapshot before(e.w);
             e.w.Include_wood_instance(&t.w, "_1");
             EXPECT_TRUE(snapshot(e.w) == before);
         }, E + "`b_1_1' (new name of `b_1') is already a variable, nothing included\n"},
        {"an empty suffix over the same manager", [&] { shared->Include_wood_instance(&s.w, ""); },
         E + "`a' (new name of `a') is already a variable, nothing included\n"},
    };
    for (auto& c : cases) {
        snapshot dest(d.w), src(s.w), sh(*shared);
        EXPECT_EQ(captured(c.run), c.message) << c.name;
        EXPECT_TRUE(snapshot(d.w) == dest) << c.name;
        EXPECT_TRUE(snapshot(s.w) == src) << c.name;
        EXPECT_TRUE(snapshot(*shared) == sh) << c.name;
    }
}

TEST(IncludeWood, RenamingsThatMergeVariablesAreRefused)
{
    const std::string E = "ERROR in Bddexpressionwood::Include_wood_instance(): ";
    struct { const char* name; std::map<std::string, std::string> renaming; int same; std::string message; } cases[] = {
        {"two missing renamings", {{"x", "X"}, {"y", "Y"}, {"z", "Z"}, {"u", "U"}}, 0,
         E + "`' would be the new name of both `a' and `b', nothing included\n"},
        {"one new name twice", {{"a", "A"}, {"b", "A"}, {"x", "X"}, {"y", "Y"}, {"z", "Z"}, {"u", "U"}}, 0,
         E + "`A' would be the new name of both `a' and `b', nothing included\n"},
        {"a new name that is a variable", {{"a", "A"}, {"b", "B"}, {"x", "X"}, {"y", "q"}, {"z", "Z"}, {"u", "U"}}, 0,
         E + "`q' (new name of `y') is already a variable, nothing included\n"},
        {"an old name over the same manager", {{"a", "b"}, {"b", "B"}, {"x", "X"}, {"y", "Y"}, {"z", "Z"}, {"u", "U"}}, 1,
         "WOOD A INTEGRER avec meme Bdd_manager \n" + E + "`b' (new name of `a') is already a variable, nothing included\n"},
        {"two missing inputs over the same manager", {{"x", "X"}, {"y", "Y"}, {"z", "Z"}, {"u", "U"}}, 1,
         "WOOD A INTEGRER avec meme Bdd_manager \n" + E + "`' would be the new name of both `a' and `b', nothing included\n"},
    };
    for (auto& c : cases) {
        source_forest s;
        small_forest other({"q"});
        std::unique_ptr<Bddexpressionwood> shared = sharing(s.m);
        Bddexpressionwood& d = c.same ? *shared : other.w;
        std::map<std::string, std::string> renaming = c.renaming;
        snapshot dest(d), src(s.w);
        EXPECT_EQ(captured([&] { d.Include_wood_instance(&s.w, &renaming); }), c.message) << c.name;
        EXPECT_TRUE(snapshot(d) == dest) << c.name;
        EXPECT_TRUE(snapshot(s.w) == src) << c.name;
        EXPECT_EQ(renaming, c.renaming) << c.name; // the map gains nothing either
    }
}
