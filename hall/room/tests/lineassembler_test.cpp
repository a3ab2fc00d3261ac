#include <gtest/gtest.h>

#include "hall/room/lineassembler.h"

using velmora::hall::LineAssembler;

TEST(LineAssembler, JoinsPiecesAcrossReads) {
    LineAssembler a;
    EXPECT_TRUE(a.feed("AB").isEmpty());
    EXPECT_EQ(a.feed("C\nDE"), (QList<QByteArray>{"ABC"}));
    EXPECT_EQ(a.pending(), QByteArray("DE"));
    EXPECT_EQ(a.feed("F\n"), (QList<QByteArray>{"DEF"}));
    EXPECT_TRUE(a.pending().isEmpty());
}

TEST(LineAssembler, BlanksSeparateAndEmptyLinesVanish) {
    LineAssembler a;
    EXPECT_EQ(a.feed("\r\nA\r\n\r\n B \tC\n\n"), (QList<QByteArray>{"A", "B", "C"}));
    EXPECT_TRUE(a.pending().isEmpty());
}

TEST(LineAssembler, UnfinishedTailIsBounded) {
    LineAssembler a;
    bool overflow = false;
    a.feed(QByteArray(LineAssembler::kMaxPendingBytes, 'x'), &overflow);
    EXPECT_FALSE(overflow);
    const auto lines = a.feed("y", &overflow);
    EXPECT_TRUE(overflow);
    EXPECT_TRUE(lines.isEmpty());
    EXPECT_TRUE(a.pending().isEmpty());
    EXPECT_EQ(a.feed("ok\n", &overflow), (QList<QByteArray>{"ok"}));
    EXPECT_FALSE(overflow);
}
