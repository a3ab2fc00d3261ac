#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "roomfakes.h"

using namespace velmora::hall;
using namespace velmora::hall::test;

class OverCommandTest : public ::testing::Test, public RoomClientFixture {
protected:
    QTemporaryDir docs;
    void SetUp() override { session(docs.path() + QStringLiteral("/")); }
    void TearDown() override { HallContext::reset(); }

    // Connected and logged in, waiting for the answer to the login line.
    void loginSent() {
        core.LoadDesktop(room());
        transport.opened = true;
        core.onConnected();
    }
};

TEST_F(OverCommandTest, Reply10AfterADrop) {
    struct Case {
        const char* what;
        bool pluginOpen;
        qint32 desk, seat, status;  // the player's place before the reply
        QString body;
        QStringList requests;      // what the client sends
        bool loading;              // the loading timer starts
        bool pluginClosed;
        QList<QList<qint64>> pluginMessages;
        qint32 deskAfter, seatAfter, statusAfter;
    } cases[] = {
        {"fresh entry", false, 0, 0, 1, QStringLiteral("dropon=0"), {QStringLiteral("11|roomid=12")}, false, false, {}, 0, 0, 1},
        {"fresh entry closes an open game", true, 2, 1, 5, QStringLiteral("dropon=0"), {QStringLiteral("11|roomid=12")}, false, true, {}, 2, 1, 5},
        {"kept place in another room", false, 0, 0, 1, QStringLiteral("dropon=1&roomid=99"), {QStringLiteral("11|roomid=12")}, false, false, {}, 0, 0, 1},
        {"kept seat, no plug-in", false, 0, 0, 1, QStringLiteral("dropon=1&roomid=12&tableid=4&seatindex=2&state=5&adminid=10002"), {}, true, false, {}, 4, 3, 5},
        {"kept watch, no plug-in: leave the table", false, 0, 0, 1, QStringLiteral("dropon=1&roomid=12&tableid=4&seatindex=0&state=2"),
         {QStringLiteral("14|roomid=12&tableid=4")}, true, false, {}, 4, 1, 2},
        {"same seat, still playing", true, 4, 3, 5, QStringLiteral("dropon=1&roomid=12&tableid=4&seatindex=2&state=5"), {}, true, false,
         {{23, 0, 10001}}, 4, 3, 5},
        {"same seat, game ended meanwhile", true, 4, 3, 5, QStringLiteral("dropon=1&roomid=12&tableid=4&seatindex=2&state=3"), {}, true, false,
         {{3, 50, 10001}}, 4, 3, 3},
        {"same table, other seat", true, 4, 3, 5, QStringLiteral("dropon=1&roomid=12&tableid=4&seatindex=0&state=5"), {}, true, true, {}, 4, 3, 5},
        {"other table", true, 4, 3, 5, QStringLiteral("dropon=1&roomid=12&tableid=6&seatindex=2&state=5"), {}, true, true, {}, 4, 3, 5},
    };
    for (const auto& c : cases) {
        OverCommandTest::TearDown();
        OverCommandTest::SetUp();
        RoomClientFixture f;
        f.core.LoadDesktop(room());
        f.transport.opened = true;
        f.core.onConnected();
        f.host.plugin = c.pluginOpen;
        f.core.iDesk = c.desk;
        f.core.iSeat = c.seat;
        f.core.members().self().status = c.status;
        f.reply(10, 1, c.body);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(f.transport.requests(), c.requests);
        EXPECT_EQ(f.timers.isRunning(RoomTimer::Loading), c.loading);
        EXPECT_EQ(f.host.log.contains(QStringLiteral("closePlugin")), c.pluginClosed);
        EXPECT_EQ(f.host.pluginMessages, c.pluginMessages);
        EXPECT_EQ(f.core.iDesk, c.deskAfter);
        EXPECT_EQ(f.core.iSeat, c.seatAfter);
        EXPECT_EQ(f.core.members().self().status, c.statusAfter);
    }
}

TEST_F(OverCommandTest, Reply10RefusedClosesTheRoom) {
    loginSent();
    reply(10, 0);
    EXPECT_EQ(host.messages, QStringList{QStringLiteral("通讯失败。")});
    EXPECT_TRUE(host.hidden);
}

TEST_F(OverCommandTest, KeptSeatReopensThePluginWhenLoaded) {
    loginSent();
    reply(10, 1, QStringLiteral("dropon=1&roomid=12&tableid=4&seatindex=2&state=5&adminid=10002"));
    EXPECT_EQ(core.adminId, 10002);
    core.onLoadingTimer();
    EXPECT_TRUE(host.log.contains(QStringLiteral("openPlugin")));
    EXPECT_TRUE(host.log.contains(QStringLiteral("tableList")));

    RoomClientFixture f;
    f.core.LoadDesktop(room());
    f.transport.opened = true;
    f.core.onConnected();
    f.host.pluginOpens = false;
    f.reply(10, 1, QStringLiteral("dropon=1&roomid=12&tableid=4&seatindex=2&state=5"));
    f.core.onLoadingTimer();
    EXPECT_EQ(f.host.messages, QStringList{QStringLiteral("创建游戏失败。")});
    EXPECT_EQ(f.transport.requests().last(), QStringLiteral("14|roomid=12&tableid=4"));
}

TEST_F(OverCommandTest, Reply11Errors) {
    struct Case {
        const char* errcode;
        QString message;
    } cases[] = {
        {"1100", QStringLiteral("服务器没有检测到您的登录状态，请重新登录。")},
        {"1301", QStringLiteral("服务器不可用，或是没有找到要进入的房间。")},
        {"1303", QStringLiteral("房间满了，请进入其他房间，请稍候再试。")},
        {"1304", QStringLiteral("房间状态错误。")},
        {"1106", QStringLiteral("用户登录失败，请退出大厅重新登录。")},
        {"9999", QStringLiteral("未知错误，进入房间失败，请稍候再试。")},
    };
    for (const auto& c : cases) {
        RoomClientFixture f;
        f.core.LoadDesktop(room());
        f.transport.opened = true;
        f.core.onConnected();
        f.reply(10, 1);
        f.reply(11, 0, QStringLiteral("errcode=") + QLatin1String(c.errcode));
        EXPECT_EQ(f.host.messages, (QStringList{c.message, QString::fromLatin1(c.errcode)})) << c.errcode;
        EXPECT_TRUE(f.host.hidden) << c.errcode;
    }
}

TEST_F(OverCommandTest, Reply11AlreadyInRoomKeepsLoadingWithoutCounting) {
    loginSent();
    reply(10, 1);
    reply(11, 0, QStringLiteral("errcode=1302"));
    EXPECT_EQ(host.messages, QStringList{QStringLiteral("已经在房间里了。")});
    EXPECT_TRUE(timers.isRunning(RoomTimer::Loading));
    EXPECT_FALSE(host.hidden);
    EXPECT_FALSE(host.log.contains(QStringLiteral("online 12 5")));
}

TEST_F(OverCommandTest, RepliesWithoutCmdname) {
    loginSent();
    int started = 0;
    core.setGameStartHandler([&](const STRU_DATA&) { ++started; });
    const auto before = host.log.size();
    reply(0, 1);
    receive(1, 1, QStringLiteral("x=1"));
    EXPECT_EQ(started, 0);
    EXPECT_EQ(host.log.size(), before);
    receive(1, 3, QStringLiteral("tableid=4"));
    reply(77, 3);
    EXPECT_EQ(started, 2);
}

TEST_F(OverCommandTest, Broadcast80RecordsMembers) {
    STRU_GAMESETTING setting;
    setting.showuserinout = true;
    ASSERT_TRUE(WriteGameSetting(PlayerSettingPath(docs.path(), 10001), setting));
    loginSent();
    reply(10, 1);
    reply(11, 1);

    // While loading: recorded, no profile, no chat.
    broadcast(80, QStringLiteral("playerid=10002&roomid=12&state=3&tableid=2&seatindex=1"));
    const int i = core.members().find(10002);
    ASSERT_GE(i, 0);
    EXPECT_EQ(core.members().at(i).seat, 2);
    EXPECT_TRUE(host.profiles.isEmpty());

    core.onLoadingTimer();
    broadcast(80, QStringLiteral("playerid=10003&roomid=99&state=1"));  // another room
    EXPECT_EQ(core.members().find(10003), -1);
    broadcast(80, QStringLiteral("playerid=10003&roomid=12&state=1&tableid=0&seatindex=-1"));
    EXPECT_GE(core.members().find(10003), 0);
    EXPECT_EQ(host.profiles, QList<qint64>{10003});
    ASSERT_EQ(host.chat.size(), 1);
    EXPECT_EQ(host.chat[0], QStringLiteral("<font color=\"#000099\">(10003)来到新手房。</font><br />"));

    broadcast(81, QStringLiteral("playerid=10003"));
    EXPECT_EQ(core.members().find(10003), -1);
    EXPECT_EQ(host.chat.size(), 2);
}

TEST_F(OverCommandTest, Broadcast80WithEveryEntryTakenRecordsNothing) {
    enterRoom();
    for (int k = 1; k < RoomMembers::kSearched; ++k) core.members().at(k).User.UserID = 20000 + k;
    broadcast(80, QStringLiteral("playerid=99999&roomid=12&state=1"));
    EXPECT_EQ(core.members().find(99999), -1);
    EXPECT_EQ(core.members().count(), RoomMembers::kSearched);
}

TEST_F(OverCommandTest, UnknownMembersOfOtherBroadcastsGetTheirProfileFetched) {
    enterRoom();
    broadcast(80, QStringLiteral("playerid=10002&roomid=12&state=3&tableid=1&seatindex=0"));
    host.profiles.clear();
    host.log.clear();
    broadcast(84, QStringLiteral("playerid=10009"));  // unknown: fetch and refresh
    broadcast(84, QStringLiteral("playerid=10002"));  // known without a name: fetch only
    EXPECT_EQ(host.log.mid(0, 2), (QStringList{QStringLiteral("profile 10009 1"), QStringLiteral("profile 10002 0")}));
    EXPECT_EQ(host.pluginMessages, (QList<QList<qint64>>{{23, 1, 10002}}));
    broadcast(85, QStringLiteral("playerid=10002"));
    EXPECT_EQ(host.pluginMessages.last(), (QList<qint64>{23, 0, 10002}));
}

TEST_F(OverCommandTest, LaterCommandsReachTheirHandlers) {
    enterRoom();
    QList<qint32> seen;
    core.setReplyHandler(13, [&](const STRU_DATA& p) { seen << p.command; });
    core.setBroadcastHandler(20, [&](const STRU_DATA& p) { seen << p.command; });
    reply(13, 1);
    broadcast(20, QStringLiteral("msg=00AB"));
    reply(18, 1);  // nothing
    EXPECT_EQ(seen, (QList<qint32>{1, 20}));
}
