// The dialogs without a display: texts on stderr, the answers of a closed or cancelled box.
#include <gtest/gtest.h>

#include <cstdlib>

#include "forms/formspp.h"

namespace {
// Runs before any dialog asks for the display.
struct no_display {
    no_display() { unsetenv("DISPLAY"); }
} const unset_display;
}

TEST(NoDisplay, IsNoticed)
{
    EXPECT_FALSE(forms_display_available());
}

TEST(NoDisplay, MessagesGoToStderrUnchanged)
{
    testing::internal::CaptureStderr();
    fl_show_Smessages("file a%d.blif not found");
    fl_show_Salert("100% %s\nsecond line");
    fl_show_Smessages("");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "file a%d.blif not found\n100% %s\nsecond line\n\n");
}

TEST(NoDisplay, QuestionsAndInputsGiveTheCancelAnswer)
{
    testing::internal::CaptureStderr();
    EXPECT_EQ(fl_show_Squestion("quit ?", 1), 0);
    EXPECT_EQ(fl_show_Sinput("name:", "abc"), "");
    EXPECT_EQ(fl_show_int("count:", 42), 42);
    EXPECT_EQ(fl_show_double("ratio:", 0.5), 0.5);
    EXPECT_EQ(fl_show_double(std::string("rate:"), -2.25), -2.25);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "quit ?\nname:\ncount:\nratio:\nrate:\n");
}

TEST(NoDisplay, CreditsBox)
{
    testing::internal::CaptureStderr();
    fl_show_ms();
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "nelvor, written by the nelvor author\n\nLaboratoire des circuits synchrones, Universite\n");
}
