// Sorting of the equations, and the two entry points without content.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

TEST(Sort, DatesAndLevelsTwiceTheSame)
{
    b_automaton* a = build_automaton(circuit_a());
    EXPECT_TRUE(a->sort().empty());
    EXPECT_EQ(a->level_count, 4); // t 1, y 2, d 3
    Bddexpressionwood* w = a->wood;
    EXPECT_EQ(w->earliest_sort(), (std::list<long>{5, 4, 1}));
    EXPECT_EQ(w->exp_by_index(1)->early_date, 3);
    EXPECT_TRUE(a->sort().empty());
    EXPECT_EQ(a->level_count, 4);
    EXPECT_EQ(w->exp_by_index(1)->early_date, 3);
    EXPECT_EQ(w->exp_by_index(5)->early_date, 1);
    delete a;
}

TEST(Sort, CombinationalCycleIsReturned)
{
    // x := a OR y, y := x AND b
    test_circuit c = {{}, {}, {"a", "b"}, {"x"}, {"y"}, {}, {{{"a", "y", "x"}, {"1- 1", "-1 1"}}, {{"x", "b", "y"}, {"11 1"}}}};
    b_automaton* a = build_automaton(c);
    EXPECT_EQ(a->sort(), (std::list<long>{2, 3}));
    EXPECT_EQ(a->sort(), (std::list<long>{2, 3}));
    delete a;
}

TEST(Sort, WithoutEquations)
{
    b_automaton* a = build_automaton(circuit_delay());
    EXPECT_TRUE(a->sort().empty());
    EXPECT_EQ(a->level_count, 0);
    delete a;
}

TEST(BacPut, MessageAndNothingWritten)
{
    b_automaton* a = build_automaton(circuit_a());
    std::ostringstream out;
    testing::internal::CaptureStderr();
    a->BAC_put(out, 0, "ca");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "to do !\n");
    EXPECT_EQ(out.str(), "");
    delete a;
}

TEST(ExportAwaitedInputs, MessageOnly)
{
    b_automaton* a = build_automaton(circuit_a());
    testing::internal::CaptureStderr();
    a->export_awaited_inputs();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "A REVOIR ...\n");
    delete a;
}

} // namespace
