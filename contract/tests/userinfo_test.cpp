#include "golden.h"

#include "contract/PluginFrames.h"

#include <gtest/gtest.h>

namespace velmora::contract::test {
namespace {

RoomMemberFields knownMember() {
    RoomMemberFields m;
    m.userId = 0x0102030405060708;
    m.userName = QStringLiteral("张三abc");
    m.faceNum = 0x1234;
    m.speed = 0x0A0B0C0D;
    m.point = -2;
    m.seat = 3;
    m.status = 5;
    m.winCount = 0x100000007LL;  // only the low 32 bits travel
    m.lossCount = 9;
    m.peaceCount = 0x100;
    m.fleeCount = 1;
    m.gold = 0x77665544;
    m.sex = QStringLiteral("女");
    m.level = 0x1FE;
    m.photoFile = QStringLiteral("face/7.png");
    return m;
}

QByteArray knownRecord() {
    return golden(308, {{0, "08 07 06 05 04 03 02 01"},
                        {8, "d5 c5 c8 fd 61 62 63"},
                        {32, "34 12"},
                        {34, "0d 0c 0b 0a"},
                        {38, "fe ff ff ff ff ff ff ff"},
                        {46, "02"},
                        {47, "01"},
                        {48, "07 00 00 00"},
                        {52, "09 00 00 00"},
                        {56, "00 01 00 00"},
                        {60, "01 00 00 00"},
                        {64, "44 55 66 77 00 00 00 00"},
                        {72, "d5 c5 c8 fd 61 62 63"},
                        {96, "00"},
                        {99, "fe"},
                        {100, "44 55 66 77 00 00 00 00"},
                        {108, "66 61 63 65 2f 37 2e 70 6e 67"}});
}

TEST(PluginUserInfo, GoldenBytesOfAKnownMember) {
    const QByteArray bytes = encodeUserInfo(makePluginUserInfo(knownMember()));
    EXPECT_EQ(bytes.toHex(' '), knownRecord().toHex(' '));
    // The packed struct has the same bytes on this (little-endian) machine.
    const STRU_PLUGIN_USERINFO u = makePluginUserInfo(knownMember());
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&u), sizeof u), knownRecord());
}

TEST(PluginUserInfo, WatcherManAndLongName) {
    RoomMemberFields m = knownMember();
    m.status = 2;
    m.sex = QStringLiteral("男");
    m.userName = QString(13, QChar(0x5F20));  // 26 GBK bytes: cut to 24, whole characters
    const STRU_PLUGIN_USERINFO u = makePluginUserInfo(m);
    EXPECT_EQ(u.IsPlayer, 0);
    EXPECT_EQ(u.Male, 1);
    EXPECT_EQ(QByteArray(u.NickName, 24), QByteArray::fromHex(QByteArray("d5c5").repeated(12)));
    EXPECT_EQ(QByteArray(u.NameCopy, 24), QByteArray(u.NickName, 24));
}

TEST(PluginUserInfo, DecodeRoundTripAndShortInput) {
    const QByteArray bytes = knownRecord();
    const auto u = decodeUserInfo(bytes);
    ASSERT_TRUE(u);
    EXPECT_EQ(u->UserId, 0x0102030405060708);
    EXPECT_EQ(u->Score, -2);
    EXPECT_EQ(u->FaceNum, 0x1234);
    EXPECT_EQ(encodeUserInfo(*u), bytes);
    EXPECT_FALSE(decodeUserInfo(bytes.left(307)));
    EXPECT_FALSE(decodeUserInfo(bytes, 1));
    EXPECT_FALSE(decodeUserInfo(bytes, -1));
}

}  // namespace
}  // namespace velmora::contract::test
