#include <gtest/gtest.h>

#include "server/room/lineframer.h"

namespace velmora::server {
namespace {

TEST(LineFramer, JoinsPiecesAndDropsLineEndsAndBlankLines) {
    LineFramer f(16);
    EXPECT_TRUE(f.feed("AB").empty());
    auto lines = f.feed("C\nDE");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "ABC");
    lines = f.feed("F\r\n\r\n  \nG\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "DEF");
    EXPECT_EQ(lines[1], "G");
    EXPECT_EQ(f.pending(), 0);
    EXPECT_FALSE(f.overflowed());
}

TEST(LineFramer, OverflowsOnALongLineWithOrWithoutLineEnd) {
    struct Case {
        QByteArray first, second;
        size_t linesBefore;
    } cases[] = {
        {QByteArray(10, 'a'), QByteArray(10, 'b'), 0},         // grows past 16 without LF
        {"ok\n" + QByteArray(17, 'x') + "\n", "more\n", 1},    // one complete line too long
        {QByteArray(16, 'y') + "\r\n", "z\n", 2},              // exactly the limit plus CR LF: fine
    };
    for (const auto& c : cases) {
        LineFramer f(16);
        auto lines = f.feed(c.first);
        auto more = f.feed(c.second);
        lines.insert(lines.end(), more.begin(), more.end());
        EXPECT_EQ(lines.size(), c.linesBefore) << c.first.toStdString();
        EXPECT_EQ(f.overflowed(), c.linesBefore != 2) << c.first.toStdString();
    }
}

}  // namespace
}  // namespace velmora::server
