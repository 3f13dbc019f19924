// The microcontroller sketch writer.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_writers_fixture.h"

namespace {

std::string sketch(const test_circuit& c, const std::string& name, std::list<std::string> pulse)
{
    b_automaton* a = build_automaton(c);
    a->sort();
    std::ostringstream out;
    a->INO_put_grafcet(out, 0, name, pulse);
    delete a;
    return out.str();
}

TEST(BAutomatonInoPutGrafcet, LevelActions)
{
    EXPECT_EQ(sketch(circuit_a(), "ca", {}), R"(extern void my_setup(void);
extern void my_before(void);
extern void my_after(void);
extern int a(void);
extern int b(void);
extern void y_true(void);
extern void y_false(void);

int ca_q;

void setup()
{
  my_setup();
  ca_q= 0;
}

void loop()
{
  int ca_qnext;

  int ca_t,
      ca_a,
      ca_b,
      ca_d;

  int ca_def_node[13];

  /* user before() function call */
  my_before();

  /* inputs reading */
  ca_a=a();
  ca_b=b();

  /* internal definitions */
  ca_def_node[4]= ca_a;
   ca_def_node[1]= !0;
  ca_def_node[8]= ca_q && ca_def_node[4] || !ca_q && !ca_def_node[1];
   ca_t= ca_def_node[8];
  ca_def_node[7]= ca_t;
  ca_def_node[9]= ca_b && ca_def_node[1] || !ca_b && ca_def_node[7];
  if(ca_def_node[9])
  {
     y_true();
  }
  else
  {
     y_false();
  }

  ca_def_node[6]= ca_def_node[9];
  ca_def_node[12]= ca_a && ca_def_node[6] || !ca_a && !ca_def_node[6];
   ca_d= !ca_def_node[12];

  (void)ca_qnext;
  /* internal transitions */
  ca_q= ca_d;

  /* user after() function call */
  my_after();
}

)");
}

// A pulse output has one action; a register that is an output drives its actions from the
// register; a copy of an output reads the output's value; unread locals are read once.
TEST(BAutomatonInoPutGrafcet, PulseRegisterOutputAndCopies)
{
    std::string b = sketch(circuit_b(), "cb", {"y"});
    for (const char* line : {"extern void q_true(void);\nextern void q_false(void);\nextern void y(void);\n\n",
                             "  if(cb_def_node[9])\n  {\n     y();\n  }\n\n",
                             "  if(cb_q)\n  {\n     q_true();\n  }\n  else\n  {\n     q_false();\n  }\n"
                             "  (void)cb_qnext;\n  /* internal transitions */\n  cb_q= cb_d;\n"})
        EXPECT_NE(b.find(line), std::string::npos) << line;
    std::string v = sketch(circuit_v(), "cv", {"nothing"});
    for (const char* line : {"   cv_z= cv_def_node[8];\n", "  (void)cv_k;\n  (void)cv_z;\n",
                             "  cv_rnext= cv_a;\n  cv_snext= cv_r;\n  cv_r= cv_rnext;\n  cv_s= cv_snext;\n"})
        EXPECT_NE(v.find(line), std::string::npos) << line;
}

// '@' becomes "_at_" (then "_" while the name is a signal's), in the user functions' names too;
// the node array and the next value of a register take "_" while a signal is named like them,
// and a variable takes "_" while a user function has its name (w_x the variable of x).
TEST(BAutomatonInoPutGrafcet, AwkwardNames)
{
    std::string text = sketch(circuit_awkward(), "w", {"def_node"});
    EXPECT_EQ(text.find('@'), std::string::npos);
    for (const char* line : {"extern int a_at_b_(void);\nextern int w_x(void);\nextern int x(void);\n"
                             "extern void a_at_b_true(void);\nextern void a_at_b_false(void);\n"
                             "extern void def_node(void);\nextern void q_at__true(void);\n",
                             "int w_q_at_;\n", "  int w_q_at_next_;\n", "  int w_def_node_[", "  w_a_at_b_=a_at_b_();\n  w_w_x=w_x();\n  w_x_=x();\n", "     def_node();\n",
                             "  if(w_q_at_)\n  {\n     q_at__true();\n  }\n  else\n  {\n     q_at__false();\n  }\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

// Without registers, inputs and outputs: setup() only calls my_setup(), and the node array,
// read by nothing, is read once.
TEST(BAutomatonInoPutGrafcet, nothing)
{
    EXPECT_EQ(sketch(circuit_empty(), "e0", {}), R"(extern void my_setup(void);
extern void my_before(void);
extern void my_after(void);

void setup()
{
  my_setup();
}

void loop()
{
  int e0_def_node[2];

  /* user before() function call */
  my_before();

  /* inputs reading */

  (void)e0_def_node;
  /* user after() function call */
  my_after();
}

)");
}

} // namespace
