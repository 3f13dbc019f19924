// The Boolean expression parser: random texts against an evaluator of the same text, the
// scanner's token codes, the messages of every refusal, and what a failed parse leaves behind.
#include <gtest/gtest.h>

#include <cctype>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "bdd/parse_exp_bdd.h"
#include "tests/support/bdd_model.h"

namespace {

// ---- an evaluator of expression text, written apart from the grammar ----

// Words: runs of letters, digits, '_' and '@'; any other byte but the blank stands alone.
std::vector<std::string> words_of(const std::string& text)
{
    std::vector<std::string> words;
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = text[i];
        if (c == ' ') {
            ++i;
            continue;
        }
        std::size_t j = i + 1;
        if (std::isalnum(c) || c == '_' || c == '@')
            while (j < text.size() && (std::isalnum(static_cast<unsigned char>(text[j])) || text[j] == '_' || text[j] == '@')) ++j;
        words.push_back(text.substr(i, j - i));
        i = j;
    }
    return words;
}

// Precedence climbing: sum (or, xor, xnor) over product (and) over prefix not, brackets, 0, 1
// and names. value(name) gives a variable's value.
class evaluator {
public:
    evaluator(const std::vector<std::string>& words, std::function<bool(const std::string&)> value)
        : w(words), at(0), value(value) {}
    bool whole(bool& result)
    {
        bool ok = sum(result);
        return ok && at == w.size();
    }

private:
    const std::vector<std::string>& w;
    std::size_t at;
    std::function<bool(const std::string&)> value;

    bool is(std::initializer_list<const char*> forms) const
    {
        if (at >= w.size()) return false;
        for (const char* f : forms)
            if (w[at] == f) return true;
        return false;
    }
    bool sum(bool& r)
    {
        if (!product(r)) return false;
        for (;;) {
            int op = is({"or", "OR", "+", "|"}) ? 0 : is({"xor", "XOR"}) ? 1 : is({"xnor", "XNOR"}) ? 2 : -1;
            if (op < 0) return true;
            ++at;
            bool s;
            if (!product(s)) return false;
            r = op == 0 ? (r || s) : op == 1 ? (r != s) : (r == s);
        }
    }
    bool product(bool& r)
    {
        if (!factor(r)) return false;
        while (is({"and", "AND", ".", "&"})) {
            ++at;
            bool s;
            if (!factor(s)) return false;
            r = r && s;
        }
        return true;
    }
    bool factor(bool& r)
    {
        if (at >= w.size()) return false;
        if (is({"not", "NOT", "!", "~"})) {
            ++at;
            if (!factor(r)) return false;
            r = !r;
            return true;
        }
        if (is({"(", "["})) {
            ++at;
            if (!sum(r) || !is({")", "]"})) return false;
            ++at;
            return true;
        }
        if (is({"0", "1"})) {
            r = w[at++] == "1";
            return true;
        }
        const std::string& name = w[at];
        if (!(std::isalnum(static_cast<unsigned char>(name[0])) || name[0] == '_' || name[0] == '@')) return false;
        ++at;
        r = value(name);
        return true;
    }
};

// ---- random texts ----

const char* const NAMES[] = {"a", "b1", "c_2", "d@3", "Ee", "f5x", "g_", "h@", "i9", "_j"};

const char* const OR_FORMS[] = {"or", "OR", "+", "|"};
const char* const AND_FORMS[] = {"and", "AND", ".", "&"};
const char* const XOR_FORMS[] = {"xor", "XOR"};
const char* const XNOR_FORMS[] = {"xnor", "XNOR"};
const char* const NOT_FORMS[] = {"not", "NOT", "!", "~"};
// either closing bracket closes either opening one
const char* const BRACKETS[][2] = {{"(", ")"}, {"[", "]"}, {"(", "]"}, {"[", ")"}};

bool word_byte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '@';
}

// Appends word to text with blanks between: at least one where two words would run together.
void append(std::string& text, const std::string& word, std::mt19937& rng)
{
    if (!text.empty()) {
        bool needed = word_byte(text.back()) && word_byte(word[0]);
        int blanks = needed ? 1 + int(rng() % 2) : int(rng() % 3);
        text.append(blanks, ' ');
    }
    text += word;
}

template <std::size_t N> const char* pick(const char* const (&forms)[N], std::mt19937& rng)
{
    return forms[rng() % N];
}

// A random expression over the first nv names. level: 0 where a sum may stand, 1 a product,
// 2 a factor; a lower-level expression in a higher place gets brackets.
void random_text(std::string& text, int nv, int depth, int level, std::mt19937& rng)
{
    bool extra = rng() % 8 == 0; // brackets nobody needs
    int kind = depth == 0 ? int(rng() % 10 == 0 ? 4 : 5) : int(rng() % 6);
    int own = kind <= 1 ? 0 : kind == 2 ? 1 : 2; // the level the expression itself stands at
    bool wrap = extra || own < level;
    const char* const* bracket = BRACKETS[rng() % 4];
    if (wrap) append(text, bracket[0], rng);
    switch (kind) {
    case 0: // a sum of several terms
    case 1: {
        int terms = 2 + int(rng() % 2);
        for (int t = 0; t < terms; ++t) {
            if (t > 0) {
                int op = int(rng() % 3);
                append(text, op == 0 ? pick(OR_FORMS, rng) : op == 1 ? pick(XOR_FORMS, rng) : pick(XNOR_FORMS, rng), rng);
            }
            random_text(text, nv, depth - 1, t == 0 ? 0 : 1, rng);
        }
        break;
    }
    case 2: // a product
        random_text(text, nv, depth - 1, 1, rng);
        append(text, pick(AND_FORMS, rng), rng);
        random_text(text, nv, depth - 1, 2, rng);
        break;
    case 3: // a negation
        append(text, pick(NOT_FORMS, rng), rng);
        random_text(text, nv, depth - 1, 2, rng);
        break;
    case 4: // a constant
        append(text, rng() % 2 ? "1" : "0", rng);
        break;
    default: // a name
        append(text, NAMES[rng() % nv], rng);
        break;
    }
    if (wrap) append(text, bracket[1], rng);
}

size_t count(const std::string& s, char c)
{
    return std::count(s.begin(), s.end(), c);
}

// ---- one parse with its messages ----

struct parsed {
    bdd f;
    int priority;
    int error;
    std::string messages;
};

parsed parse_with_priority(bddpp_manager& m, const std::string& text)
{
    parsed r;
    r.priority = 55;
    r.error = 99; // left alone by the refusals before parsing
    testing::internal::CaptureStderr();
    r.f = m.Parse_expression(text, &r.priority, &r.error);
    r.messages = testing::internal::GetCapturedStderr();
    return r;
}

parsed parse_without_priority(bddpp_manager& m, const std::string& text)
{
    parsed r;
    r.priority = 0;
    r.error = 99;
    testing::internal::CaptureStderr();
    r.f = m.Parse_expression(text, &r.error);
    r.messages = testing::internal::GetCapturedStderr();
    return r;
}

// A manager with a, b and c at positions 0, 1, 2.
struct abc_manager {
    bddpp_manager m;
    bdd a, b, c;
    abc_manager() : a(m.New_var_last("a")), b(m.New_var_last("b")), c(m.New_var_last("c")) {}
};

} // namespace

TEST(ExpressionParser, RandomTextsAgreeWithAnEvaluatorOfTheText)
{
    bddpp_manager m;
    const int NV = 10;
    std::vector<bdd> v;
    for (const char* name : NAMES) v.push_back(m.New_var_last(name));
    std::mt19937 rng(20261210);
    int parsed_texts = 0;
    while (parsed_texts < 600) {
        int nv = 6 + int(rng() % 5);
        std::string text;
        if (rng() % 4 == 0) text.append(1 + rng() % 2, ' '); // leading blanks are skipped
        random_text(text, nv, 2 + int(rng() % 4), 0, rng);
        if (count(text, '(') != count(text, ')')) continue; // refused before parsing: tested below
        ++parsed_texts;
        parsed r = parse_with_priority(m, text);
        ASSERT_EQ(r.error, 0) << text << "\n" << r.messages;
        ASSERT_EQ(r.messages, "") << text;
        ASSERT_EQ(r.priority, 0);
        ASSERT_TRUE(m.Bdd_is_correct(r.f)) << text;
        std::vector<std::string> words = words_of(text);
        for (unsigned a = 0; a < (1u << NV); ++a) {
            bool expected = false;
            evaluator e(words, [&](const std::string& name) {
                for (int p = 0; p < NV; ++p)
                    if (name == NAMES[p]) return ((a >> p) & 1) != 0;
                ADD_FAILURE() << "unknown name " << name;
                return false;
            });
            ASSERT_TRUE(e.whole(expected)) << text;
            ASSERT_EQ(eval_bdd(m, r.f, a), expected) << text << " under " << a;
        }
        // the same text with a priority, and through the form without priority
        parsed p = parse_with_priority(m, "<" + std::to_string(rng() % 1000 + 1) + ">" + text);
        ASSERT_EQ(p.error, 0) << text;
        ASSERT_EQ(p.f, r.f) << text;
        parsed q = parse_without_priority(m, text);
        ASSERT_EQ(q.error, 0) << text;
        ASSERT_EQ(q.f, r.f) << text;
    }
}

TEST(ExpressionParser, ScannerTokenCodes)
{
    struct { const char* word; int code; } cases[] = {
        {"or", 258},  {"OR", 258},  {"+", 258},  {"|", 258},   {"and", 259}, {"AND", 259}, {".", 259},
        {"&", 259},   {"xor", 260}, {"XOR", 260}, {"xnor", 261}, {"XNOR", 261}, {"not", 264}, {"NOT", 264},
        {"!", 264},   {"~", 264},   {"(", 265},  {"[", 265},   {")", 266},   {"]", 266},   {"<", 267},
        {">", 268},   {"x1", 269},  {"10", 269}, {"01", 269},  {"Or", 269},  {"impl", 269}, {"@a_b", 269},
        {"0", 270},   {"1", 271},   {"-", 269},  {"/", 269},
    };
    bddpp_manager m;
    class_exp_bdd_parser p(&m);
    for (auto& c : cases) {
        p.rest = std::string("  ") + c.word + " x";
        EXPECT_EQ(exp_bddlex(nullptr), c.code) << c.word;
        EXPECT_EQ(p.token, c.word);
        EXPECT_EQ(p.rest, " x");
    }
    // a.b is three words; a trailing blank is a word of its own; the end gives 0
    p.rest = "a.b ";
    std::vector<std::string> words;
    std::vector<int> codes;
    for (int t = exp_bddlex(nullptr); t != 0; t = exp_bddlex(nullptr)) {
        codes.push_back(t);
        words.push_back(p.token);
    }
    EXPECT_EQ(codes, (std::vector<int>{269, 259, 269, 269}));
    EXPECT_EQ(words, (std::vector<std::string>{"a", ".", "b", " "}));
    EXPECT_EQ(p.token, "");
}

TEST(ExpressionParser, MessagesCodesAndResults)
{
    abc_manager k;
    bddpp_manager& m = k.m;
    bdd a = k.a, b = k.b, c = k.c;
    bdd zero = m.Bdd_zero();
    const std::string P = "PARSING ERROR about expression: \"";
    struct {
        std::string text;
        bdd f;
        int priority;
        int error;
        std::string messages;
    } cases[] = {
        {"", zero, 0, 99, ""},
        {"a / b", zero, 0, 99, P + "a / b\": / char detection!\n"},
        {"(a", zero, 0, 99, P + "(a\": bad parenthesing!\n"},
        {"(a]", zero, 0, 99, P + "(a]\": bad parenthesing!\n"},
        {"a + b . !c", m.Bdd_or(a, m.Bdd_and(b, m.Bdd_not(c))), 0, 0, ""},
        {"a xor b xnor c", m.Bdd_xnor(m.Bdd_xor(a, b), c), 0, 0, ""},
        {"[a or b] and c", m.Bdd_and(m.Bdd_or(a, b), c), 0, 0, ""},
        {"a or b and c", m.Bdd_or(a, m.Bdd_and(b, c)), 0, 0, ""},
        {"a xor b or c", m.Bdd_or(m.Bdd_xor(a, b), c), 0, 0, ""},
        {"not a and b", m.Bdd_and(m.Bdd_not(a), b), 0, 0, ""},
        {"(a] xnor [b)", m.Bdd_xnor(a, b), 0, 0, ""},
        {"~~a|NOT b&c", m.Bdd_or(a, m.Bdd_and(m.Bdd_not(b), c)), 0, 0, ""},
        {"0", zero, 0, 0, ""},
        {"1", m.Bdd_one(), 0, 0, ""},
        {"a and 0 or 1", m.Bdd_one(), 0, 0, ""},
        {"<1> a", a, 1, 0, ""},
        {"<7> a or b", m.Bdd_or(a, b), 7, 0, ""},
        {"<other> a", a, -1, 0, ""},
        {"<default> a", a, -1, 0, ""},
        {"<007> a", a, 7, 0, ""},
        {"<2147483647> a", a, 2147483647, 0, ""},
        {"<0> a", zero, 0, 1,
         "parsing error in expression: \"0\" is not a correct priority value ...\n" + P + "<0> a\"\n"},
        {"<x> a", zero, 0, 1,
         "parsing error in expression: name \"x\" is not a correct priority value ...\n" + P + "<x> a\"\n"},
        {"<2147483648> a", zero, 0, 1,
         "parsing error in expression: name \"2147483648\" is not a correct priority value ...\n" + P +
             "<2147483648> a\"\n"},
        {"<4294967297> a", zero, 0, 1,
         "parsing error in expression: name \"4294967297\" is not a correct priority value ...\n" + P +
             "<4294967297> a\"\n"},
        {"<a> a", zero, 0, 1,
         "parsing error in expression: name \"a\" is not a correct priority value ...\n" + P + "<a> a\"\n"},
        {"a and d", zero, 0, 1, "parsing error in expression: name \"d\" not identificated ...\n" + P + "a and d\"\n"},
        {"01", zero, 0, 1, "parsing error in expression: name \"01\" not identificated ...\n" + P + "01\"\n"},
        {"a b", zero, 0, 1, "syntax error, unexpected TOKEN_STRING, expecting $end\n" + P + "a b\"\n"},
        {"a ", zero, 0, 1, "syntax error, unexpected TOKEN_STRING, expecting $end\n" + P + "a \"\n"},
        {"a and", zero, 0, 1, "syntax error, unexpected $end\n" + P + "a and\"\n"},
        {"[a", zero, 0, 1,
         "syntax error, unexpected $end, expecting TOKEN_OR or TOKEN_XOR or TOKEN_XNOR or TOKEN_PAR_FERMANTE\n" +
             P + "[a\"\n"},
        {"a or", zero, 0, 1, "syntax error, unexpected $end\n" + P + "a or\"\n"},
        {"not", zero, 0, 1, "syntax error, unexpected $end\n" + P + "not\"\n"},
        {"(a) (b)", zero, 0, 1,
         "syntax error, unexpected TOKEN_PAR_OUVRANTE, expecting $end\n" + P + "(a) (b)\"\n"},
        {"<1 a", zero, 0, 1, "syntax error, unexpected TOKEN_STRING, expecting TOKEN_SUP\n" + P + "<1 a\"\n"},
        {"<1>", zero, 0, 1, "syntax error, unexpected $end\n" + P + "<1>\"\n"},
        {"a > b", zero, 0, 1, "syntax error, unexpected TOKEN_SUP, expecting $end\n" + P + "a > b\"\n"},
        {"a and or b", zero, 0, 1, "syntax error, unexpected TOKEN_OR\n" + P + "a and or b\"\n"},
        {"(a b)", zero, 0, 1,
         "syntax error, unexpected TOKEN_STRING, expecting TOKEN_OR or TOKEN_XOR or TOKEN_XNOR or "
         "TOKEN_PAR_FERMANTE\n" + P + "(a b)\"\n"},
        {"   ", zero, 0, 1, "parsing error in expression: name \" \" not identificated ...\n" + P + "   \"\n"},
    };
    for (auto& c : cases) {
        parsed r = parse_with_priority(m, c.text);
        EXPECT_EQ(r.messages, c.messages) << '"' << c.text << '"';
        EXPECT_EQ(r.f, c.f) << '"' << c.text << '"';
        EXPECT_EQ(r.priority, c.priority) << '"' << c.text << '"';
        EXPECT_EQ(r.error, c.error) << '"' << c.text << '"';
    }
}

TEST(ExpressionParser, FormWithoutPriority)
{
    abc_manager k;
    parsed r = parse_without_priority(k.m, "<1> a or b");
    EXPECT_EQ(r.messages, "PARSING ERROR about expression: \"<1> a or b\": unknown symbols '<' and '>' \n");
    EXPECT_EQ(r.f, k.m.Bdd_zero());
    EXPECT_EQ(r.error, 0);
    r = parse_without_priority(k.m, "<other> a");
    EXPECT_EQ(r.messages, "PARSING ERROR about expression: \"<other> a\": unknown symbols '<' and '>' \n");
    r = parse_without_priority(k.m, "a or b");
    EXPECT_EQ(r.messages, "");
    EXPECT_EQ(r.f, k.m.Bdd_or(k.a, k.b));
    EXPECT_EQ(r.error, 0);
    r = parse_without_priority(k.m, "a / b");
    EXPECT_EQ(r.messages, "PARSING ERROR about expression: \"a / b\": / char detection!\n");
    EXPECT_EQ(r.error, 99);
    r = parse_without_priority(k.m, "<0> a");
    EXPECT_EQ(r.messages, "parsing error in expression: \"0\" is not a correct priority value ...\n"
                          "PARSING ERROR about expression: \"<0> a\"\n");
    EXPECT_EQ(r.error, 1);
}

TEST(ExpressionParser, NamesThatLookLikeNumbers)
{
    bddpp_manager m;
    bdd v01 = m.New_var_last("01");
    bdd v10 = m.New_var_last("10");
    parsed r = parse_with_priority(m, "01 and not 10 or 1 and 0");
    EXPECT_EQ(r.messages, "");
    EXPECT_EQ(r.f, m.Bdd_and(v01, m.Bdd_not(v10)));
}

TEST(ExpressionParser, ParserObject)
{
    abc_manager k;
    EXPECT_EQ(pexp_bdd_parser, nullptr);
    {
        class_exp_bdd_parser p(&k.m);
        EXPECT_EQ(pexp_bdd_parser, &p);
        EXPECT_EQ(p.manager, &k.m);
        EXPECT_EQ(p.rest, "");
        EXPECT_EQ(p.token, "");
        EXPECT_EQ(p.prio(), 0);
        EXPECT_EQ(p.result, nullptr);
        EXPECT_EQ(p.bddexpression(), bdd());
        // brackets of either kind close each other; the pre-check counts only ( and )
        EXPECT_EQ(p.parse("<3> (a]"), 0);
        EXPECT_EQ(p.bddexpression(), k.a);
        EXPECT_EQ(p.prio(), 3);
        EXPECT_EQ(p.parse("b and c"), 0); // the former result is replaced
        EXPECT_EQ(p.bddexpression(), k.m.Bdd_and(k.b, k.c));
        {
            class_exp_bdd_parser q(&k.m);
            EXPECT_EQ(pexp_bdd_parser, &q);
        }
        // the current parser never outlives its object
        EXPECT_EQ(pexp_bdd_parser, nullptr);
        // and a parse runs on its own object
        EXPECT_EQ(p.parse("not a"), 0);
        EXPECT_EQ(pexp_bdd_parser, &p);
        EXPECT_EQ(p.bddexpression(), k.m.Bdd_not(k.a));
        EXPECT_EQ(p.prio(), 0);
    }
    EXPECT_EQ(pexp_bdd_parser, nullptr);
    testing::internal::CaptureStderr();
    EXPECT_EQ(exp_bddparse(), 1);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "ERROR in exp_bddparse(): no current parser\n");
    EXPECT_EQ(exp_bddlex(nullptr), 0);
    testing::internal::CaptureStderr();
    exp_bdderror("some message");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "some message\n");
}

TEST(ExpressionParser, StackGrowsTo10000Entries)
{
    abc_manager k;
    bddpp_manager& m = k.m;
    auto nested = [](int n, const std::string& inner) {
        return std::string(n, '(') + inner + std::string(n, ')');
    };
    parsed r = parse_with_priority(m, nested(9000, "a or b"));
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.messages, "");
    EXPECT_EQ(r.f, m.Bdd_or(k.a, k.b));
    std::string nots;
    for (int i = 0; i < 9001; ++i) nots += "! ";
    r = parse_with_priority(m, nots + "a");
    EXPECT_EQ(r.error, 0);
    EXPECT_EQ(r.f, m.Bdd_not(k.a));
    std::string deep = nested(11000, "a");
    r = parse_with_priority(m, deep);
    EXPECT_EQ(r.error, 2);
    EXPECT_EQ(r.messages, "memory exhausted\nPARSING ERROR about expression: \"" + deep + "\"\n");
    EXPECT_EQ(r.f, m.Bdd_zero());
}

TEST(ExpressionParser, FailedParseFreesItsValues)
{
    abc_manager k;
    bddpp_manager& m = k.m;
    m.Bdd_gc();
    long nodes = m.Table_size();
    const char* texts[] = {
        "(a and b) or not (b xor c) and and",  // syntax error with three values on the stack
        "(a and b) or (b xnor c) and d",       // a name that is no variable
        "a b",                                 // the whole text was reduced before the error
    };
    for (const char* text : texts) {
        parsed r = parse_with_priority(m, text);
        EXPECT_EQ(r.error, 1) << text;
        r.f = bdd();
        m.Bdd_gc();
        EXPECT_EQ(m.Table_size(), nodes) << text;
    }
    std::string deep = "(a and b) xor " + std::string(11000, '(') + "b or c" + std::string(11000, ')');
    parsed r = parse_with_priority(m, deep);
    EXPECT_EQ(r.error, 2);
    m.Bdd_gc();
    EXPECT_EQ(m.Table_size(), nodes);
    // a successful parse keeps only its result
    r = parse_with_priority(m, "(a and b) or (b xnor c)");
    EXPECT_EQ(r.error, 0);
    m.Bdd_gc();
    EXPECT_GT(m.Table_size(), nodes);
    r.f = bdd();
    m.Bdd_gc();
    EXPECT_EQ(m.Table_size(), nodes);
}
