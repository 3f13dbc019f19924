// The list and set templates on the element types the code base uses.
#include <gtest/gtest.h>

#include <sstream>

#include "utils/list_String.h"
#include "utils/list_int.h"
#include "utils/list_long.h"

TEST(ItemWhere, PositionsAreOneBasedAndZeroMeansAbsent)
{
    std::list<int> l{4, 7, 4, 9};
    std::list<int> empty;
    EXPECT_EQ(item_where(l, 4), 1); // the first of two equal elements
    EXPECT_EQ(item_where(l, 9), 4);
    EXPECT_EQ(item_where(l, 5), 0);
    EXPECT_EQ(item_where(empty, 4), 0);
    std::list<std::string> names{"a", "bb", "b"};
    EXPECT_EQ(item_where(names, std::string("b")), 3);
    EXPECT_EQ(item_where(names, std::string("")), 0);
}

TEST(ItemWhere, ListsOfListsMatchWholeLists)
{
    std::list<std::list<int> > ll{{1, 2}, {1}, {1, 2, 3}};
    EXPECT_EQ(item_where(ll, std::list<int>{1}), 2);
    EXPECT_EQ(item_where(ll, std::list<int>{1, 2, 3}), 3);
    EXPECT_EQ(item_where(ll, std::list<int>{2, 1}), 0);
}

TEST(ItemIn, ListsAndSets)
{
    std::list<long> l{3L, 5L};
    EXPECT_TRUE(item_in(l, 5L));
    EXPECT_FALSE(item_in(l, 4L));
    EXPECT_FALSE(item_in(empty_list_long, 3L));
    std::list<std::string> s{"x"};
    EXPECT_TRUE(item_in(s, std::string("x")));
    std::set<std::string> set{"a", "c"};
    EXPECT_EQ(item_in(set, std::string("c")), 1);
    EXPECT_EQ(item_in(set, std::string("b")), 0);
    std::set<std::string> none;
    EXPECT_EQ(item_in(none, std::string("a")), 0);
}

TEST(ReadReplaceNumber, PositionsOutsideTheListAreIgnored)
{
    struct { int n; int read; } cases[] = {{1, 10}, {3, 30}, {0, 0}, {-3, 0}, {4, 0}};
    std::list<int> l{10, 20, 30};
    for (auto& c : cases) {
        EXPECT_EQ(read_number(l, c.n), c.read) << c.n;
        std::list<int> changed = l;
        replace_number(changed, c.n, 99);
        std::list<int> expected = l;
        if (c.read != 0) *std::next(expected.begin(), c.n - 1) = 99;
        EXPECT_EQ(changed, expected) << c.n;
    }
    std::list<int> empty;
    EXPECT_EQ(read_number(empty, 1), 0);
    replace_number(empty, 1, 5);
    EXPECT_TRUE(empty.empty());
}

// The two elements of the array, which is then freed; "null" for a null array.
static std::string pair_of(std::string* a)
{
    if (a == nullptr) return "null";
    std::string text = a[0] + "," + a[1];
    delete[] a;
    return text;
}

TEST(ArrayConvert, ListOrderSetOrderAndNullForEmpty)
{
    std::list<std::string> l{"b", "a"};
    std::set<std::string> s{"b", "a"};
    EXPECT_EQ(pair_of(array_convert(l)), "b,a");
    EXPECT_EQ(pair_of(array_convert(s)), "a,b");
    EXPECT_EQ(pair_of(array_convert(empty_list_String)), "null");
    EXPECT_EQ(pair_of(array_convert(std::set<std::string>())), "null");
    std::list<std::list<int> > ll{{1}, {2, 3}};
    std::list<int>* c = array_convert(ll);
    EXPECT_EQ(c[1], (std::list<int>{2, 3}));
    delete[] c;
}

TEST(SetAlgebra, DifferenceIntersectionUnion)
{
    std::set<long> a{1, 3, 5}, b{3, 4}, empty;
    EXPECT_EQ(priv(a, b), (std::set<long>{1, 5}));
    EXPECT_EQ(priv(a, empty), a);
    EXPECT_EQ(priv(empty, a), empty);
    EXPECT_EQ(set_inter(a, b), (std::set<long>{3}));
    EXPECT_EQ(set_inter(a, empty), empty);
    EXPECT_EQ(set_union(std::set<long>{1, 3}, std::set<long>{2, 3}), (std::set<long>{1, 2, 3}));
    std::set<std::string> names{"r", "x"}, regs{"r"};
    EXPECT_EQ(priv(names, regs), (std::set<std::string>{"x"}));
    EXPECT_EQ(a, (std::set<long>{1, 3, 5})); // arguments unchanged
}

// The stream output of v.
template <class C> static std::string printed(C& v)
{
    std::ostringstream out;
    out << v;
    return out.str();
}

TEST(Output, ListsInParenthesesSetsInBraces)
{
    std::list<int> empty, seven{7}, two{1, 2};
    std::list<std::string> names{"a b", ""};
    std::list<std::list<int> > nested{{1, 2}, {3}};
    std::list<std::list<long> > nested_empty{{}};
    EXPECT_EQ(printed(empty), "()");
    EXPECT_EQ(printed(seven), "(7)");
    EXPECT_EQ(printed(two), "(1, 2)");
    EXPECT_EQ(printed(names), "(a b, )");
    EXPECT_EQ(printed(nested), "((1, 2), (3))");
    EXPECT_EQ(printed(nested_empty), "(())");
    const std::set<long> s{3, 1, 2}, none;
    EXPECT_EQ(printed(s), "{1,2,3}");
    EXPECT_EQ(printed(none), "{}");
}

// A stream buffer that keeps the text and counts the flushes.
struct counting_buffer : std::stringbuf {
    int flushes = 0;
    int sync() override
    {
        ++flushes;
        return std::stringbuf::sync();
    }
};

TEST(Output, ListsFlushAfterEveryElementAndAtTheEndSetsNever)
{
    struct { std::list<int> l; const char* text; int flushes; } cases[] = {
        {{}, "()", 1}, {{7}, "(7)", 2}, {{1, 2, 3}, "(1, 2, 3)", 4},
    };
    for (auto& c : cases) {
        counting_buffer b;
        std::ostream out(&b);
        out << c.l;
        EXPECT_EQ(b.str(), c.text);
        EXPECT_EQ(b.flushes, c.flushes) << c.text;
    }
    counting_buffer b;
    std::ostream out(&b);
    out << std::set<long>{2, 1};
    EXPECT_EQ(b.str(), "{1,2}");
    EXPECT_EQ(b.flushes, 0);
}

TEST(GlobalEmptyLists, AreEmpty)
{
    EXPECT_TRUE(empty_list_int.empty());
    EXPECT_TRUE(empty_list_String.empty());
    EXPECT_TRUE(empty_list_long.empty());
}

TEST(InstantiationDrivers, PrintTheirLabels)
{
    testing::internal::CaptureStderr();
    list_int_inutile();
    std::string text = testing::internal::GetCapturedStderr();
    EXPECT_NE(text.find("item_where de 3 1\n"), std::string::npos) << text;
    EXPECT_NE(text.find("avant (3, 5)"), std::string::npos) << text;
    EXPECT_NE(text.find("apres (5, 5)"), std::string::npos) << text;
    testing::internal::CaptureStderr();
    list_String_inutile();
    list_long_inutile();
    text = testing::internal::GetCapturedStderr();
    EXPECT_NE(text.find("taille 2"), std::string::npos) << text;
    EXPECT_NE(text.find("item_where de 5 1"), std::string::npos) << text;
}
