// The SystemC writer: the module header and the source of its process.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_targets_fixture.h"

namespace {

const two_file_case SYSTEMC_CASES[] = {
    {"assignments, plain members, outputs computed into locals", circuit_a, "ca", R"(#include <systemc.h>
#include "ca_sc.h"

// Processes
void ca::ca_thread()
{
  // state and output computation
  if (reset == !false){
    y = false;

    q = false;
  }
  else if ( clk.event()){ 
    bool y;
 //internal definitions
    t = q && a;
    y = b || ! b && t;
    d = a && ! y || ! a && y;

    this->y = y;
    q = d;
  }
};
)",
     R"(#ifndef ca_H
#define ca_H

#include <systemc.h>

SC_MODULE(ca)
{
    // Port Declaration
    sc_in<bool> a;
    sc_in<bool> b;
    sc_in<bool> reset;
    sc_in<bool> clk;
    sc_out<bool> y;

   // Data Members
    sc_signal<bool> q;
    bool d;
    bool t;

    // Constructor
    SC_CTOR(ca)
    {
      SC_METHOD(ca_thread);
      sensitive(a);
      sensitive(b);
      sensitive(reset);
      sensitive << clk.pos();
    }

    // Processes
    void ca_thread();
};

#endif
)"},
    {"register that is an output: its state in a member of its own", circuit_b, "cb", R"(#include <systemc.h>
#include "cb_sc.h"

// Processes
void cb::cb_thread()
{
  // state and output computation
  if (reset == !false){
    q = false;
    y = false;

    q_state = false;
  }
  else if ( clk.event()){ 
    bool y;
    bool q = q_state;
 //internal definitions
    t = q && a;
    y = b || ! b && t;
    d = a && ! y || ! a && y;

    this->q = q;
    this->y = y;
    q_state = d;
  }
};
)",
     R"(#ifndef cb_H
#define cb_H

#include <systemc.h>

SC_MODULE(cb)
{
    // Port Declaration
    sc_in<bool> a;
    sc_in<bool> b;
    sc_in<bool> reset;
    sc_in<bool> clk;
    sc_out<bool> q;
    sc_out<bool> y;

   // Data Members
    sc_signal<bool> q_state;
    bool d;
    bool t;

    // Constructor
    SC_CTOR(cb)
    {
      SC_METHOD(cb_thread);
      sensitive(a);
      sensitive(b);
      sensitive(reset);
      sensitive << clk.pos();
    }

    // Processes
    void cb_thread();
};

#endif
)"},
    {"no signal and no equation", circuit_empty, "e0", R"(#include <systemc.h>
#include "e0_sc.h"

// Processes
void e0::e0_thread()
{
  // state and output computation
  if (reset == !false){

  }
  else if ( clk.event()){ 
  }
};
)",
     R"(#ifndef e0_H
#define e0_H

#include <systemc.h>

SC_MODULE(e0)
{
    // Port Declaration
    sc_in<bool> reset;
    sc_in<bool> clk;

   // Data Members

    // Constructor
    SC_CTOR(e0)
    {
      SC_METHOD(e0_thread);
      sensitive(reset);
      sensitive << clk.pos();
    }

    // Processes
    void e0_thread();
};

#endif
)"},
};

TEST(BAutomatonSystemcPut, GoldenTexts)
{
    check_two_file_cases(SYSTEMC_CASES, &b_automaton::SYSTEMC_put);
}

// Overlapping names: a next-state signal that is an input or a register gets no member; a
// register with initial value 1 resets to !false.
TEST(BAutomatonSystemcPut, MembersDeclaredOnce)
{
    std::string source, header;
    written_pair(circuit_v(), &b_automaton::SYSTEMC_put, "cv", 0, source, header);
    EXPECT_NE(header.find("   // Data Members\n    sc_signal<bool> r;\n    sc_signal<bool> s;\n    bool k;\n    bool z;\n\n"),
              std::string::npos);
    EXPECT_NE(source.find("    this->y = y;\n    r = a;\n    s = r;\n  }\n"), std::string::npos);
    written_pair(circuit_delay(), &b_automaton::SYSTEMC_put, "cd", 0, source, header);
    EXPECT_NE(source.find("    r_state = !false;\n"), std::string::npos);
}

// A signal named like a port of the frame or a keyword gets "_" appended, everywhere.
TEST(BAutomatonSystemcPut, ReservedNames)
{
    test_circuit c = {{}, {}, {"reset", "int"}, {"clk"}, {"sensitive"}, {},
                      {{{"reset", "int", "sensitive"}, {"11 1"}}, {{"sensitive", "clk"}, {"1 1"}}}};
    std::string source, header;
    written_pair(c, &b_automaton::SYSTEMC_put, "rn", 0, source, header);
    for (const char* line : {"    sc_in<bool> int_;\n", "    sc_in<bool> reset_;\n", "    sc_out<bool> clk_;\n",
                             "    bool sensitive_;\n", "      sensitive(reset_);\n"})
        EXPECT_NE(header.find(line), std::string::npos) << line;
    for (const char* line : {"    sensitive_ = int_ && reset_;\n", "    clk_ = sensitive_;\n", "    this->clk_ = clk_;\n"})
        EXPECT_NE(source.find(line), std::string::npos) << line;
}

// A module named like a keyword takes "_" as the signals do; the header keeps the file's name.
TEST(BAutomatonSystemcPut, ReservedModuleName)
{
    std::string source, header;
    written_pair(circuit_comb(), &b_automaton::SYSTEMC_put, "class", 0, source, header);
    for (const char* line : {"#ifndef class_H\n#define class_H\n", "SC_MODULE(class_)\n", "    SC_CTOR(class_)\n",
                             "      SC_METHOD(class__thread);\n", "    void class__thread();\n"})
        EXPECT_NE(header.find(line), std::string::npos) << line;
    for (const char* line : {"#include \"class_sc.h\"\n", "void class_::class__thread()\n"})
        EXPECT_NE(source.find(line), std::string::npos) << line;
}

// '@' becomes "_at_", then "_" while the name is a signal's, everywhere.
TEST(BAutomatonSystemcPut, AtNames)
{
    std::string source, header;
    written_pair(circuit_awkward(), &b_automaton::SYSTEMC_put, "w", 0, source, header);
    EXPECT_EQ(header.find('@'), std::string::npos);
    EXPECT_EQ(source.find('@'), std::string::npos);
    for (const char* line : {"    sc_in<bool> a_at_b_;\n", "    sc_out<bool> a_at_b;\n", "    sc_out<bool> q_at_;\n",
                             "    sc_signal<bool> q_at__state;\n", "    bool n_at_;\n", "      sensitive(a_at_b_);\n"})
        EXPECT_NE(header.find(line), std::string::npos) << line;
    for (const char* line : {"    this->q_at_ = q_at_;\n", "    q_at__state = n_at_;\n"})
        EXPECT_NE(source.find(line), std::string::npos) << line;
}

// Names that the library's process macro uses, and object-like macros, are reserved as well.
TEST(BAutomatonSystemcPut, MacroNames)
{
    test_circuit c = {{}, {}, {"linux", "EOF"}, {"sensitive_pos"}, {"NULL"}, {},
                      {{{"linux", "EOF", "NULL"}, {"11 1"}}, {{"NULL", "sensitive_pos"}, {"0 1"}}}};
    std::string source, header;
    written_pair(c, &b_automaton::SYSTEMC_put, "mn", 0, source, header);
    for (const char* line : {"    sc_in<bool> EOF_;\n", "    sc_in<bool> linux_;\n", "    sc_out<bool> sensitive_pos_;\n",
                             "    bool NULL_;\n"})
        EXPECT_NE(header.find(line), std::string::npos) << line;
    EXPECT_NE(source.find("    NULL_ = EOF_ && linux_;\n"), std::string::npos);
}

} // namespace
