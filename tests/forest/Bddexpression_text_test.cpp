// Debug texts: an equation's stream output, the forest's statistics and listing.
#include <sstream>

#include "tests/support/forest_fixture.h"

static std::string address(const void* p)
{
    std::ostringstream os;
    os << p;
    return os.str();
}

TEST(EquationText, WithAForest)
{
    dated_and_not f;
    Bddexpression* x = f.eq("x");
    std::ostringstream os;
    os << *x;
    EXPECT_EQ(os.str(), "(" + address(x) + ") <x> [type:0]x = a * b  weight: 1 usertype: 0");
    EXPECT_EQ(f.eq("y")->debug_in_string(), "<y> y = !x  weight: 1 usertype: 0");
    x->setExpDef("g");
    EXPECT_EQ(x->debug_in_string(), "<x> x = a * bwarning ABSTRACTION by g()!  weight: 1 usertype: 0");
}

TEST(ForestText, Statistics)
{
    dated_and_not f;
    std::ostringstream os;
    f.w.stat(os);
    EXPECT_EQ(os.str(), "wood Bddexpression statistics:\n"
                        "  - adress: " + address(&f.w) + "\n" + R"(  - bbd variables number of the bdd manager: 4
  - variables number used : 4
  - arrays's length  : 4
  - expression ids set {2,3}
  - nb levels 3
      level: 0
        early date: 
        late date: 3 
      level: 1
        early date: 2 
        late date: 2 
      level: 2
        early date: 3 
        late date: 
      level: 3
        early date: 
        late date: 

   earliest date sorting:
2 3 

   latest date sorting:
2 3 

)");
}

TEST(ForestText, UnequalCountsAndNoDates)
{
    small_forest f({"a"});
    f.m->New_var_last("b"); // behind the forest's back
    std::ostringstream os;
    f.w.stat(os);
    EXPECT_EQ(os.str(), "wood Bddexpression statistics:\n"
                        "  - adress: " + address(&f.w) + "\n" + R"(  - bbd variables number of the bdd manager: 2
  - variables number used : 1
INTERNAL ERROR: bdd variables number doesn't corresponding !!!
  - arrays's length  : 1
  - expression ids set {}
  - nb levels 0
      level: 0
        early date: 
        late date: 

   earliest date sorting:


   latest date sorting:


)");
}

TEST(ForestText, EquationsList)
{
    dated_and_not f;
    std::ostringstream stat, os;
    f.w.stat(stat);
    os << f.w;
    EXPECT_EQ(os.str(), stat.str() + "Equations list:\n"
                                     "0: a = - dates (0,2)  to vars {2}\n"
                                     "1: b = - dates (0,2)  to vars {2}\n"
                                     "2: (" + address(f.eq("x")) + ") <x> [type:0]x = a * b  weight: 1 usertype: 0"
                                     " dates (1,1) from vars {0,1}  to vars {3}\n"
                                     "3: (" + address(f.eq("y")) + ") <y> [type:0]y = !x  weight: 1 usertype: 0"
                                     " dates (2,0) from vars {2}  to vars {}\n");
}
