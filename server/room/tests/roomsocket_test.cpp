// The real TCP shell on a loopback port: bad clients are cut off, the others are unaffected.
#include <gtest/gtest.h>

#include "hall/foundation/publicfunc.h"
#include "testclient.h"

namespace velmora::server::test {
namespace {

class RoomSocketTest : public ::testing::Test {
protected:
    void SetUp() override {
        port = freeLoopbackPort();
        ASSERT_NE(port, 0);
        RoomInfo r;
        r.id = 7;
        r.serverPort = port;
        r.tableCount = 5;
        rooms.addRoom(r);
        for (qint64 u = 1; u <= 6; ++u)
            sessions.addSession(QStringLiteral("token%1").arg(u),
                                {u, QStringLiteral("Key%1abc").arg(u), {u, QStringLiteral("p%1").arg(u), 0, 0, 0}});
        limits.maxLine = 4096;
        limits.lineBurst = 50;
        limits.linesPerSecond = 20;
        server = std::make_unique<ServerThread>(rooms, sessions, port, limits);
        ASSERT_TRUE(server->startAndWait());
    }
    void TearDown() override { server.reset(); }

    std::unique_ptr<TestClient> client(qint64 u) {
        return std::make_unique<TestClient>(port, QStringLiteral("token%1").arg(u), u,
                                            QStringLiteral("Key%1abc").arg(u));
    }
    // A client logged in and in room 7.
    std::unique_ptr<TestClient> member(qint64 u) {
        auto c = client(u);
        c->login();
        c->request(11, QStringLiteral("roomid=7"));
        EXPECT_TRUE(c->waitFor(11, true).has_value());
        return c;
    }
    // The good client still gets answers.
    void expectServes(TestClient& good) {
        good.request(17, QStringLiteral("msg=still%20here"));
        const auto echo = good.waitFor(17, true);
        ASSERT_TRUE(echo.has_value());
        EXPECT_EQ(echo->command, 1);
    }

    quint16 port = 0;
    MemoryRoomDirectory rooms;
    MemorySessionDirectory sessions;
    Limits limits;
    std::unique_ptr<ServerThread> server;
};

TEST_F(RoomSocketTest, LoginEnterSitAndRelayOverTheWire) {
    auto a = member(1);
    auto b = member(2);
    EXPECT_TRUE(a->waitFor(80, false).has_value());  // b's arrival
    a->request(13, QStringLiteral("roomid=7&tableid=2&seatindex=0"));
    b->request(13, QStringLiteral("roomid=7&tableid=2&seatindex=1"));
    ASSERT_TRUE(a->waitFor(13, true).has_value());
    ASSERT_TRUE(b->waitFor(13, true).has_value());
    a->request(20, QStringLiteral("msg=0301FF"));
    const auto own = a->waitFor(20, true);
    const auto relayed = b->waitFor(20, false);
    ASSERT_TRUE(own && relayed);
    EXPECT_EQ(hall::BodyValue(relayed->data, QStringLiteral("msg")), "0301FF");
    EXPECT_EQ(relayed->fsocket, b->connectionNumber());
}

TEST_F(RoomSocketTest, BadClientsAreClosedAndOthersUnaffected) {
    auto good = member(1);
    struct Case {
        const char* what;
        QByteArray bytes;
        bool loginFirst;
    } cases[] = {
        {"binary garbage", QByteArray("\x00\xff\x01garbage\xfe\n", 13), false},
        {"huge line without line end", QByteArray(10000, 'A'), false},
        {"huge line after login", QByteArray(5000, 'B') + "\n", true},
        {"wrong key", "3" + hall::BuildLoginLine(2, QStringLiteral("token2"), 2).mid(1).toLatin1() + "\n", false},
        {"command before login",
         hall::BuildRequestLine(0, 2, 11, QStringLiteral("roomid=7"), QStringLiteral("Key2abc")).toLatin1() + "\n", false},
        {"flood of keep-alives", QByteArray(), true},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        auto bad = client(2);
        ASSERT_TRUE(bad->connected());
        if (tc.loginFirst) bad->login();
        if (tc.bytes.isEmpty()) {
            for (int i = 0; i < 200; ++i) bad->request(50);
        } else {
            bad->sendRaw(tc.bytes);
        }
        EXPECT_TRUE(bad->closedByServer());
        expectServes(*good);
    }
}

TEST_F(RoomSocketTest, DroppedSeatedPlayerReconnectsToItsPlace) {
    auto a = member(1);
    auto b = member(2);
    a->request(13, QStringLiteral("roomid=7&tableid=3&seatindex=2"));
    ASSERT_TRUE(a->waitFor(13, true).has_value());
    a.reset();  // the connection drops
    ASSERT_TRUE(b->waitFor(84, false).has_value());
    auto again = client(1);
    again->sendRaw(hall::BuildLoginLine(1, QStringLiteral("token1"), 1).toLatin1() + "\n");
    const auto reply = again->waitFor(10, true);
    ASSERT_TRUE(reply.has_value());
    EXPECT_EQ(hall::BodyInt(reply->data, QStringLiteral("dropon")), 1);
    EXPECT_EQ(hall::BodyInt(reply->data, QStringLiteral("tableid")), 3);
    EXPECT_EQ(hall::BodyInt(reply->data, QStringLiteral("seatindex")), 2);
    EXPECT_TRUE(again->waitFor(80, false).has_value());
    EXPECT_TRUE(b->waitFor(85, false).has_value());
}

TEST_F(RoomSocketTest, ClientThatDoesNotReadIsDroppedOthersGoOn) {
    server.reset();  // a server that lets one member chat fast
    limits.lineBurst = 100000;
    limits.linesPerSecond = 100000;
    server = std::make_unique<ServerThread>(rooms, sessions, port, limits);
    ASSERT_TRUE(server->startAndWait());
    auto sleeper = member(1);  // never reads from here on
    auto talker = member(2);
    auto listener = member(3);
    sleeper->request(13, QStringLiteral("roomid=7&tableid=1&seatindex=0"));
    talker->request(13, QStringLiteral("roomid=7&tableid=1&seatindex=1"));
    ASSERT_TRUE(talker->waitFor(13, true).has_value());
    // Table chat: big broadcasts to the sleeper, small replies to the talker.
    const QString text = QStringLiteral("msg=") + QString(1000, QLatin1Char('z'));
    for (int i = 0; i < 8000 && sleeper->connected(); ++i) {
        talker->request(18, text);
        if (i % 200 == 0) ASSERT_TRUE(talker->waitFor(18, true).has_value()) << i;
    }
    EXPECT_TRUE(sleeper->closedByServer(10000));
    expectServes(*listener);
    expectServes(*talker);
}

}  // namespace
}  // namespace velmora::server::test
