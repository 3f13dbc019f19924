// The CSharp writer: one class with properties, React() and Next().
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

const char* const CA_CLASS = R"(//.............................................................................
// Libraries :
//.............................................................................

 using System; 
//.............................................................................
// Class :
//.............................................................................

 public class ca
 {
//.............................................................................
// private attributs:
//.............................................................................

// private input variables :

private bool a;
private bool b;



// get & set methods for inputs from the FSM inputs :

 public bool P_a
 {

   get {
   return a;

      }

   set {
     if (value != a){
        a = value;

      }
    }
  }

 public bool P_b
 {

   get {
   return b;

      }

   set {
     if (value != b){
        b = value;

      }
    }
  }



// private output variables :
private bool y;



// private registers variables :

private bool ca_q,
   ca_qnext;



//.............................................................................
//The constructor :
//.............................................................................

public ca()
{

  Reset_Automaton();

}

//.............................................................................
//The methods :
//.............................................................................

// get & set methods for outputs from the FSM inputs :

 public bool GS_y
 {

   get {
   return y;

      }

   set {
     if (value !=  y){
       y = value;

      }
    }
  }



// Initialisation of the automaton:

 private void Reset_Automaton()
 {

  Reset_Inputs();
  Reset_Outputs();
  Reset_Registers();

 }

// Initialisation methods of the automaton boolean inputs:

 private void Reset_Inputs()
 {

   a = false;

   b = false;

 }

// Initialisation methods of the automaton boolean outputs:

 private void Reset_Outputs()
 {

   y = false;

 }

// Initialisation methods of the automaton boolean registers:

 private void Reset_Registers()
 {

  ca_q = false;

 }

// FSM Transition methods:

public void Automaton()
 {

  React();
  Next();
  Reset_Inputs();

 }

// Next state method computing:

private void  React()
 {

  bool[] ca_def_node = new bool[13];
  bool ca_a = a, ca_b = b;
  bool ca_y, ca_t, ca_d;
// internal definitions 
  ca_def_node[4]= ca_a;
  ca_def_node[1]= !false;
  ca_def_node[8]= ca_q && ca_def_node[4] || !ca_q && !ca_def_node[1];
  ca_t= ca_def_node[8];
  ca_def_node[7]= ca_t;
  ca_def_node[9]= ca_b && ca_def_node[1] || !ca_b && ca_def_node[7];
  ca_y= ca_def_node[9];
  ca_def_node[6]= ca_y;
  ca_def_node[12]= ca_a && ca_def_node[6] || !ca_a && !ca_def_node[6];
  ca_d= !ca_def_node[12];

  y = ca_y;
  ca_qnext = ca_d;
 }

// Changing method X=Xnext

private void Next()
 {

  ca_q = ca_qnext;
 }

}
)";

// No input, no output, no register, no equation.
const char* const E0_CLASS = R"(//.............................................................................
// Libraries :
//.............................................................................

 using System; 
//.............................................................................
// Class :
//.............................................................................

 public class e0
 {
//.............................................................................
// private attributs:
//.............................................................................

// private input variables :

// No inputs ...


// get & set methods for inputs from the FSM inputs :



// private output variables :
// No output ...


// private registers variables :



//.............................................................................
//The constructor :
//.............................................................................

public e0()
{

  Reset_Automaton();

}

//.............................................................................
//The methods :
//.............................................................................

// get & set methods for outputs from the FSM inputs :



// Initialisation of the automaton:

 private void Reset_Automaton()
 {

  Reset_Inputs();
  Reset_Outputs();
  Reset_Registers();

 }

// Initialisation methods of the automaton boolean inputs:

 private void Reset_Inputs()
 {

 }

// Initialisation methods of the automaton boolean outputs:

 private void Reset_Outputs()
 {

 }

// Initialisation methods of the automaton boolean registers:

 private void Reset_Registers()
 {

 }

// FSM Transition methods:

public void Automaton()
 {

  React();
  Next();
  Reset_Inputs();

 }

// Next state method computing:

private void  React()
 {

  bool[] e0_def_node = new bool[2];
 }

// Changing method X=Xnext

private void Next()
 {

 }

}
)";

const writer_case CSHARP_CASES[] = {
    {"locals, outputs and next-state signals as locals of React", circuit_a, "ca", CA_CLASS},
    {"nothing to declare", circuit_empty, "e0", E0_CLASS},
};

TEST(BAutomatonCsharpPut, GoldenTexts)
{
    for (const writer_case& c : CSHARP_CASES) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(written(c.circuit(), &b_automaton::CSHARP_put, c.name), c.expected);
    }
}

// A register that is an output publishes its register field; a register with initial value 1
// resets to !false.
TEST(BAutomatonCsharpPut, RegisterOutput)
{
    std::string text = written(circuit_delay(), &b_automaton::CSHARP_put, "cd");
    EXPECT_NE(text.find("  cd_r = !false;\n"), std::string::npos);
    EXPECT_NE(text.find("  bool cd_a = a;\n  r = cd_r;\n  cd_rnext = cd_a;\n }\n"), std::string::npos);
    EXPECT_NE(text.find("private void Next()\n {\n\n  cd_r = cd_rnext;\n }\n"), std::string::npos);
}

// A field named like a keyword is written as a verbatim identifier; its property keeps the name.
TEST(BAutomatonCsharpPut, KeywordFields)
{
    test_circuit c = {{}, {}, {"in"}, {"out"}, {}, {}, {{{"in", "out"}, {"0 1"}}}};
    std::string text = written(c, &b_automaton::CSHARP_put, "kw");
    for (const char* line : {"private bool @in;\n", "private bool @out;\n", " public bool P_in\n", "   return @in;\n",
                             "        @in = value;\n", "       @out = value;\n", "   @out = false;\n",
                             "  bool kw_in = @in;\n", "  @out = kw_out;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

// An input named value gets a field of another name, which its setter can tell from the setter's
// parameter; await is a keyword; a class named like a keyword is a verbatim identifier, and one
// named like a member takes "_".
TEST(BAutomatonCsharpPut, ValueAwaitAndClassNames)
{
    test_circuit c = {{}, {}, {"await", "value"}, {"y"}, {}, {}, {{{"await", "value", "y"}, {"11 1"}}}};
    std::string text = written(c, &b_automaton::CSHARP_put, "class");
    for (const char* line : {" public class @class\n", "public @class()\n", "private bool @await;\n",
                             "private bool value_;\n", " public bool P_value\n", "   return value_;\n",
                             "     if (value != value_){\n        value_ = value;\n", "        @await = value;\n",
                             "  bool class_await = @await, class_value = value_;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    EXPECT_EQ(text.find("(value != value)"), std::string::npos);
    text = written(c, &b_automaton::CSHARP_put, "React");
    for (const char* line : {" public class React_\n", "public React_()\n", "private void  React()\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

// A field named like a member of the class (a method, the class, a property, a register field)
// takes "_" until it is free; its property keeps the signal's name.
TEST(BAutomatonCsharpPut, MemberNamedFields)
{
    test_circuit c = {{"q"}, {"Next"}, {"React", "x", "mc_q"}, {"Next", "P_x", "mc"}, {}, {0},
                      {{{"React", "x", "Next"}, {"11 1"}}, {{"mc_q", "P_x"}, {"1 1"}}, {{"x", "mc"}, {"0 1"}}}};
    std::string text = written(c, &b_automaton::CSHARP_put, "mc");
    for (const char* line : {"private bool React_;\n", "private bool mc_q_;\n", "private bool Next_;\n",
                             "private bool P_x_;\n", "private bool mc_;\n", " public bool P_React\n",
                             " public bool GS_Next\n", "   return Next_;\n", "  bool mc_React = React_, mc_mc_q = mc_q_, mc_x = x;\n",
                             "  Next_ = mc_Next;\n", "  P_x_ = mc_P_x;\n", "  mc_ = mc_mc;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

// '@' becomes "_at_" (then "_" while the name is a signal's), the node array and the next value
// of a register take "_" while a signal is named like them, and a field named like the copy of a
// signal in React takes "_".
TEST(BAutomatonCsharpPut, AwkwardNames)
{
    std::string text = written(circuit_awkward(), &b_automaton::CSHARP_put, "w");
    EXPECT_EQ(text.find('@'), std::string::npos);
    for (const char* line : {"private bool a_at_b_;\nprivate bool w_x_;\nprivate bool x;\n", " public bool P_a_at_b_\n",
                             " public bool P_w_x\n", "   return w_x_;\n", "private bool a_at_b;\nprivate bool def_node;\n"
                             "private bool q_at_;\n", "private bool w_q_at_,\n   w_q_at_next_;\n", " public bool GS_q_at_\n",
                             "  bool[] w_def_node_ = new bool[", "  bool w_a_at_b_ = a_at_b_, w_w_x = w_x_, w_x = x;\n"
                             "  bool w_a_at_b, w_def_node, w_n_at_, w_q_at_next;\n",
                             "  a_at_b = w_a_at_b;\n  def_node = w_def_node;\n  q_at_ = w_q_at_;\n  w_q_at_next_ = w_n_at_;\n",
                             "  w_q_at_ = w_q_at_next_;\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

} // namespace
