#include <gtest/gtest.h>

#include "hall/room/socks4.h"

using namespace velmora::hall;

TEST(Socks4, RequestBytes) {
    const auto byAddress = Socks4ConnectRequest(QStringLiteral("127.0.0.1"), 18101, QStringLiteral("bob"));
    ASSERT_TRUE(byAddress.has_value());
    EXPECT_EQ(*byAddress, QByteArray("\x04\x01\x46\xB5\x7F\x00\x00\x01" "bob\x00", 12));
    const auto byName = Socks4ConnectRequest(QStringLiteral("rooms.example"), 80, QString());
    ASSERT_TRUE(byName.has_value());
    EXPECT_EQ(*byName, QByteArray("\x04\x01\x00\x50\x00\x00\x00\x01\x00" "rooms.example\x00", 23));
    EXPECT_FALSE(Socks4ConnectRequest(QString(), 80, QString()).has_value());
    EXPECT_FALSE(Socks4ConnectRequest(QStringLiteral("h"), 80, QStringLiteral("a") + QChar(0) + QStringLiteral("b")).has_value());
}

TEST(Socks4, Replies) {
    EXPECT_EQ(ParseSocks4Reply(QByteArray("\x00\x5A", 2)), Socks4Reply::Incomplete);
    EXPECT_EQ(ParseSocks4Reply(QByteArray("\x00\x5A\0\0\0\0\0\0", 8)), Socks4Reply::Granted);
    EXPECT_EQ(ParseSocks4Reply(QByteArray("\x00\x5B\0\0\0\0\0\0", 8)), Socks4Reply::Refused);
    EXPECT_EQ(ParseSocks4Reply(QByteArray("\x05\x5A\0\0\0\0\0\0", 8)), Socks4Reply::Malformed);
}
