// Marks, numbering, node lists, structure dumps, the self-check and the statistics.
#include <gtest/gtest.h>

#include <regex>
#include <sstream>

#include "tests/support/bdd_model.h"

namespace {

TEST(BddTraversal, SizesAndNumbering)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    EXPECT_EQ(m.Bdd_size(m.Bdd_zero()), 1);
    EXPECT_EQ(m.Bdd_size(x), 2);
    bdd f = m.Bdd_and(x, y);
    EXPECT_EQ(m.Bdd_size(f), 3);
    EXPECT_EQ(f.node_ptr->trav_number, 0);
    EXPECT_EQ(y.node_ptr->trav_number, 1);
    EXPECT_EQ(m.terminal->trav_number, 2);
    EXPECT_EQ(f.node_ptr->mark, 1);
    // numbering goes on from where it is asked to, over unmarked nodes only
    EXPECT_EQ(m.Bdd_incremental_id(f.node_ptr, 10), 10);
    m.Bdd_clear_marks(f);
    EXPECT_EQ(f.node_ptr->mark + y.node_ptr->mark + m.terminal->mark, 0);
    EXPECT_EQ(x.node_ptr->mark, 1); // numbered by Bdd_size(x), not below f
    EXPECT_EQ(m.Bdd_incremental_id(x.node_ptr, 10), 10);
    m.Bdd_global_clear_marks();
    EXPECT_EQ(x.node_ptr->mark + m.terminal->mark, 0);
    EXPECT_EQ(m.Bdd_incremental_id(x.node_ptr, 10), 12);
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Bdd_incremental_id(nullptr, 4), 4);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: call bddpp_manager::Bdd_incremental_id() with null reference!\n");
}

TEST(BddTraversal, NodeLists)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y"), z = m.New_var_last("z");
    std::ostringstream out;
    m.Print_bdd_by_nodes_list(out, x);
    EXPECT_EQ(out.str(), "nombre de noeud trouves: 2\n0: 0:1:1,-1\n1: -1:-3:-3,1\n");
    bdd f = m.Bdd_or(x, m.Bdd_not(y)); // then: terminal, else: NOT y
    bdd g = m.Bdd_and(y, z);
    std::list<bdd> l = {f, g};
    out.str("");
    m.Print_bdds_list_by_nodes_list(out, l);
    EXPECT_EQ(out.str(), "bdd_vars: \nx,y,z;\nbdd_nodes: \n0: 0:1:2,-1\n1: -1:-3:-3,1\n2: 1:1:1,-1\n"
                         "3: 1:4:1,-1\n4: 2:1:1,-1\n");
    long map[3] = {7, 8, 9};
    out.str("");
    m.Print_bdds_list_by_nodes_list(out, l, map);
    EXPECT_EQ(out.str(), "5\n0: 7:1:2,-1\n1: -1:-3:-3,1\n2: 8:1:1,-1\n3: 8:4:1,-1\n4: 9:1:1,-1\n");
    out.str("");
    m.Print_bdd_by_nodes_list(out, g, map);
    EXPECT_EQ(out.str(), "0: 8:1:2,-1\n1: 9:2:2,-1\n2: -1:-3:-3,1\n");
    std::list<bdd> none;
    out.str("");
    m.Print_bdds_list_by_nodes_list(out, none);
    m.Print_bdds_list_by_nodes_list(out, none, map);
    EXPECT_EQ(out.str(), "bdd_vars: \nx,y,z;\nbdd_nodes: \n0\n");
    out.str("");
    Print_bdd_node(out, g.node_ptr);
    out << "|";
    m.Print_bdd_node(out, nullptr);
    Print_bdd_node(out, nullptr);
    m.Print_bdd_node_with_adress(out, m.terminal);
    out << "|";
    m.Print_bdd_node_with_adress(out, g.node_ptr);
    std::ostringstream expected;
    expected << "0: 1:1:2,-1|" << static_cast<const void*>(m.terminal) << ": -1:-3:-3,1|"
             << static_cast<const void*>(g.node_ptr) << ": 1:" << static_cast<const void*>(z.node_ptr) << ":"
             << static_cast<const void*>(m.terminal) << ",-1";
    EXPECT_EQ(out.str(), expected.str());
}

TEST(BddTraversal, StructureDumps)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y"), z = m.New_var_last("z");
    bdd shared = m.Bdd_and(y, z);
    bdd f = m.Bdd_or(m.Bdd_and(x, shared), m.Bdd_and(m.Bdd_not(x), m.Bdd_not(shared)));
    std::ostringstream out;
    m.Print_bdd_structure(out, f);
    EXPECT_EQ(out.str(), "if x (node: 0,index: 0)\n"
                         "  if y (node: 1,index: 1)\n"
                         "    z (node: 2,index: 2)\n"
                         "  else (not y)\n"
                         "    not(\n"
                         "        1 (node: 3,index: -1)\n"
                         "       )\n"
                         "else (not x)\n"
                         "  not(\n"
                         "      already found node: 1\n"
                         "     )\n");
    out.str("");
    m.Print_bdd_structure(out, m.Bdd_not(y));
    EXPECT_EQ(out.str(), "not(\n     y (node: 0,index: 1)\n   )\n");
    out.str("");
    m.Chars('*', 3, out);
    m.Chars('*', 0, out);
    EXPECT_EQ(out.str(), "***");
    testing::internal::CaptureStderr();
    m.Print_bdd_structure(stdout, f);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "bddpp_manager::Print_bdd_structure(FILE * file,bdd f) A FAIRE\n");
}

TEST(BddTraversal, SelfCheck)
{
    bddpp_manager m;
    std::vector<bdd> v = make_vars(m, 3);
    bdd f = m.Bdd_xor(v[0], m.Bdd_and(v[1], v[2]));
    EXPECT_EQ(m.Bdd_is_correct(f), 1);
    EXPECT_EQ(f.node_ptr->trav_number, 1); // numbered from 1
    EXPECT_EQ(m.Bdd_is_correct(m.Bdd_zero()), 1);
    bdd_node orphan;
    EXPECT_EQ(orphan.is_correct(), 0);
    // a node on x2 whose child x0 lies above it
    bdd_node* bad = new (&m) bdd_node(&m, m.next_number++, 2, 0, 1, v[0].node_ptr, m.terminal);
    bdd b(&m, 1, bad);
    EXPECT_EQ(m.Bdd_is_correct(b), 0);
    EXPECT_EQ(m.Bdd_is_correct(m.Bdd_and(v[0], m.Bdd_and(v[1], b))), 0);
    testing::internal::CaptureStderr();
    EXPECT_EQ(m.Bdd_is_correct(bdd()), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Warning: call  bddpp_manager::Bdd_is_correct() with a null reference!\n");
}

TEST(BddTraversal, StatisticsOfANewManager)
{
    bddpp_manager m;
    std::ostringstream out, address;
    m.Bdd_stats(out);
    address << static_cast<const void*>(&m);
    EXPECT_EQ(out.str(), "BDD MANAGER statistics:\nmemory adress: " + address.str() +
                             " Version: 4.6\nbdd constant number: 1\n-: 1 --> -1\nbdd variables number: 0\n\n"
                             "Map:\nglobal id: sign = var_index then_node else_node else_link_type (refs number)\n"
                             "Map Nodes number: 0 --> useless: 0\nGlobal references number: 0\n"
                             "number of garbage collector calls: 0\n" +
                             std::string(46, '-') + "\n");
}

TEST(BddTraversal, StatisticsListTheTableInKeyOrder)
{
    bddpp_manager m;
    bdd x = m.New_var_last("x"), y = m.New_var_last("y");
    bdd f = m.Bdd_or(x, y);
    m.Bdd_gc();
    std::ostringstream out;
    m.Bdd_stats(out);
    std::string s = out.str();
    std::string tail = s.substr(s.find("bdd variables number"));
    EXPECT_EQ(tail, "bdd variables number: 2\nIndex: name --> signature\n0: x --> 2097154\n1: y --> 2199025352706\n\n"
                    "Map:\nglobal id: sign = var_index then_node else_node else_link_type (refs number)\n"
                    "2: 2097154 = 0 1 1 inverse (1)\n"
                    "4: 2097159 = 0 1 3 normal (1)\n"
                    "3: 2199025352706 = 1 1 1 inverse (2)\n"
                    "Map Nodes number: 3 --> useless: 0\nGlobal references number: 4\n"
                    "number of garbage collector calls: 1\n" +
                        std::string(46, '-') + "\n");
}

} // namespace
