// The writers' text buffer: pieces of every length, and the text kept across its growths.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "utils/text_pieces.h"
#include "utils/text_room.h"

TEST(TextPieces, EveryLengthIsCopiedExactly)
{
    const std::string source = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (std::size_t n = 0; n <= source.size(); ++n) {
        std::string place(source.size() + 2, '#');
        char* end = text_pieces::put(&place[1], source.data(), n);
        EXPECT_EQ(end, &place[1] + n);
        EXPECT_EQ(place, "#" + source.substr(0, n) + std::string(source.size() + 1 - n, '#')) << n;
    }
}

TEST(TextRoom, KeepsItsTextAcrossGrowths)
{
    text_room text;
    std::string expected;
    for (int k = 0; k < 5000; ++k) {
        const std::string piece = std::to_string(k) + (k % 7 == 0 ? std::string(k % 50, 'x') : "");
        text += piece;
        text += ',';
        expected += piece + ',';
        if (k % 100 == 0) {
            // a room asked larger than what is written: only what keep() tells stays
            char* p = text.room(1000);
            *p++ = '[';
            text.keep(p);
            expected += '[';
        }
    }
    EXPECT_EQ(std::string(std::string_view(text)), expected);
    std::ostringstream out;
    text.write_to(out);
    EXPECT_EQ(out.str(), expected);
    EXPECT_TRUE(text.empty());
    text += "again";
    EXPECT_EQ(std::string(std::string_view(text)), "again");
}
