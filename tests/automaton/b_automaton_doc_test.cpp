// The plain-text description, the text dump and the two sum-of-products helpers.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

const writer_case DOC_CASES[] = {
    {"registers, locals and equations", circuit_a, "ca", R"(module: ca

Entree(s) booleenne(s): a, b

Sortie(s) booleenne(s): y

Registre(s):
 - qvaleur initiale: false, prochaine valeur: d

Equation(s):
t = q and a;
y = b or not b and t;
d = a and not y or not a and y;

fin de la documentation ...

)"},
    {"constant 0 keeps its sum-of-products text", circuit_v, "cv", R"(module: cv

Entree(s) booleenne(s): a

Sortie(s) booleenne(s): y

Registre(s):
 - rvaleur initiale: false, prochaine valeur: a
 - svaleur initiale: false, prochaine valeur: r

Equation(s):
k = 0;
y = r and s;
z = y;

fin de la documentation ...

)"},
    {"nothing at all", circuit_empty, "e0", R"(module: e0

Aucune Entree ...

Aucune Sortie ...

Registre(s):

fin de la documentation ...

)"},
    {"initial value 1", circuit_delay, "cd", R"(module: cd

Entree(s) booleenne(s): a

Sortie(s) booleenne(s): r

Registre(s):
 - rvaleur initiale: true, prochaine valeur: a

fin de la documentation ...

)"},
};

TEST(DocPut, GoldenDescriptions)
{
    for (const writer_case& c : DOC_CASES)
        EXPECT_EQ(written(c.circuit(), &b_automaton::DOC_put, c.name), c.expected) << c.label;
}

TEST(DocPut, UndeterminedInitialValue)
{
    test_circuit c = circuit_a();
    c.init = {2};
    std::string text = written(c, &b_automaton::DOC_put, "ca");
    EXPECT_NE(text.find("\n - qvaleur initiale: ???, prochaine valeur: d\n"), std::string::npos) << text;
}

std::string dump(const test_circuit& c)
{
    b_automaton* a = build_automaton(c);
    std::ostringstream out;
    out << *a;
    delete a;
    return out.str();
}

TEST(TextDump, Golden)
{
    EXPECT_EQ(dump(circuit_a()), R"(state q:d:0;

inputs a, b;

outputs y;

locals t;

initial 
d' = 0

definitions
d = a and not y or not a and y;
y = b or t;
t = q and a;

assertion 1;

invariant 0;

)");
    EXPECT_EQ(dump(circuit_empty()), "initial \n\nassertion 1;\n\ninvariant 0;\n\n");
}

TEST(TextDump, UndeterminedInitialValueAsNumber)
{
    test_circuit c = circuit_v();
    c.init = {2, 1};
    std::string text = dump(c);
    EXPECT_EQ(text.substr(0, 19), "state r:a:2, s:r:1;") << text;
    EXPECT_NE(text.find("\ninitial \na' = 2\nr' = 1\n\n"), std::string::npos) << text;
}

TEST(SopHelpers, BddtoStringAndPutbdd)
{
    b_automaton* a = build_automaton(circuit_a());
    bddpp_manager* m = a->manager_associe();
    bdd f = m->Bdd_or(m->Bdd_and(m->Bdd_var_by_name("a"), m->Bdd_not(m->Bdd_var_by_name("b"))),
                      m->Bdd_var_by_name("t"));
    EXPECT_EQ(a->bddtoString(f, 1), "a and  not b or t");
    std::ostringstream out;
    a->putbdd(f, out, 1);
    EXPECT_EQ(out.str(), "a and not b or t");
    EXPECT_EQ(a->bddtoString(m->Bdd_zero(), 0), "0");
    delete a;
}

} // namespace
