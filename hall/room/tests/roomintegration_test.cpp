// The hall's room client against the real room server stand-in on loopback: log in, enter a
// room, see the other members, change rooms on the same connection, lose the connection and
// come back to the same table and seat.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "hall/room/roomsession.h"
#include "roomfakes.h"
#include "roomtestsupport.h"
#include "server/room/roomdirectory.h"
#include "server/room/roomtcpserver.h"
#include "server/room/sessiondirectory.h"

using namespace velmora;
using namespace velmora::hall;
using namespace velmora::hall::test;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "roomintegration";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

const QString kAliceKey = QStringLiteral("AliceK3y");
const QString kBobKey = QStringLiteral("B0bKey99");

class RoomIntegrationTest : public ::testing::Test {
protected:
    QTemporaryDir docs;
    server::MemoryRoomDirectory rooms;
    server::MemorySessionDirectory sessions;
    std::unique_ptr<server::RoomTcpServer> roomServer;
    quint16 port = 0;

    void SetUp() override {
        app();
        // Pick a free port, then place the rooms on it.
        {
            server::MemoryRoomDirectory none;
            server::RoomTcpServer probe(none, sessions, QStringLiteral("127.0.0.1"), 0);
            ASSERT_TRUE(probe.listen());
            port = probe.serverPort();
        }
        for (qint32 id : {12, 13}) {
            server::RoomInfo info;
            info.id = id;
            info.title = QStringLiteral("房间%1").arg(id);
            info.serverPort = port;
            info.tableCount = 10;
            rooms.addRoom(info);
        }
        sessions.addSession(QStringLiteral("tok-alice"), {10001, kAliceKey, {10001, QStringLiteral("alice")}});
        sessions.addSession(QStringLiteral("tok-bob"), {10002, kBobKey, {10002, QStringLiteral("bob")}});
        startServer();

        HallContext::reset();
        auto& c = HallContext::instance();
        c.Token = QStringLiteral("tok-alice");
        c.EncodeKey = kAliceKey;
        c.CurrentUser.UserID = 10001;
        c.DocumentsPath = docs.path() + QStringLiteral("/");
    }
    void TearDown() override { HallContext::reset(); }

    void startServer() {
        roomServer = std::make_unique<server::RoomTcpServer>(rooms, sessions, QStringLiteral("127.0.0.1"), port);
        ASSERT_TRUE(roomServer->listen()) << roomServer->errorString().toStdString();
    }

    STRU_GAMEROOM room(qint32 id) const {
        STRU_GAMEROOM r;
        r.id = id;
        r.title = QStringLiteral("房间%1").arg(id);
        r.serverip = QStringLiteral("127.0.0.1");
        r.serverport = port;
        r.tablenum = 10;
        return r;
    }
};

}  // namespace

TEST_F(RoomIntegrationTest, EntersSeesMembersChangesRoomAndComesBackAfterADrop) {
    RawPlayer bob(port, kBobKey);
    ASSERT_TRUE(bob.login(QStringLiteral("tok-bob"), 10002));
    bob.send(11, QStringLiteral("roomid=12"));

    FakeHost host;
    RoomSession session(host);
    GameClientCore& core = session.core();
    core.LoadDesktop(room(12));
    ASSERT_TRUE(waitFor([&] { return !core.splashVisible(); })) << host.splashText.toStdString();
    EXPECT_GT(core.iSocket(), 0);
    EXPECT_TRUE(waitFor([&] { return core.members().find(10002) >= 0; }, 1500));
    EXPECT_GE(core.members().find(10001), 0);

    // Another room on the same server: the connection stays.
    const quint64 generation = session.socket().generation();
    core.LoadDesktop(room(13));
    ASSERT_TRUE(waitFor([&] { return !core.splashVisible() && !core.bNewRoom(); }));
    EXPECT_EQ(session.socket().generation(), generation);
    EXPECT_EQ(core.members().find(10002), -1);  // bob stayed in room 12
    EXPECT_FALSE(host.hidden);

    // Sit down at table 3, seat 2, then lose the connection.
    qint32 seated = 0;
    core.setReplyHandler(13, [&](const STRU_DATA& p) { seated = p.command; });
    core.SendData(QStringLiteral("13|roomid=13&tableid=3&seatindex=1"));
    ASSERT_TRUE(waitFor([&] { return seated != 0; }));
    ASSERT_EQ(seated, 1);
    session.socket().close();
    core.onDisconnected();
    EXPECT_TRUE(core.bDrop());
    EXPECT_TRUE(core.timerRunning(RoomTimer::Countdown));
    ASSERT_TRUE(waitFor([&] { return !core.bDrop() && !core.splashVisible(); }, 10000)) << host.splashText.toStdString();
    EXPECT_EQ(core.iDesk, 3);
    EXPECT_EQ(core.iSeat, 2);
    EXPECT_EQ(core.members().self().table, 3);
    EXPECT_EQ(core.members().self().status, kStatusSeated);
    EXPECT_TRUE(host.log.contains(QStringLiteral("openPlugin")));
    ASSERT_EQ(host.drops.size(), 2);
    EXPECT_TRUE(host.drops[0].startsWith(QStringLiteral("drop=0&userid=10001&modefunc=")));
    EXPECT_EQ(host.drops[1], QStringLiteral("drop=1&userid=10001"));
}

TEST_F(RoomIntegrationTest, ServerRestartIsSurvived) {
    FakeHost host;
    RoomSession session(host);
    GameClientCore& core = session.core();
    core.LoadDesktop(room(12));
    ASSERT_TRUE(waitFor([&] { return !core.splashVisible(); }));
    roomServer.reset();  // the server goes away: the client notices without sending anything
    ASSERT_TRUE(waitFor([&] { return core.bDrop(); }));
    startServer();
    ASSERT_TRUE(waitFor([&] { return !core.bDrop() && !core.splashVisible(); }, 10000)) << host.splashText.toStdString();
    EXPECT_EQ(core.thisroom().id, 12);
    EXPECT_GE(core.members().find(10001), 0);
}
