#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "hall/foundation/localsettings.h"
#include "roomfakes.h"

using namespace velmora::hall;
using namespace velmora::hall::test;

class GameClientCoreTest : public ::testing::Test, public RoomClientFixture {
protected:
    QTemporaryDir docs;
    void SetUp() override { session(docs.path() + QStringLiteral("/")); }
    void TearDown() override { HallContext::reset(); }
};

TEST_F(GameClientCoreTest, EntersARoomFromConnectToLoaded) {
    STRU_GAMESETTING setting;
    setting.showuserinout = true;
    ASSERT_TRUE(WriteGameSetting(PlayerSettingPath(docs.path(), 10001), setting));
    core.LoadDesktop(room());
    EXPECT_EQ(transport.opens, 1);
    EXPECT_EQ(transport.host, QStringLiteral("127.0.0.1"));
    EXPECT_TRUE(core.thisGameSetting().showuserinout);
    EXPECT_TRUE(host.log.contains(QStringLiteral("caption 斗地主 - 新手房 /   棋牌游戏->斗地主->新手房")));
    EXPECT_TRUE(host.log.contains(QStringLiteral("lastroom 12")));

    transport.opened = true;
    core.onConnected();
    ASSERT_EQ(transport.written.size(), 1);
    EXPECT_EQ(transport.written[0], (BuildLoginLine(3, QStringLiteral("tok123"), 10001) + QLatin1Char('\n')).toLatin1());

    reply(10, 1);
    EXPECT_EQ(core.iSocket(), 7);
    EXPECT_EQ(transport.requests(), QStringList{QStringLiteral("11|roomid=12")});
    EXPECT_TRUE(transport.written.last().startsWith(ScrambleText(QStringLiteral("0|7_2|")).toLatin1()));

    reply(11, 1);
    EXPECT_TRUE(timers.isRunning(RoomTimer::Loading));
    EXPECT_TRUE(host.log.contains(QStringLiteral("online 12 5")));
    core.onLoadingTimer();
    EXPECT_FALSE(host.splash);
    EXPECT_TRUE(timers.isRunning(RoomTimer::Housekeeping));
    EXPECT_TRUE(host.log.contains(QStringLiteral("enabled")));
    EXPECT_TRUE(host.log.contains(QStringLiteral("shouts")));
}

TEST_F(GameClientCoreTest, NothingIsSentDuringTheCountdownOrAfterExit) {
    enterRoom();
    const qint32 seq = core.iSeq();
    const auto written = transport.written.size();
    core.ReConnect(QStringLiteral("test"));
    core.SendData(QStringLiteral("17|msg=hi"));
    EXPECT_EQ(core.iSeq(), seq);
    EXPECT_EQ(transport.written.size(), written);

    RoomClientFixture other;
    other.enterRoom();
    other.core.requestExit();
    const qint32 seq2 = other.core.iSeq();
    other.core.SendData(QStringLiteral("17|msg=hi"));
    EXPECT_EQ(other.core.iSeq(), seq2);
    EXPECT_EQ(other.transport.requests().last(), QStringLiteral("12|roomid=12"));
}

TEST_F(GameClientCoreTest, SecondDropDuringCountdownOnlyCounts) {
    enterRoom();
    core.ReConnect(QStringLiteral("SendData_ClientSocket"));
    EXPECT_EQ(core.iConnectTimes(), 1);
    EXPECT_EQ(core.iWaitConnectTime(), 5);  // the first failure reconnects on the first tick
    ASSERT_EQ(host.drops, QStringList{QStringLiteral("drop=0&userid=10001&modefunc=SendData_ClientSocket")});
    EXPECT_TRUE(host.log.contains(QStringLiteral("reloadTables")));
    core.ReConnect(QStringLiteral("ClientSocket1Error"));
    EXPECT_EQ(core.iConnectTimes(), 2);
    EXPECT_EQ(host.drops.size(), 1);
    EXPECT_TRUE(host.chat.isEmpty());
}

TEST_F(GameClientCoreTest, CountdownReconnectsAndReportsTheEndOfTheDrop) {
    enterRoom();
    transport.opened = false;
    core.onDisconnected();  // the server closed the connection
    EXPECT_TRUE(core.bDrop());
    EXPECT_TRUE(host.splash);
    EXPECT_EQ(host.splashText, QStringLiteral("掉线了，正在重新连接服务器"));
    core.onCountdownTimer();  // wait 5 + 1 > 4: reconnect now
    EXPECT_EQ(transport.opens, 2);
    EXPECT_EQ(core.noBodytime(), 1);

    // That attempt fails too: a failure since the last success counts down 4, 3, 2, 1 and
    // reconnects on the fifth tick.
    core.onSocketError(QStringLiteral("refused"));
    EXPECT_EQ(core.iConnectTimes(), 2);
    QStringList shown;
    for (int i = 0; i < 6 && timers.isRunning(RoomTimer::Countdown); ++i) {
        core.onCountdownTimer();
        shown << host.splashText;
    }
    EXPECT_EQ(shown, (QStringList{QStringLiteral("等待重新连接(4).."), QStringLiteral("等待重新连接(3).."),
                                  QStringLiteral("等待重新连接(2).."), QStringLiteral("等待重新连接(1).."),
                                  QStringLiteral("正在连接服务器....")}));
    EXPECT_EQ(transport.opens, 3);
    EXPECT_EQ(host.drops.size(), 1);  // one drop, reported once

    transport.opened = true;
    core.onConnected();
    EXPECT_FALSE(core.bDrop());
    EXPECT_EQ(core.iConnectTimes(), 0);
    EXPECT_EQ(host.drops.last(), QStringLiteral("drop=1&userid=10001"));
}

TEST_F(GameClientCoreTest, KeepAliveAfterSilenceAndRightAfterAReconnect) {
    enterRoom();
    const auto before = transport.requests().size();
    // noBodytime starts at 5 and grows each second up to 15.
    for (int s = 1; s <= 5; ++s) {
        clock.ms += 1000;
        core.onHousekeepingTimer();
    }
    EXPECT_EQ(transport.requests().size(), before);
    for (int s = 0; s < 30 && transport.requests().size() == before; ++s) {
        clock.ms += 1000;
        core.onHousekeepingTimer();
    }
    EXPECT_EQ(transport.requests().last(), QStringLiteral("50|"));
    EXPECT_EQ(core.noBodytime(), 15);

    core.ReConnect(QStringLiteral("x"));
    core.onCountdownTimer();
    transport.opened = true;
    core.onConnected();
    reply(10, 1);
    reply(11, 1);
    core.onLoadingTimer();
    const auto afterReconnect = transport.requests().size();
    clock.ms += 2000;  // two idle seconds are more than noBodytime 1
    core.onHousekeepingTimer();
    EXPECT_EQ(transport.requests().size(), afterReconnect + 1);
    EXPECT_EQ(transport.requests().last(), QStringLiteral("50|"));
}

TEST_F(GameClientCoreTest, SameServerChangesRoomWithoutReconnecting) {
    enterRoom(room(12));
    core.LoadDesktop(room(13));
    EXPECT_EQ(transport.opens, 1);
    EXPECT_TRUE(core.bNewRoom());
    EXPECT_EQ(transport.requests().last(), QStringLiteral("11|roomid=13"));
    reply(12, 1);
    EXPECT_FALSE(core.bNewRoom());
    EXPECT_FALSE(host.hidden);
    reply(12, 1);
    EXPECT_TRUE(host.hidden);
    EXPECT_TRUE(core.bQuit());

    // A drop after a room change on the kept connection is a drop, not a failed first connect.
    RoomClientFixture kept;
    kept.enterRoom(room(12));
    kept.core.LoadDesktop(room(13));
    kept.transport.opened = false;
    kept.core.onDisconnected();
    EXPECT_FALSE(kept.host.hidden);
    EXPECT_TRUE(kept.core.bDrop());

    RoomClientFixture other;
    other.enterRoom(room(12));
    other.core.LoadDesktop(room(20, QStringLiteral("127.0.0.1"), 18102));
    EXPECT_EQ(other.transport.opens, 2);
}

TEST_F(GameClientCoreTest, FirstConnectionFailureClosesTheRoom) {
    core.LoadDesktop(room());
    core.onSocketError(QStringLiteral("refused"));
    EXPECT_EQ(host.messages, QStringList{QStringLiteral("不能连接到游戏服务器，请稍后重试..")});
    EXPECT_TRUE(host.hidden);
    EXPECT_TRUE(host.log.contains(QStringLiteral("lastroom 0")));

    RoomClientFixture other;
    other.transport.openResult = false;
    other.core.LoadDesktop(room());
    EXPECT_EQ(other.host.messages, QStringList{QStringLiteral("不能连接到服务器，请检查网络！")});
}

TEST_F(GameClientCoreTest, ServerThatNeverEndsALineIsDropped) {
    enterRoom();
    core.onData(QByteArray(LineAssembler::kMaxPendingBytes + 10, 'A'));
    EXPECT_FALSE(transport.opened);
    EXPECT_TRUE(core.bDrop());
    EXPECT_TRUE(host.drops.last().endsWith(QStringLiteral("modefunc=ReadData_LineTooLong")));
}

TEST_F(GameClientCoreTest, GarbageLinesAreDroppedOneByOne) {
    enterRoom();
    const auto before = host.log.size();
    core.onData("%%%\nnot-a-packet\n" + BuildPacketLine(STRU_DATA{0, 1, 1, 80, QStringLiteral("x=1")}).toLatin1() + "\n");
    EXPECT_EQ(core.droppedLines(), 2);
    EXPECT_EQ(host.log.size(), before);  // datatype 0 is ignored
}

TEST_F(GameClientCoreTest, ExitDuringTheCountdownClosesAtOnce) {
    enterRoom();
    core.ReConnect(QStringLiteral("SendData_ClientSocket"));
    ASSERT_TRUE(timers.isRunning(RoomTimer::Countdown));
    ASSERT_TRUE(transport.opened);  // a drop does not close the socket before the reconnect
    core.requestExit();
    EXPECT_TRUE(host.hidden);
    EXPECT_FALSE(timers.isRunning(RoomTimer::Countdown));
    EXPECT_TRUE(host.log.contains(QStringLiteral("lastroom 0")));
}

TEST_F(GameClientCoreTest, ExitWhilePlayingIsRefused) {
    enterRoom();
    host.plugin = true;
    core.requestExit();
    EXPECT_EQ(host.messages, QStringList{QStringLiteral("请您先退出游戏再退出房间！")});
    EXPECT_FALSE(core.bQuit());
}
