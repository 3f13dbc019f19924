// The VHDL writer: entity, architecture, clocked process and the equations over the node array.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

const writer_case VHDL_CASES[] = {
    {"register and output elements driven, signals by name", circuit_a, "ca", R"(-- VHDL generation from ca

LIBRARY ieee;
USE ieee.std_logic_1164.all;
entity ca is
  port(a, b,  reset, clk: in std_logic;
       y: out std_logic);
end ca;

architecture ca_a of ca is
TYPE array_ca_node IS ARRAY (13 downto 0) OF std_logic ;
signal q : std_logic;
signal d : std_logic;
signal t : std_logic;
signal ca_node : array_ca_node;

begin
-- state and output computation
process (reset,clk)
begin
  if (reset = '0') then 
    y <= '0';
      q <= '0';
      ca_node(2) <= '0';
      ca_node(4) <= '0';
      ca_node(5) <= '0';
  elsif ( clk'event and clk='1') then 
      ca_node(4) <= a;
      ca_node(5) <= b;
  elsif ( clk'event and clk='0') then 
      y <= ca_node(9);
      q <= d;
      ca_node(2) <= d;
   end if;
end process;

-- actualisation
      ca_node(1) <= '1';
      ca_node(8) <= (ca_node(2) and ca_node(4)) or (not ca_node(2) and not ca_node(1));
      t <= ca_node(8);
      ca_node(7) <= ca_node(8);
      ca_node(9) <= (ca_node(5) and ca_node(1)) or (not ca_node(5) and ca_node(7));
      -- final output evaluation of y in process
      ca_node(6) <= ca_node(9);
      ca_node(12) <= (ca_node(4) and ca_node(6)) or (not ca_node(4) and not ca_node(6));
      d <= not ca_node(12);
      ca_node(3) <= not ca_node(12);
end ca_a;

)"},
    {"register that is an output: no signal, the port shows the state element", circuit_b, "cb",
     R"(-- VHDL generation from cb

LIBRARY ieee;
USE ieee.std_logic_1164.all;
entity cb is
  port(a, b,  reset, clk: in std_logic;
       q, y: out std_logic);
end cb;

architecture cb_a of cb is
TYPE array_cb_node IS ARRAY (13 downto 0) OF std_logic ;
signal d : std_logic;
signal t : std_logic;
signal cb_node : array_cb_node;

begin
-- state and output computation
process (reset,clk)
begin
  if (reset = '0') then 
    q <= '0';
    y <= '0';
      q <= '0';
      cb_node(2) <= '0';
      cb_node(4) <= '0';
      cb_node(5) <= '0';
  elsif ( clk'event and clk='1') then 
      cb_node(4) <= a;
      cb_node(5) <= b;
  elsif ( clk'event and clk='0') then 
      y <= cb_node(9);
      q <= cb_node(2);
      cb_node(2) <= d;
   end if;
end process;

-- actualisation
      cb_node(1) <= '1';
      cb_node(8) <= (cb_node(2) and cb_node(4)) or (not cb_node(2) and not cb_node(1));
      t <= cb_node(8);
      cb_node(7) <= cb_node(8);
      cb_node(9) <= (cb_node(5) and cb_node(1)) or (not cb_node(5) and cb_node(7));
      -- final output evaluation of y in process
      cb_node(6) <= cb_node(9);
      cb_node(12) <= (cb_node(4) and cb_node(6)) or (not cb_node(4) and not cb_node(6));
      d <= not cb_node(12);
      cb_node(3) <= not cb_node(12);
end cb_a;

)"},
    {"overlapping names declared once, a copy of an output read through its element", circuit_v, "cv",
     R"(-- VHDL generation from cv

LIBRARY ieee;
USE ieee.std_logic_1164.all;
entity cv is
  port(a,  reset, clk: in std_logic;
       y: out std_logic);
end cv;

architecture cv_a of cv is
TYPE array_cv_node IS ARRAY (9 downto 0) OF std_logic ;
signal r : std_logic;
signal s : std_logic;
signal k : std_logic;
signal z : std_logic;
signal cv_node : array_cv_node;

begin
-- state and output computation
process (reset,clk)
begin
  if (reset = '0') then 
    y <= '0';
      r <= '0';
      cv_node(2) <= '0';
      s <= '0';
      cv_node(3) <= '0';
      cv_node(4) <= '0';
  elsif ( clk'event and clk='1') then 
      cv_node(4) <= a;
  elsif ( clk'event and clk='0') then 
      y <= cv_node(8);
      r <= a;
      cv_node(2) <= a;
      s <= r;
      cv_node(3) <= r;
   end if;
end process;

-- actualisation
      cv_node(1) <= '1';
      k <= not cv_node(1);
      cv_node(6) <= not cv_node(1);
      cv_node(8) <= (cv_node(2) and cv_node(3)) or (not cv_node(2) and not cv_node(1));
      -- final output evaluation of y in process
      cv_node(5) <= cv_node(8);
      z <= cv_node(5);
      cv_node(7) <= cv_node(5);
end cv_a;

)"},
    {"no port but reset and clk: the port list closes without a semicolon", circuit_empty, "e0",
     R"(-- VHDL generation from e0

LIBRARY ieee;
USE ieee.std_logic_1164.all;
entity e0 is
  port( reset, clk: in std_logic
     );
end e0;

architecture e0_a of e0 is
TYPE array_e0_node IS ARRAY (2 downto 0) OF std_logic ;
signal e0_node : array_e0_node;

begin
-- state and output computation
process (reset,clk)
begin
  if (reset = '0') then 
  elsif ( clk'event and clk='1') then 
  elsif ( clk'event and clk='0') then 
   end if;
end process;

-- actualisation
end e0_a;

)"},
};

TEST(BAutomatonVhdlPut, GoldenTexts)
{
    for (const writer_case& c : VHDL_CASES) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(written(c.circuit(), &b_automaton::VHDL_put, c.name, 1), c.expected);
    }
}

// Level 0 types everything as bit and drops the library lines; an initial value 1 resets to '1'.
TEST(BAutomatonVhdlPut, BitType)
{
    std::string text = written(circuit_delay(), &b_automaton::VHDL_put, "cd", 0);
    EXPECT_EQ(text.find("LIBRARY"), std::string::npos);
    EXPECT_EQ(text.find("std_logic"), std::string::npos);
    for (const char* line : {"  port(a,  reset, clk: in bit;\n", "       r: out bit);\n",
                             "TYPE array_cd_node IS ARRAY (4 downto 0) OF bit ;\n", "      r <= '1';\n",
                             "      cd_node(2) <= '1';\n", "      r <= cd_node(2);\n", "      cd_node(2) <= a;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

// Names that VHDL does not take as they are become extended identifiers, everywhere.
TEST(BAutomatonVhdlPut, ExtendedIdentifiers)
{
    test_circuit c = {{"signal"}, {"x_"}, {"reset", "A"}, {"a"}, {"clk"},
                      {0},
                      {{{"reset", "A", "a"}, {"11 1"}}, {{"a", "clk"}, {"0 1"}}, {{"clk", "signal", "x_"}, {"11 1"}}}};
    std::string text = written(c, &b_automaton::VHDL_put, "nm", 1);
    for (const char* line : {"  port(\\A\\, \\reset\\,  reset, clk: in std_logic;\n", "       \\a\\: out std_logic);\n",
                             "signal \\signal\\ : std_logic;\n", "signal \\x_\\ : std_logic;\n",
                             "signal \\clk\\ : std_logic;\n", "      \\signal\\ <= \\x_\\;\n", "    \\a\\ <= '0';\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    // the manager's names are given back
    b_automaton* a = build_automaton(c);
    a->sort();
    std::ostringstream out;
    a->VHDL_put(out, 1, "nm");
    EXPECT_EQ(a->manager_associe()->Name_var_by_index(0), "signal");
    delete a;
}

// An entity named like a reserved word, or whose name is no basic identifier, is an extended
// identifier, and so are the architecture, the node array and its type built from such a name.
TEST(BAutomatonVhdlPut, EntityNames)
{
    std::string text = written(circuit_delay(), &b_automaton::VHDL_put, "end", 1);
    for (const char* line : {"-- VHDL generation from end\n", "entity \\end\\ is\n", "end \\end\\;\n",
                             "architecture end_a of \\end\\ is\n", "TYPE array_end_node IS ARRAY (",
                             "signal end_node : array_end_node;\n", "end end_a;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    text = written(circuit_delay(), &b_automaton::VHDL_put, "x_", 1);
    for (const char* line : {"entity \\x_\\ is\n", "architecture \\x__a\\ of \\x_\\ is\n",
                             "TYPE \\array_x__node\\ IS ARRAY (", "signal \\x__node\\ : \\array_x__node\\;\n",
                             "\\x__node\\(2) <= a;\n", "end \\x__a\\;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

// The level reaches nothing but the type: the driver's 1 gives one text at every cover kind.
TEST(BAutomatonVhdlPut, SameTextForEveryRunLevel)
{
    EXPECT_EQ(written(circuit_a(), &b_automaton::VHDL_put, "ca", 1), written(circuit_a(), &b_automaton::VHDL_put, "ca", 2));
}

} // namespace
