// The list templates instantiated for equations.
#include <gtest/gtest.h>

#include "forest/list_Bddexpression_instances.h"

TEST(EquationLists, DriverPrintsTheListsOfValues)
{
    testing::internal::CaptureStderr();
    list_Bddexpression_inutile();
    std::string text = testing::internal::GetCapturedStderr();
    EXPECT_EQ(text.rfind("taille 2 ((", 0), 0u) << text;
    EXPECT_NE(text.find("<> [type:0]- = ()"), std::string::npos) << text;
    EXPECT_NE(text.find("\navant ("), std::string::npos) << text;
}

TEST(EquationLists, ArrayOfEquationsKeepsTheirFields)
{
    std::list<Bddexpression> l;
    l.push_back(Bddexpression("p", nullptr, bdd(), bdd(), "f", 3, 0, 2));
    l.push_back(Bddexpression());
    Bddexpression* a = array_convert(l);
    EXPECT_EQ(a[0].name, "p");
    EXPECT_EQ(a[0].exp_def, "f");
    EXPECT_EQ(a[0].early_date, 3);
    EXPECT_EQ(a[0].user_type, 2);
    EXPECT_TRUE(a[1] == Bddexpression());
    EXPECT_EQ(item_where(l, Bddexpression()), 2);
    delete[] a;
}
