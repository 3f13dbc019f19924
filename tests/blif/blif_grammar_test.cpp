// The grammar: covers as functions, initial values, the automaton, traces, syntax errors and exits.
#include "tests/support/blif_reader_fixture.h"

namespace {

typedef std::vector<std::string> names;

// A file of one model with the given inputs and body.
std::string model(const std::string& inputs, const std::string& body)
{
    return ".model m\n.inputs " + inputs + "\n.outputs x\n" + body + ".end\n";
}

struct cover_case {
    const char* what;    // the case
    const char* inputs;  // the .inputs line
    const char* body;    // the .names block of x
    names over;          // inputs of the truth table
    const char* table;   // x over them, first input as the highest bit
};

TEST(BlifGrammar, CoversAsFunctions)
{
    const cover_case cases[] = {
        {"no row", "a", ".names x\n", {"a"}, "00"},
        {"no row with inputs", "a b", ".names a b x\n", {"a", "b"}, "0000"},
        {"constant 1", "a", ".names x\n1\n", {"a"}, "11"},
        {"explicit constant 0", "a", ".names x\n0\n", {"a"}, "00"},
        {"off-set row", "a", ".names a x\n0 0\n", {"a"}, "01"},
        {"two off-set rows", "a", ".names a x\n1 0\n0 0\n", {"a"}, "00"},
        {"two on-set rows", "a", ".names a x\n0 1\n1 1\n", {"a"}, "11"},
        {"short row", "a b", ".names a b x\n1\n", {"a", "b"}, "0011"},
        {"short row with a free value", "a b", ".names a b x\n-1\n", {"a", "b"}, "0101"},
        {"free output value", "a", ".names a x\n1 -\n", {"a"}, "01"},
        {"and", "a b", ".names a b x\n11 1\n", {"a", "b"}, "0001"},
        {"or", "a b", ".names a b x\n1- 1\n-1 1\n", {"a", "b"}, "0111"},
        {"nand as off-set", "a b", ".names a b x\n11 0\n", {"a", "b"}, "1110"},
        {"xor", "a b", ".names a b x\n01 1\n10 1\n", {"a", "b"}, "0110"},
        {"rows without blanks", "a b c", ".names a b c x\n1-0 1\n011 1\n", {"a", "b", "c"}, "00011010"},
        {"continued inputs line", "a \\\n b", ".names a b x\n11 1\n", {"a", "b"}, "0001"},
        {"continued names line", "a b", ".names a \\\nb x\n10 1\n", {"a", "b"}, "0010"},
        {"empty lines between rows", "a b", ".names a b x\n1- 1\n\n\n-1 1\n", {"a", "b"}, "0111"},
    };
    for (const cover_case& c : cases) {
        reading r = read_blif(model(c.inputs, c.body), {{"x", c.over}});
        EXPECT_EQ(r.result.parse_result, 0) << c.what << "\n" << r.errors;
        EXPECT_EQ(r.tables["x"], c.table) << c.what;
    }
}

TEST(BlifGrammar, LocalsAndRegisters)
{
    reading r = read_blif(".model m\n.inputs a b\n.outputs y\n.latch d q 1\n.latch e p 0\n"
                          ".names a t\n0 1\n.names t b q y\n1-1 1\n.names a q d\n11 1\n.names p e\n0 1\n.end\n",
                          {{"y", {"t", "b", "q"}}, {"d", {"a", "q"}}, {"t", {"a"}}, {"e", {"p"}}});
    EXPECT_EQ(r.result.parse_result, 0) << r.errors;
    EXPECT_EQ(r.order, (names{"q", "p", "d", "e", "a", "b", "y", "t"}));
    EXPECT_EQ(r.init, (std::vector<int>{1, 0}));
    EXPECT_EQ(r.tables["y"], "00000101"); // over the local t, not over a
    EXPECT_EQ(r.tables["d"], "0001");
    EXPECT_EQ(r.tables["t"], "10");
    EXPECT_EQ(r.tables["e"], "10");
    EXPECT_EQ(r.result.equations, 4);
    EXPECT_EQ(r.errors, "parsing terminated ...\n");
}

TEST(BlifGrammar, RegisterThatIsAnOutput)
{
    reading r = read_blif(".model m\n.inputs a\n.outputs q\n.latch a q 1\n.end\n", {{"q", {"a"}}});
    EXPECT_EQ(r.result.parse_result, 0);
    EXPECT_EQ(r.order, (names{"q", "a"}));
    EXPECT_EQ(r.state_count, 1);
    EXPECT_EQ(r.init, (std::vector<int>{1}));
    EXPECT_EQ(r.tables["q"], "none");
}

TEST(BlifGrammar, EmptyModels)
{
    const char* const texts[] = {".model m\n.end\n", ".model m\n.inputs a\n.end", ".model m\n.outputs y\n.end\n",
                                 "\n\n# c\n.model m\n.end\n\n"};
    for (const char* t : texts) {
        reading r = read_blif(t);
        EXPECT_EQ(r.result.parse_result, 0) << t;
        EXPECT_EQ(r.state_count, 0) << t;
        EXPECT_EQ(r.errors, "parsing terminated ...\n") << t;
    }
}

TEST(BlifGrammar, EchoedCharactersGoToTheLog)
{
    reading r = read_blif(".model m\r\n.inputs a = b\r\n.outputs x\r\n.names a b x\r\n11 1\r\n.end\r\n",
                          {{"x", {"a", "b"}}});
    EXPECT_EQ(r.result.parse_result, 0) << r.errors;
    EXPECT_EQ(r.log, "\r=\r\r\r\r\r");
    EXPECT_EQ(r.tables["x"], "0001");
}

struct error_case {
    const char* what;    // the case
    const char* text;    // the file
    const char* errors;  // standard error text
};

TEST(BlifGrammar, SyntaxErrors)
{
    const error_case cases[] = {
        {"empty file", "", "syntax error, unexpected $end, expecting TOKEN_model\n"},
        {"no model name", ".model\n.end\n", "syntax error, unexpected TOKEN_end, expecting TOKEN_ident\n"},
        {"no end", ".model m\n.inputs a\n",
         "syntax error, unexpected $end, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"},
        {"blank line after a row", ".model m\n.inputs a\n.outputs y\n.names a y\n1 1\n \n.end\n",
         "syntax error, unexpected TOKEN_NL, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"},
        {"initial value 2", ".model m\n.inputs a\n.latch a q 2\n.names a x\n1 1\n.end\n",
         "syntax error, unexpected TOKEN_names, expecting TOKEN_ZERO or TOKEN_ONE\n"},
        {"initial value 3 last", ".model m\n.inputs a\n.latch a q 3\n.end\n",
         "syntax error, unexpected TOKEN_end, expecting TOKEN_ZERO or TOKEN_ONE\n"},
        {"latch type fields", ".model m\n.inputs a c\n.latch a q re c 0\n.end\n",
         "syntax error, unexpected TOKEN_ident, expecting TOKEN_ZERO or TOKEN_ONE\n"},
        {"second inputs line", ".model m\n.inputs a\n.inputs b\n.end\n",
         "syntax error, unexpected TOKEN_inputs, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"},
        {"outputs before inputs", ".model m\n.outputs y\n.inputs a\n.end\n",
         "syntax error, unexpected TOKEN_inputs, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"},
        {"words after the end", ".model m\n.end\n.names x\n",
         "preparsing file ...\npreparsing file ...\nparsing terminated ...\n"
         "syntax error, unexpected TOKEN_names, expecting $end\n"},
        {"second model", ".model m\n.end\n.model n\n.end\n",
         "preparsing file ...\npreparsing file ...\npreparsing file ...\nparsing terminated ...\n"
         "syntax error, unexpected TOKEN_model, expecting $end\n"},
        {"value in a names line", ".model m\n.names a 1 x\n.end\n",
         "syntax error, unexpected TOKEN_ONE, expecting TOKEN_NL\n"},
        {"comment behind the names line", ".model m\n.inputs a b\n.names a b x # and\n11 1\n.end\n",
         "syntax error, unexpected TOKEN_ONE, expecting TOKEN_NL\n"},
        {"row before names", ".model m\n1 1\n.end\n",
         "syntax error, unexpected TOKEN_ONE, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"},
        {"upper-case keyword", ".model m\n.END\n",
         "syntax error, unexpected TOKEN_ident, expecting TOKEN_latch or TOKEN_names or TOKEN_end\n"},
        {"outputs without a name", ".model m\n.inputs a\n.outputs\n.end\n",
         "syntax error, unexpected TOKEN_end, expecting TOKEN_ident\n"},
        {"model name missing at the end", ".model", "syntax error, unexpected $end, expecting TOKEN_ident\n"},
    };
    for (const error_case& c : cases) {
        reading r = read_blif(c.text);
        EXPECT_EQ(r.result.parse_result, 1) << c.what;
        EXPECT_EQ(r.result.exit_status, -1) << c.what;
        EXPECT_EQ(r.errors, c.errors) << c.what;
    }
}

// A scanner that hands out a fixed list of codes, then the end of input.
class scripted_lexer : public blifFlexLexer {
public:
    explicit scripted_lexer(std::vector<int> codes) : blifFlexLexer(nullptr, nullptr), codes_(codes) {}
    int yylex() override
    {
        if (next_ == codes_.size()) return 0;
        return codes_[next_++];
    }

private:
    std::vector<int> codes_; // the codes to return
    size_t next_ = 0;        // the next one
};

// Codes that name no token are reported as "$undefined".
TEST(BlifGrammar, CodesOutsideTheTokensAreUndefined)
{
    struct code_case {
        std::vector<int> codes; // what the scanner returns
        const char* errors;     // standard error text
    };
    const code_case cases[] = {
        {{300}, "syntax error, unexpected $undefined, expecting TOKEN_model\n"},
        {{2}, "syntax error, unexpected $undefined, expecting TOKEN_model\n"},
        {{TOKEN_model, 269}, "syntax error, unexpected $undefined, expecting TOKEN_ident\n"},
    };
    for (const code_case& c : cases) {
        class_blif_parser parser;
        scripted_lexer lexer(c.codes);
        parser.lexer = &lexer;
        parser.ok = 1; // as after a pre-pass
        std::ostringstream trace;
        testing::internal::CaptureStderr();
        EXPECT_EQ(parser.parse(trace, 0), 1);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.errors);
        pblif_parser = nullptr;
    }
}

TEST(BlifGrammar, ModelRuleRunsBeforeTheNextToken)
{
    int built = 0;
    std::ostringstream log;
    testing::internal::CaptureStderr();
    blif_read_result r = blif_read_once(".model m\n.end\n.end\n", log, 0, [&](class_blif_parser& p) {
        built = p.automaton != nullptr;
        EXPECT_EQ(p.ok, 0);
    });
    testing::internal::GetCapturedStderr();
    EXPECT_EQ(r.parse_result, 1);
    EXPECT_EQ(built, 1);
}

TEST(BlifGrammar, ReaderExits)
{
    const error_case cases[] = {
        {"inputs and outputs share a name", ".model m\n.inputs a b\n.outputs b a\n.end\n",
         "PARSING ERROR: sets of inputs and outputs are not exclusive !\n --> Found Signal(s): {a,b}\n\n"
         "preparsing of blif file failed ! aborting ...\n"},
        {"row longer than the names line", ".model m\n.inputs a\n.outputs x\n.names a x\n1 1 1\n.end\n",
         "error in blif definition about x variable\n"},
        {"row running into the next one", ".model m\n.inputs a\n.outputs x\n.names a x\n1 1 # c\n0 0\n.end\n",
         "error in blif definition about x variable\n"},
        {"mixed cover", ".model m\n.inputs a b\n.outputs x\n.names a b x\n11 1\n00 0\n.end\n",
         "error in blif definition about x variable: rows of output 0 and rows of output 1 in one cover\n"},
        {"mixed cover with a short row", ".model m\n.inputs a b\n.outputs x\n.names a b x\n0-0\n1\n.end\n",
         "error in blif definition about x variable: rows of output 0 and rows of output 1 in one cover\n"},
        {"register of two latch lines", ".model m\n.inputs a b\n.latch a q 0\n.latch b q 1\n.end\n",
         "PARSING ERROR: register q is defined by more than one .latch line !\n"
         "preparsing of blif file failed ! aborting ...\n"},
    };
    for (const error_case& c : cases) {
        reading r = read_blif(c.text);
        EXPECT_EQ(r.result.exit_status, 1) << c.what;
        EXPECT_EQ(r.result.parse_result, -1) << c.what;
        EXPECT_EQ(r.errors, c.errors) << c.what;
    }
}

TEST(BlifGrammarDeathTest, ExitsEndTheProcess)
{
    std::ostringstream log;
    class_blif_parser parser;
    std::istringstream words(".model m\n.inputs a\n.outputs a\n.end\n");
    testing::internal::CaptureStderr();
    parser.preparse(words);
    testing::internal::GetCapturedStderr();
    EXPECT_EXIT(parser.parse(log, 0), testing::ExitedWithCode(1), "preparsing of blif file failed ! aborting ...\n$");
    pblif_parser = nullptr;
}

// The trace lines of every reduction, in order.
TEST(BlifGrammar, TraceOfTheReductions)
{
    reading r = read_blif(".model m\n.inputs a\n.outputs x\n.names a x\n1 1\n.end\n", {}, 1);
    EXPECT_EQ(r.log, R"(6 --> m
19 --> nom circuit
2 --> definition nom declaration
6 --> a
5 --> creation liste ident
3,2 --> definition liste inputs
6 --> x
5 --> creation liste ident
4,2 --> definition liste output
7 --> equation booleenne gen seule
6 --> a
5 --> creation liste ident
6 --> x
5,2 --> ajout ident liste
11 --> def declaration bool
18,2 --> operateur ``1 logique''
17 -->  liste de var a 1 element
18,2 --> operateur ``1 logique''
17,2 -->  add var liste
16 --> produit
15 --> premier produit
10 --> def equation bool
8 --> equation boolenne
7,2 --> ajout equation gen liste
1 --> definition finale
)");
}

TEST(BlifGrammar, TraceOfLatchesFreeValuesAndEmptyCovers)
{
    reading r = read_blif(".model m\n.latch d q 1\n.names q d\n-\n0\n.names e\n.end\n", {}, 1);
    EXPECT_EQ(r.log, R"(6 --> m
19 --> nom circuit
2 --> definition nom declaration
3 --> definition liste inputs vide
4 --> definition liste output vide
7 --> equation booleenne gen seule
6 --> d
12 --> def var suivante
6 --> q
13 --> def var actuelle
14,2 --> valeur initiale 1
9 --> def equation latch
8 --> equation de latch
7,2 --> ajout equation gen liste
6 --> q
5 --> creation liste ident
6 --> d
5,2 --> ajout ident liste
11 --> def declaration bool
18,3 --> indiferent detecte :
17 -->  liste de var a 1 element
16 --> produit
15 --> premier produit
18 --> operateur ``0 logique''
17 -->  liste de var a 1 element
16 --> produit
15,2 --> OR produit
10 --> def equation bool
8 --> equation boolenne
7,2 --> ajout equation gen liste
6 --> e
5 --> creation liste ident
11 --> def declaration bool
10,2 --> def equation bool restreinte
8 --> equation boolenne
7,2 --> ajout equation gen liste
1 --> definition finale
)");
    EXPECT_EQ(read_blif(".model m\n.latch d q 0\n.end\n", {}, 1).log.find("14 --> valeur initiale 0\n") !=
                  std::string::npos,
              true);
}

TEST(BlifGrammar, DebugerLaw)
{
    std::ostringstream out;
    blif_debuger_law(3, 2, "definition liste inputs", 1, out);
    blif_debuger_law(6, 1, "a", 1, out);
    blif_debuger_law(7, 1, "not written", 0, out);
    EXPECT_EQ(out.str(), "3,2 --> definition liste inputs\n6 --> a\n");
}

TEST(BlifGrammar, EquationRecordCopies)
{
    class_equation_blif e;
    e.add_vars({"a", "x"});
    e.add_pla({{1, 1}, {0, 2}});
    e.add_vars(e.my_vars());
    class_equation_blif copy(e);
    EXPECT_EQ(copy.my_vars(), (std::list<std::string>{"a", "x"}));
    EXPECT_EQ(copy.pla, (std::list<std::list<int>>{{1, 1}, {0, 2}}));
    copy.my_vars().push_back("y");
    EXPECT_EQ(e.vars.size(), 2u);
}

TEST(BlifGrammar, ConvertRegistersTheEquation)
{
    b_autom_dec dec(std::list<std::string>{}, std::list<std::string>{}, std::set<std::string>{"a", "b"},
                    std::set<std::string>{"x"}, std::set<std::string>{});
    class_equation_blif e;
    e.add_vars({"a", "b", "x"});
    e.add_pla({{1, 0, 1}});
    Bddexpression* x = e.bddexpression_convert(dec.wood);
    bddpp_manager* m = dec.manager_associe();
    EXPECT_EQ(dec.wood->exp_by_index(2), x);
    EXPECT_EQ(x->bdd_exp, m->Bdd_and(m->Bdd_var_by_name("a"), m->Bdd_not(m->Bdd_var_by_name("b"))));
    EXPECT_EQ(x->name, "x");
    EXPECT_EQ(x->early_date, 0);
}

} // namespace
