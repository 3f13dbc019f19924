// The C writer: the source with its reset and step functions, and the header.
#include <gtest/gtest.h>

#include "tests/support/b_automaton_targets_fixture.h"

namespace {

const two_file_case C_CASES[] = {
    {"next-state signal declared, output read through its pointer", circuit_a, "ca", R"(int ca_q,
    ca_qnext;

void ca_reset_automaton(int ca_a, int ca_b, int *ca_y)
{
  ca_q= 0;
}

void ca_automaton(int ca_a, int ca_b, int *ca_y)
{
  int ca_t, ca_d;

  int ca_def_node[13];
  /* internal definitions */
  ca_def_node[4]= ca_a;
   ca_def_node[1]= !0;
  ca_def_node[8]= ca_q && ca_def_node[4] || !ca_q && !ca_def_node[1];
   ca_t= ca_def_node[8];
  ca_def_node[7]= ca_t;
  ca_def_node[9]= ca_b && ca_def_node[1] || !ca_b && ca_def_node[7];
  *ca_y= ca_def_node[9];
  ca_def_node[6]= *ca_y;
  ca_def_node[12]= ca_a && ca_def_node[6] || !ca_a && !ca_def_node[6];
   ca_d= !ca_def_node[12];

  /* internal transitions */
  ca_q= ca_d;

}

)",
     R"(extern void ca_reset_automaton(int ca_a, int ca_b, int *ca_y);

extern void ca_automaton(int ca_a, int ca_b, int *ca_y);

)"},
    {"register that is an output: its own parameter, written every step", circuit_b, "cb", R"(int cb_q,
    cb_qnext;

void cb_reset_automaton(int cb_a, int cb_b, int *cb_q_out, int *cb_y)
{
  cb_q= 0;
}

void cb_automaton(int cb_a, int cb_b, int *cb_q_out, int *cb_y)
{
  int cb_t, cb_d;

  int cb_def_node[13];
  /* internal definitions */
  cb_def_node[4]= cb_a;
   cb_def_node[1]= !0;
  cb_def_node[8]= cb_q && cb_def_node[4] || !cb_q && !cb_def_node[1];
   cb_t= cb_def_node[8];
  cb_def_node[7]= cb_t;
  cb_def_node[9]= cb_b && cb_def_node[1] || !cb_b && cb_def_node[7];
  *cb_y= cb_def_node[9];
  cb_def_node[6]= *cb_y;
  cb_def_node[12]= cb_a && cb_def_node[6] || !cb_a && !cb_def_node[6];
   cb_d= !cb_def_node[12];

  *cb_q_out= cb_q;
  /* internal transitions */
  cb_q= cb_d;

}

)",
     R"(extern void cb_reset_automaton(int cb_a, int cb_b, int *cb_q_out, int *cb_y);

extern void cb_automaton(int cb_a, int cb_b, int *cb_q_out, int *cb_y);

)"},
    {"register fed by a register: all transitions at once; unread locals", circuit_v, "cv", R"(int cv_r,
    cv_s,
    cv_rnext,
    cv_snext;

void cv_reset_automaton(int cv_a, int *cv_y)
{
  cv_r= 0;
  cv_s= 0;
}

void cv_automaton(int cv_a, int *cv_y)
{
  int cv_k, cv_z;

  int cv_def_node[9];
  /* internal definitions */
   cv_def_node[1]= !0;
   cv_k= !cv_def_node[1];
  cv_def_node[3]= cv_s;
  cv_def_node[8]= cv_r && cv_def_node[3] || !cv_r && !cv_def_node[1];
  *cv_y= cv_def_node[8];
   cv_z= *cv_y;

  (void)cv_k;
  (void)cv_z;
  /* internal transitions */
  cv_rnext= cv_a;
  cv_snext= cv_r;
  cv_r= cv_rnext;
  cv_s= cv_snext;

}

)",
     R"(extern void cv_reset_automaton(int cv_a, int *cv_y);

extern void cv_automaton(int cv_a, int *cv_y);

)"},
    {"nothing: empty parameter lists and bodies, unused node array", circuit_empty, "e0", R"(void e0_reset_automaton()
{
}

void e0_automaton()
{
  int e0_def_node[2];
  (void)e0_def_node;
}

)",
     "extern void e0_reset_automaton();\n\nextern void e0_automaton();\n\n"},
    {"combinational, negated variable", circuit_comb, "cc", R"(void cc_reset_automaton(int cc_a, int cc_b, int *cc_x, int *cc_y)
{
}

void cc_automaton(int cc_a, int cc_b, int *cc_x, int *cc_y)
{
  int cc_def_node[7];
  /* internal definitions */
  cc_def_node[3]= cc_b;
   cc_def_node[1]= !0;
  cc_def_node[6]= cc_a && cc_def_node[3] || !cc_a && !cc_def_node[1];
  *cc_x= cc_def_node[6];
  cc_def_node[2]= cc_a;
  *cc_y= !cc_def_node[2];

}

)",
     R"(extern void cc_reset_automaton(int cc_a, int cc_b, int *cc_x, int *cc_y);

extern void cc_automaton(int cc_a, int cc_b, int *cc_x, int *cc_y);

)"},
    {"register output fed by an input, initial value 1, no equation", circuit_delay, "cd", R"(int cd_r,
    cd_rnext;

void cd_reset_automaton(int cd_a, int *cd_r_out)
{
  cd_r= !0;
}

void cd_automaton(int cd_a, int *cd_r_out)
{
  int cd_def_node[4];
  *cd_r_out= cd_r;
  (void)cd_def_node;
  /* internal transitions */
  cd_r= cd_a;

}

)",
     "extern void cd_reset_automaton(int cd_a, int *cd_r_out);\n\nextern void cd_automaton(int cd_a, int *cd_r_out);\n\n"},
};

TEST(BAutomatonCPut, GoldenTexts)
{
    check_two_file_cases(C_CASES, &b_automaton::C_put);
}

// The register-output parameter takes "_out" once more while the name is a signal's.
TEST(BAutomatonCPut, RegisterOutputParameterAvoidsSignalNames)
{
    test_circuit c = circuit_delay();
    c.locals = {"r_out"};
    c.covers = {{{"a", "r_out"}, {"1 1"}}};
    std::string source, header;
    written_pair(c, &b_automaton::C_put, "cd", 0, source, header);
    EXPECT_EQ(header, "extern void cd_reset_automaton(int cd_a, int *cd_r_out_);\n\n"
                      "extern void cd_automaton(int cd_a, int *cd_r_out_);\n\n");
}

// '@' becomes "_at_" (then "_" while the name is a signal's), everywhere; the node array and the
// next value of a register take "_" while a signal is named like them.
TEST(BAutomatonCPut, AwkwardNames)
{
    std::string source, header;
    written_pair(circuit_awkward(), &b_automaton::C_put, "w", 0, source, header);
    const std::string params = "(int w_a_at_b_, int w_w_x, int w_x, int *w_a_at_b, int *w_def_node, int *w_q_at__out)";
    EXPECT_EQ(header, "extern void w_reset_automaton" + params + ";\n\nextern void w_automaton" + params + ";\n\n");
    EXPECT_EQ(source.find('@'), std::string::npos);
    for (const char* line : {"int w_q_at_,\n    w_q_at_next_;\n", "{\n  w_q_at_= !0;\n}\n", "  int w_n_at_, w_q_at_next;\n",
                             "  int w_def_node_[", "  *w_def_node= w_def_node_[", "  *w_a_at_b= ",
                             "  *w_q_at__out= w_q_at_;\n  /* internal transitions */\n  w_q_at_= w_n_at_;\n"})
        EXPECT_NE(source.find(line), std::string::npos) << line;
}

// Registers named automaton and reset_automaton would be the two functions once prefixed: they
// take "_", everywhere.
TEST(BAutomatonCPut, RegistersNamedLikeTheFunctions)
{
    test_circuit c = {{"automaton", "reset_automaton"}, {"a", "automaton"}, {"a"}, {"reset_automaton"}, {}, {0, 1}, {}};
    std::string source, header;
    written_pair(c, &b_automaton::C_put, "m", 0, source, header);
    EXPECT_EQ(header, "extern void m_reset_automaton(int m_a, int *m_reset_automaton__out);\n\n"
                      "extern void m_automaton(int m_a, int *m_reset_automaton__out);\n\n");
    for (const char* line : {"int m_automaton_,\n    m_reset_automaton_,\n    m_automaton_next,\n"
                             "    m_reset_automaton_next;\n",
                             "  m_automaton_= 0;\n  m_reset_automaton_= !0;\n",
                             "  *m_reset_automaton__out= m_reset_automaton_;\n",
                             "  m_automaton_next= m_a;\n  m_reset_automaton_next= m_automaton_;\n"})
        EXPECT_NE(source.find(line), std::string::npos) << line << "\n" << source;
}

// The level is not read: every level gives the same text.
TEST(BAutomatonCPut, LevelNotRead)
{
    std::string texts[3][2];
    for (int level = 0; level < 3; ++level)
        written_pair(circuit_a(), &b_automaton::C_put, "ca", level, texts[level][0], texts[level][1]);
    for (int level = 1; level < 3; ++level) {
        EXPECT_EQ(texts[0][0], texts[level][0]);
        EXPECT_EQ(texts[0][1], texts[level][1]);
    }
}

} // namespace
