#include "forest/position_bits.h"
#include "forest/position_set.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <sstream>
#include <vector>

TEST(PositionSet, EmptySet)
{
    position_set s;
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.size(), 0u);
    EXPECT_EQ(s.begin(), s.end());
    EXPECT_EQ(s.find(3), s.end());
    EXPECT_EQ(s.lower_bound(3), s.end());
    EXPECT_EQ(s.count(3), 0u);
    EXPECT_EQ(s.erase(3L), 0u);
    EXPECT_EQ(s, std::set<long>());
    s.clear();
    EXPECT_TRUE(s.empty());
}

TEST(PositionSet, InsertKeepsAscendingDistinctValues)
{
    position_set s;
    EXPECT_TRUE(s.insert(5).second);
    EXPECT_TRUE(s.insert(1).second);
    EXPECT_TRUE(s.insert(9).second);
    EXPECT_TRUE(s.insert(3).second);
    std::pair<position_set::iterator, bool> again = s.insert(5);
    EXPECT_FALSE(again.second);
    EXPECT_EQ(*again.first, 5);
    EXPECT_EQ(*s.insert(s.end(), 12), 12);
    EXPECT_EQ(*s.insert(s.end(), 0), 0); // a wrong hint still gives the right place
    EXPECT_EQ(s, (std::set<long>{0, 1, 3, 5, 9, 12}));
    EXPECT_EQ(*s.lower_bound(4), 5);
    EXPECT_EQ(*s.upper_bound(5), 9);
    EXPECT_EQ(*s.find(9), 9);
    EXPECT_EQ(s.find(4), s.end());
}

TEST(PositionSet, RangeInsertMergesUnsortedAndRepeatedValues)
{
    position_set s{2, 4, 6};
    std::vector<long> more{7, 8, 1, 4, 4, 3, 8};
    s.insert(more.begin(), more.end());
    EXPECT_EQ(s, (std::set<long>{1, 2, 3, 4, 6, 7, 8}));
    position_set t{10};
    t.insert(s.begin(), s.end());
    EXPECT_EQ(t, (std::set<long>{1, 2, 3, 4, 6, 7, 8, 10}));
    position_set u;
    u.insert(s.begin(), s.end()); // appended as it comes
    EXPECT_EQ(u, s);
    u.insert(s.begin(), s.begin()); // nothing
    EXPECT_EQ(u, s);
}

TEST(PositionSet, EraseByValueAndByIterator)
{
    position_set s{1, 2, 3, 4, 5, 6};
    EXPECT_EQ(s.erase(4L), 1u);
    EXPECT_EQ(s.erase(4L), 0u);
    // erasing while walking: erase returns the position to go on with
    for (position_set::iterator i = s.begin(); i != s.end();)
        if (*i % 2 == 1)
            i = s.erase(i);
        else
            ++i;
    EXPECT_EQ(s, (std::set<long>{2, 6}));
    s.erase(s.begin(), s.end());
    EXPECT_TRUE(s.empty());
    position_set k{1, 2, 3, 4, 5, 6, 7};
    k.keep_if([](long x) { return x % 3 != 0; });
    EXPECT_EQ(k, (std::set<long>{1, 2, 4, 5, 7}));
}

TEST(PositionSet, CopiesMovesAndConversions)
{
    std::set<long> tree{3, 1, 2};
    position_set s = tree;
    position_set c = s;
    c.insert(7);
    EXPECT_EQ(s, tree);
    EXPECT_NE(c, s);
    EXPECT_TRUE(s < c);
    position_set m = std::move(c);
    EXPECT_EQ(m, (std::set<long>{1, 2, 3, 7}));
    c = m; // a moved-from set can be assigned
    EXPECT_EQ(c, m);
    s = s;
    EXPECT_EQ(s, tree);
    std::set<long> back = m;
    EXPECT_EQ(back, (std::set<long>{1, 2, 3, 7}));
    s = std::set<long>{9};
    EXPECT_EQ(s, (std::set<long>{9}));
    std::ostringstream os;
    os << m << position_set();
    EXPECT_EQ(os.str(), "{1,2,3,7}{}");
}

// Random insertions, erasures and look-ups of values below range, each answered as a
// std::set<long> answers it.
template <class Positions> void expect_std_set_answers(unsigned seed, long range)
{
    std::mt19937 random(seed);
    Positions s;
    std::set<long> t;
    for (int step = 0; step < 20000; step++) {
        long v = static_cast<long>(random() % static_cast<unsigned long>(range));
        switch (random() % 4) {
        case 0:
        case 1:
            EXPECT_EQ(s.insert(v).second, t.insert(v).second);
            break;
        case 2:
            EXPECT_EQ(s.erase(v), t.erase(v));
            break;
        default:
            EXPECT_EQ(s.count(v), t.count(v));
            break;
        }
        ASSERT_EQ(s.size(), t.size());
    }
    EXPECT_EQ(s, t);
}

TEST(PositionSet, BehavesAsAStdSetUnderRandomEdits) { expect_std_set_answers<position_set>(7, 500); }

TEST(PositionBits, InsertEraseAndAscendingWalk)
{
    position_bits s;
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.begin(), s.end());
    EXPECT_EQ(s.find(5), s.end());
    EXPECT_EQ(s.count(-1), 0u);
    EXPECT_EQ(s.erase(700L), 0u);
    EXPECT_TRUE(s.insert(130).second);
    EXPECT_TRUE(s.insert(0).second);
    EXPECT_TRUE(s.insert(63).second);
    EXPECT_TRUE(s.insert(64).second);
    EXPECT_FALSE(s.insert(63).second);
    EXPECT_EQ(*s.insert(s.end(), 7), 7);
    EXPECT_EQ(s, (std::set<long>{0, 7, 63, 64, 130}));
    EXPECT_EQ(s.size(), 5u);
    EXPECT_EQ(*s.lower_bound(65), 130);
    EXPECT_EQ(s.lower_bound(131), s.end());
    EXPECT_EQ(*s.find(64), 64);
    EXPECT_EQ(s.erase(63L), 1u);
    position_bits::iterator next = s.erase(s.find(7));
    EXPECT_EQ(*next, 64);
    EXPECT_EQ(s, (std::set<long>{0, 64, 130}));
    position_bits copy = s;
    copy.erase(0L);
    EXPECT_NE(copy, s);
    std::set<long> tree = s;
    EXPECT_EQ(tree, (std::set<long>{0, 64, 130}));
    std::ostringstream os;
    os << s << position_bits();
    EXPECT_EQ(os.str(), "{0,64,130}{}");
    s.clear();
    EXPECT_TRUE(s.empty());
    EXPECT_EQ(s.begin(), s.end());
}

TEST(PositionBits, BehavesAsAStdSetUnderRandomEdits) { expect_std_set_answers<position_bits>(11, 700); }
