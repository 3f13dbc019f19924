// VHDL equation writers: the clocked process and the equations over the shared node array.
#include <gtest/gtest.h>

#include <sstream>

#include "tests/support/writers_test_forest.h"

namespace {

const std::list<std::string> inputs{"a", "b", "c"};
const std::list<std::string> resets{"  q <= '0'"};
const std::list<std::string> updates{"  q <= d"};

// the lines of s, t and u when they are not outputs and no element is driven
const std::string s_t_u = R"(      N(11) <= (N(3) and N(4)) or (not N(3) and not N(1));
      N(12) <= (N(2) and N(11)) or (not N(2) and not N(1));
      s <= N(12);
      N(13) <= (N(2) and N(1)) or (not N(2) and N(11));
      t <= N(13);
      u <= not N(2);
)";

const char* const two_edge_process = R"(process (reset,clk)
begin
  if (reset = '0') then 
    y_1 <= '0';
    v <= '0';
    k <= '0';
      q <= '0';
      N(2) <= '0';
      N(3) <= '0';
      N(4) <= '0';
  elsif ( clk'event and clk='1') then 
      N(2) <= a;
      N(3) <= b;
      N(4) <= c;
  elsif ( clk'event and clk='0') then 
      v <= N(4);
      y_1 <= N(14);
      k <= not N(1);
      q <= d;
   end if;
end process;

-- actualisation
)";

TEST(VhdlWritersTest, ProcessThenEquationsOverSharedNodes)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_vhdl(out, "N", inputs, f.outputs, resets, updates);
    EXPECT_EQ(out.str(), std::string(two_edge_process) + R"(      N(1) <= '1';
      -- final output evaluation of k in process
)" + s_t_u + R"(      -- final output evaluation of v in process
      N(14) <= (N(4) and N(6)) or (not N(4) and not N(1));
      -- final output evaluation of y_1 in process
)");
}

TEST(VhdlWritersTest, CopiesAndConstantsThatAreNotOutputs)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_vhdl(out, "N", {"a"}, {"y_1"}, {}, {});
    EXPECT_EQ(out.str(), std::string(R"(process (reset,clk)
begin
  if (reset = '0') then 
    y_1 <= '0';
      N(2) <= '0';
  elsif ( clk'event and clk='1') then 
      N(2) <= a;
  elsif ( clk'event and clk='0') then 
      y_1 <= N(14);
   end if;
end process;

-- actualisation
      N(1) <= '1';
      k <= not N(1);
)" + s_t_u + R"(      v <= c;
      N(14) <= (N(4) and N(6)) or (not N(4) and not N(1));
      -- final output evaluation of y_1 in process
)"));
}

TEST(VhdlWritersTest, DrivingTheVariableElements)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_vhdl(out, "N", inputs, f.outputs, resets, updates, 1);
    EXPECT_EQ(out.str(), std::string(two_edge_process) + R"(      N(1) <= '1';
      -- final output evaluation of k in process
      N(10) <= not N(1);
      N(11) <= (N(3) and N(4)) or (not N(3) and not N(1));
      N(12) <= (N(2) and N(11)) or (not N(2) and not N(1));
      s <= N(12);
      N(5) <= N(12);
      N(13) <= (N(2) and N(1)) or (not N(2) and N(11));
      t <= N(13);
      N(6) <= N(13);
      u <= not N(2);
      N(7) <= not N(2);
      -- final output evaluation of v in process
      N(8) <= N(4);
      N(14) <= (N(4) and N(6)) or (not N(4) and not N(1));
      -- final output evaluation of y_1 in process
      N(9) <= N(14);
)");
}

TEST(VhdlWritersTest, DrivenCopyReadsTheElementOfItsVariable)
{
    writers_forest f;
    std::ostringstream out;
    f.w.exp_by_index(6)->put_vhdl(out, "N", {}, 1);
    EXPECT_EQ(out.str(), "      v <= N(4);\n      N(8) <= N(4);");
}

TEST(VhdlWritersTest, VorixWritesEveryEquationIntoItsElement)
{
    writers_forest f;
    std::ostringstream out;
    f.w.Put_vhdl_vorix(out, "N", inputs, {"y_1"}, resets, updates);
    EXPECT_EQ(out.str(), R"(process (reset,clk)
begin
  if (reset = '0') then 
      q <= '0';
      N(2) <= '0';
      N(3) <= '0';
      N(4) <= '0';
  elsif ( clk'event and clk='1') then 
      q <= d;
      N(2) <= a;
      N(3) <= b;
      N(4) <= c;
   end if;
end process;

-- actualisation
      y_1 <= N(14);
      N(1) <= '1';
      N(10) <= not N(1);
      N(11) <= (N(3) and N(4)) or (not N(3) and not N(1));
      N(12) <= (N(2) and N(11)) or (not N(2) and not N(1));
      N(5) <= N(12);
      N(13) <= (N(2) and N(1)) or (not N(2) and N(11));
      N(6) <= N(13);
      N(7) <= not N(2);
      N(8) <= N(4);
      N(14) <= (N(4) and N(6)) or (not N(4) and not N(1));
      -- final output evaluation of y_1 in process
)");
}

TEST(VhdlWritersTest, AnAbstractOutputIsResetButNeitherAssignedNorWritten)
{
    abstract_forest f;
    std::ostringstream out;
    f.w.Put_vhdl(out, "N", {"a"}, {"x"}, {}, {});
    EXPECT_EQ(out.str(), R"(process (reset,clk)
begin
  if (reset = '0') then 
    x <= '0';
      N(2) <= '0';
  elsif ( clk'event and clk='1') then 
      N(2) <= a;
  elsif ( clk'event and clk='0') then 
   end if;
end process;

-- actualisation

      y <= not N(2);
)");
}

TEST(VhdlWritersTest, AForestWithoutEquationKeepsTheProcessFrame)
{
    empty_forest f;
    std::ostringstream out, vorix;
    f.w.Put_vhdl(out, "N", {"a"}, {"y"}, {"  r <= '0'"}, {"  r <= d"});
    f.w.Put_vhdl_vorix(vorix, "N", {"a"}, {"y"}, {"  r <= '0'"}, {"  r <= d"});
    EXPECT_EQ(out.str(), R"(process (reset,clk)
begin
  if (reset = '0') then 
    y <= '0';
      r <= '0';
      N(2) <= '0';
  elsif ( clk'event and clk='1') then 
      N(2) <= a;
  elsif ( clk'event and clk='0') then 
      r <= d;
   end if;
end process;

-- actualisation
)");
    EXPECT_EQ(vorix.str(), R"(process (reset,clk)
begin
  if (reset = '0') then 
      r <= '0';
      N(2) <= '0';
  elsif ( clk'event and clk='1') then 
      r <= d;
      N(2) <= a;
   end if;
end process;

-- actualisation
)");
}

TEST(VhdlWritersTest, AnEquationWritesOnlyNodesNotMarkedBefore)
{
    writers_forest f;
    f.m->Bdd_global_clear_marks();
    std::ostringstream first, second;
    f.w.exp_by_index(3)->put_vhdl(first, "N", {});
    f.w.exp_by_index(4)->put_vhdl(second, "N", {});
    EXPECT_EQ(first.str(), R"(      N(1) <= '1';
      N(11) <= (N(3) and N(4)) or (not N(3) and not N(1));
      N(12) <= (N(2) and N(11)) or (not N(2) and not N(1));
      s <= N(12);)");
    EXPECT_EQ(second.str(), R"(      N(13) <= (N(2) and N(1)) or (not N(2) and N(11));
      t <= N(13);)");
}

TEST(VhdlWritersTest, OutputsAreAssignedByAscendingPosition)
{
    inserted_forest f;
    std::ostringstream out;
    f.w.Put_vhdl(out, "N", {"a", "b"}, {"y", "x"}, {}, {});
    EXPECT_EQ(out.str(), R"(process (reset,clk)
begin
  if (reset = '0') then 
    y <= '0';
    x <= '0';
      N(2) <= '0';
      N(4) <= '0';
  elsif ( clk'event and clk='1') then 
      N(2) <= a;
      N(4) <= b;
  elsif ( clk'event and clk='0') then 
      x <= N(6);
      y <= not N(3);
   end if;
end process;

-- actualisation
      N(1) <= '1';
      N(6) <= (N(4) and N(2)) or (not N(4) and not N(1));
      -- final output evaluation of x in process
      -- final output evaluation of y in process
)");
}

} // namespace
