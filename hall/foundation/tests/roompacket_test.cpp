#include <gtest/gtest.h>

#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"

using namespace velmora::hall;

TEST(ParseRoomPacket, AcceptsWellFormedLines) {
    struct Case {
        QString line;
        STRU_DATA expected;
    } cases[] = {
        {QStringLiteral("1|5_3|11|errcode=1301"), {1, 5, 3, 11, QStringLiteral("errcode=1301")}},
        {QStringLiteral(" 1 | 5_3 | 11 | a=1 | b=2 "), {1, 5, 3, 11, QStringLiteral("a=1")}},
        {QStringLiteral("\r\n2|0_9|80|n=2\r"), {2, 0, 9, 80, QStringLiteral("n=2")}},
        {QStringLiteral("2||0_9||50||x"), {2, 0, 9, 50, QStringLiteral("x")}},  // empty pieces dropped
        {QStringLiteral("1|-1_2147483647|-5|x"), {1, -1, 2147483647, -5, QStringLiteral("x")}},
    };
    for (const auto& c : cases) {
        const auto parsed = TryParseRoomPacket(c.line);
        ASSERT_TRUE(parsed.has_value()) << c.line.toStdString();
        EXPECT_EQ(*parsed, c.expected) << c.line.toStdString();
        EXPECT_EQ(ParseRoomPacket(c.line), c.expected);
    }
}

TEST(ParseRoomPacket, RejectsMalformedLines) {
    const QString lines[] = {
        QStringLiteral("2|0_9|50|"),        // empty body: three pieces
        QStringLiteral("1|7|3|x=1"),        // no "_"
        QStringLiteral("x|1_2|3|a"),        // datatype not a number
        QStringLiteral("1|1_2_3|3|a"),      // seq "2_3"
        QStringLiteral("1|_2|3|a"),         // empty fsocket
        QStringLiteral("1|1_|3|a"),         // empty seq
        QStringLiteral("1|1_2|+3|a"),       // sign other than "-"
        QStringLiteral("1|1_2|2147483648|a"),  // beyond 32 bits
        QStringLiteral("1|1_2|3 4|a"),
        QString(),
        QStringLiteral("|||"),
    };
    for (const QString& line : lines) {
        EXPECT_FALSE(TryParseRoomPacket(line).has_value()) << line.toStdString();
        EXPECT_THROW(ParseRoomPacket(line), RoomPacketError);
    }
}

TEST(ParseRoomPacket, RequestsMayHaveAnEmptyBody) {
    EXPECT_EQ(TryParseRequestPacket(QStringLiteral("0|7_12|50|")), (STRU_DATA{0, 7, 12, 50, QString()}));
    EXPECT_EQ(TryParseRequestPacket(QStringLiteral("0|7_12|11|roomid=3")), (STRU_DATA{0, 7, 12, 11, QStringLiteral("roomid=3")}));
    EXPECT_FALSE(TryParseRequestPacket(QStringLiteral("0|7_12")).has_value());
    EXPECT_FALSE(TryParseRequestPacket(QStringLiteral("0|7_12|50")).has_value());
    EXPECT_FALSE(TryParseRequestPacket(QStringLiteral("0|712|50|")).has_value());
    EXPECT_FALSE(TryParseRoomPacket(QStringLiteral("0|7_12|50|")).has_value());
}

TEST(RoomLines, RequestLineMatchesHandScrambledText) {
    // "0|7_12|50|" under a key whose characters all have the high nibble 6.
    EXPECT_EQ(BuildRequestLine(7, 12, 50, QString(), QStringLiteral("abcdefgh")),
              QStringLiteral("6z1Y74z36z"));
    const QString body = QStringLiteral("roomid=12&msg=") + UrlEncodeText(QStringLiteral("你好 & 再见"));
    const QString line = BuildRequestLine(3, 2, 17, body, QStringLiteral("Qm7vTz2K"));
    EXPECT_EQ(ParseRoomPacket(UnscrambleText(line, QStringLiteral("Qm7vTz2K"))),
              (STRU_DATA{0, 3, 2, 17, body}));
}

TEST(RoomLines, ServerPacketRoundTrip) {
    const STRU_DATA packet{2, 9, 41, 20, QStringLiteral("msg=0301AB")};
    const QString line = BuildPacketLine(packet, QStringLiteral("K3yK3yK3"));
    EXPECT_EQ(ParseRoomPacket(UnscrambleText(line, QStringLiteral("K3yK3yK3"))), packet);
}

TEST(RoomLines, LoginLineUsesTheChosenRoomKey) {
    for (int k = 0; k < 10; ++k) {
        const QString line = BuildLoginLine(k, QStringLiteral("tok_EN-123"), 10001);
        ASSERT_EQ(line.at(0), QChar(u'0' + k));
        EXPECT_EQ(line.mid(1), ScrambleText(QStringLiteral("tok_EN-123|10001"), RoomKeyTable[k]));
        const auto parsed = ParseLoginLine(line);
        ASSERT_TRUE(parsed.has_value());
        EXPECT_EQ(parsed->keyIndex, k);
        EXPECT_EQ(parsed->token, QStringLiteral("tok_EN-123"));
        EXPECT_EQ(parsed->userId, 10001);
    }
    EXPECT_FALSE(ParseLoginLine(QStringLiteral("x123")).has_value());
    EXPECT_FALSE(ParseLoginLine(QStringLiteral("5")).has_value());
    EXPECT_FALSE(ParseLoginLine(QStringLiteral("3") + ScrambleText(QStringLiteral("tok|abc"), RoomKeyTable[3])).has_value());
}

TEST(RoomLines, RoomKeysAreEightLettersOrDigits) {
    for (const QString& key : RoomKeyTable) {
        ASSERT_EQ(key.size(), 8);
        for (QChar c : key) EXPECT_TRUE(c.isLetterOrNumber() && c.unicode() < 0x80);
    }
}

TEST(RoomLines, SequenceStartsAtOneAndTheFirstRequestCarriesTwo) {
    RequestSequence seq;
    EXPECT_EQ(seq.next(), 2);
    EXPECT_EQ(seq.next(), 3);
    seq.reset();
    EXPECT_EQ(seq.current(), 1);
    EXPECT_EQ(seq.next(), 2);
}
