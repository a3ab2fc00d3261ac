// The directories over the web service's database: a session the web service created lets its
// player into a room that the game tree places on this server.
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "corefixture.h"
#include "server/room/webdirectories.h"
#include "server/web/gamestore.h"
#include "server/web/sessionstore.h"
#include "server/web/userstore.h"

namespace velmora::server::test {
namespace {

class WebDirectoriesTest : public ::testing::Test {
protected:
    WebDirectoriesTest()
        : database(dir.filePath(QStringLiteral("web.sqlite"))), sessionStore(database), users(database), games(database) {
        users.seedDemo(1);
        games.seedDemo({UserStore::kFirstUserId});
    }
    QTemporaryDir dir;
    WebDatabase database;
    SessionStore sessionStore;
    UserStore users;
    GameStore games;
    WebSessionDirectory sessions{sessionStore, users};
    WebRoomDirectory rooms{games};
};

TEST_F(WebDirectoriesTest, RoomsComeFromTheGameTree) {
    ASSERT_TRUE(database.isOpen());
    const auto all = rooms.allRooms();
    ASSERT_EQ(all.size(), 3u);
    const auto grab = rooms.findRoom(GameStore::kGrabRoom);
    ASSERT_TRUE(grab.has_value());
    EXPECT_TRUE(grab->grab);
    EXPECT_EQ(grab->serverHost, "127.0.0.1");
    EXPECT_GE(grab->serverPort, 18101);
    EXPECT_LE(grab->serverPort, 18103);
    EXPECT_GT(grab->tableCount, 0);
    EXPECT_EQ(grab->seatCount, 3);
    EXPECT_EQ(grab->gameId, GameStore::kLandlordGame);
    EXPECT_FALSE(rooms.findRoom(4242).has_value());
}

TEST_F(WebDirectoriesTest, OnlyBoundLiveSessionsOfUnlockedAccountsPass) {
    const auto session = sessionStore.create();
    ASSERT_TRUE(session.has_value());
    EXPECT_FALSE(sessions.findSession(session->token).has_value());  // not logged in yet
    ASSERT_TRUE(sessionStore.bindUser(session->token, UserStore::kFirstUserId));
    const auto found = sessions.findSession(session->token);
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->userId, UserStore::kFirstUserId);
    EXPECT_EQ(found->encodeKey, session->encodeKey);
    EXPECT_FALSE(found->profile.name.isEmpty());
    EXPECT_FALSE(sessions.findSession(QStringLiteral("no such token")).has_value());
    sessionStore.end(session->token);
    EXPECT_FALSE(sessions.findSession(session->token).has_value());
}

TEST_F(WebDirectoriesTest, CoreLetsAWebSessionIntoADemoRoom) {
    const auto session = sessionStore.create();
    ASSERT_TRUE(session && sessionStore.bindUser(session->token, UserStore::kFirstUserId));
    const RoomInfo room = *rooms.findRoom(GameStore::kDemoRooms[0]);
    FakeClock clock;
    RecordingSink sink;
    RoomServerCore core(rooms, sessions, clock, sink, room.serverHost, room.serverPort);
    const ConnectionId id = core.openConnection();
    core.receiveLine(id, hall::BuildLoginLine(6, session->token, UserStore::kFirstUserId));
    core.receiveLine(id, hall::BuildRequestLine(id, 2, 11, QStringLiteral("roomid=%1").arg(room.id),
                                                session->encodeKey));
    ASSERT_GE(sink.sent.size(), 2u);
    EXPECT_EQ(cmdname(sink.sent[1].second), "11");
    EXPECT_EQ(sink.sent[1].second.command, kResultOk);
    EXPECT_EQ(core.takeRoomCountChanges(), (std::vector<std::pair<qint32, int>>{{room.id, 1}}));
    EXPECT_TRUE(core.takeRoomCountChanges().empty());
}

}  // namespace
}  // namespace velmora::server::test
