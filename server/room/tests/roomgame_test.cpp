// Seating, ready and game start, game data relay, scores, kept game data, chat.
#include "corefixture.h"

namespace velmora::server::test {
namespace {

class TableTest : public CoreFixture {
protected:
    // Three players seated at table 1 of room 1 (seats 0, 1, 2), a watcher and an idle member.
    void seatThree() {
        for (int i = 0; i < 3; ++i) {
            p[i] = enter(1001 + i);
            sit(p[i], 1, i);
        }
        watcher = enter(1004);
        request(watcher, 15, QStringLiteral("roomid=1&tableid=1&seatindex=0"));
        idle = enter(1005);
        sink.sent.clear();
    }
    void startGame() {
        for (auto& c : p) request(c, 16);
        sink.sent.clear();
    }
    Client p[3];
    Client watcher;
    Client idle;
};

TEST_F(TableTest, SitRepliesThenTellsTheRoom) {
    Client a = enter(1001);
    Client b = enter(1002);
    sit(a, 3, 2);
    const auto got = take(a);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].command, kResultOk);
    EXPECT_EQ(cmdname(got[0]), "13");
    EXPECT_EQ(value(got[0], "tableid"), 3);
    EXPECT_EQ(value(got[0], "seatindex"), 2);
    EXPECT_EQ(value(got[0], "passcode"), 0);
    const auto toB = take(b);
    ASSERT_EQ(toB.size(), 1u);
    EXPECT_EQ(toB[0].command, 82);
    EXPECT_EQ(value(toB[0], "playerid"), 1001);
    EXPECT_EQ(value(toB[0], "state"), kSeated);
    EXPECT_EQ(hall::BodyValue(toB[0].data, QStringLiteral("msg")), QString());
}

TEST_F(TableTest, SeatingRules) {
    Client owner = enter(1001);
    Client other = enter(1002);
    sit(owner, 1, 0, 1, QStringLiteral("&passcode=s3cret"));
    sink.sent.clear();
    struct Case {
        const char* what;
        bool watch;
        QString body;
        int errcode;  // 0: accepted
    } cases[] = {
        {"table 0", false, QStringLiteral("tableid=0&seatindex=0"), err::kNoSuchSeat},
        {"table beyond the room", false, QStringLiteral("tableid=5&seatindex=0"), err::kNoSuchSeat},
        {"seat beyond the table", false, QStringLiteral("tableid=2&seatindex=3"), err::kNoSuchSeat},
        {"negative seat", false, QStringLiteral("tableid=2&seatindex=-1"), err::kNoSuchSeat},
        {"seat taken", false, QStringLiteral("tableid=1&seatindex=0&passcode=s3cret"), err::kSeatTaken},
        {"no password", false, QStringLiteral("tableid=1&seatindex=1"), err::kWrongPassword},
        {"wrong password", false, QStringLiteral("tableid=1&seatindex=1&passcode=guess"), err::kWrongPassword},
        {"watch without password", true, QStringLiteral("tableid=1&seatindex=0"), err::kWrongPassword},
        {"watch an empty seat", true, QStringLiteral("tableid=1&seatindex=2&passcode=s3cret"), err::kNoSuchSeat},
        {"watch with password", true, QStringLiteral("tableid=1&seatindex=0&passcode=s3cret"), 0},
        {"sit with password", false, QStringLiteral("tableid=1&seatindex=1&passcode=s3cret"), 0},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        request(other, tc.watch ? 15 : 13, QStringLiteral("roomid=1&") + tc.body);
        const auto got = take(other);
        ASSERT_EQ(got.size(), 1u);
        if (tc.errcode == 0) {
            EXPECT_EQ(got[0].command, kResultOk);
            EXPECT_EQ(value(got[0], "passcode"), 1);
        } else {
            EXPECT_EQ(got[0].command, kResultFailed);
            EXPECT_EQ(value(got[0], "errcode"), tc.errcode);
        }
    }
    EXPECT_EQ(core->member(1002)->seat, 1);
    EXPECT_EQ(core->member(1002)->status, kSeated);
}

TEST_F(TableTest, PasswordIsAnnouncedAndClearedWithTheLastLeaver) {
    Client owner = enter(1001);
    Client other = enter(1002);
    sit(owner, 2, 0, 1, QStringLiteral("&passcode=pw"));
    const auto seated = take(other);
    ASSERT_EQ(seated.size(), 1u);
    EXPECT_EQ(hall::BodyValue(seated[0].data, QStringLiteral("msg")), "passcode");
    // A newcomer learns the password flag with the member list.
    Client late = enter(1003);
    take(owner);
    take(other);
    request(late, 11, QStringLiteral("roomid=1"));
    EXPECT_EQ(commands(take(late)), (std::vector<qint32>{-11, 80, 80, 80, 82}));

    request(owner, 14, QStringLiteral("roomid=1&tableid=2"));
    const auto left = take(owner);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(cmdname(left[0]), "14");
    EXPECT_EQ(value(left[0], "passcode"), 0);
    const auto toOther = take(other);
    ASSERT_EQ(toOther.size(), 1u);
    EXPECT_EQ(toOther[0].command, 83);
    EXPECT_EQ(hall::BodyValue(toOther[0].data, QStringLiteral("msg")), "passcode");
    sit(other, 2, 0);  // free table: no password asked
    EXPECT_EQ(take(other)[0].command, kResultOk);
}

TEST_F(TableTest, WatchingForbiddenRoomNeedsVip) {
    RoomInfo r = *rooms.findRoom(2);
    r.watchEnabled = false;
    rooms.addRoom(r);
    Client a = enter(1001, 2);
    Client plain = enter(1002, 2);
    Client vip = enter(1012, 2);
    sit(a, 1, 0, 2);
    sink.sent.clear();
    request(plain, 15, QStringLiteral("roomid=2&tableid=1&seatindex=0"));
    EXPECT_EQ(value(take(plain)[0], "errcode"), err::kWatchForbidden);
    request(vip, 15, QStringLiteral("roomid=2&tableid=1&seatindex=0"));
    EXPECT_EQ(take(vip)[0].command, kResultOk);
}

TEST_F(TableTest, LastReadyStartsTheGameForTheWholeRoom) {
    seatThree();
    request(p[0], 16);
    request(p[1], 16);
    EXPECT_FALSE(core->tablePlaying(1, 1));
    sink.sent.clear();
    request(p[2], 16);
    // Reply 16 first, then the game start; the others get broadcast 16 before it.
    const auto last = take(p[2]);
    ASSERT_EQ(last.size(), 2u);
    EXPECT_EQ(cmdname(last[0]), "16");
    EXPECT_EQ(last[1].datatype, 1);
    EXPECT_EQ(last[1].command, kResultGameStart);
    EXPECT_EQ(value(last[1], "tableid"), 1);
    EXPECT_EQ(value(last[1], "adminid"), 1001);
    for (Client* c : {&p[0], &p[1], &watcher, &idle}) {
        const auto got = take(*c);
        ASSERT_EQ(got.size(), 2u);
        EXPECT_EQ(got[0].command, 16);
        EXPECT_EQ(value(got[0], "playerid"), 1003);
        EXPECT_EQ(got[1].command, kResultGameStart);
    }
    EXPECT_TRUE(core->tablePlaying(1, 1));
    EXPECT_EQ(core->takeGamesPlayed(), (std::vector<std::pair<qint64, qint32>>{{1001, 7}, {1002, 7}, {1003, 7}}));
    EXPECT_TRUE(core->takeGamesPlayed().empty());
    EXPECT_EQ(core->member(1002)->status, kPlaying);
    EXPECT_EQ(core->member(1004)->status, kWatching);
    // Ready again while playing is refused.
    request(p[0], 16);
    EXPECT_EQ(value(take(p[0])[0], "errcode"), err::kSeatTaken);
}

TEST_F(TableTest, GameDataGoesToTheWholeTableSenderIncluded) {
    seatThree();
    Client elsewhere = enter(1006);
    sit(elsewhere, 2, 0);
    sink.sent.clear();
    request(p[1], 20, QStringLiteral("msg=03A1B2"));
    const auto own = take(p[1]);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].datatype, 1);
    EXPECT_EQ(cmdname(own[0]), "20");
    EXPECT_EQ(hall::BodyValue(own[0].data, QStringLiteral("msg")), "03A1B2");
    for (Client* c : {&p[0], &p[2], &watcher}) {
        const auto got = take(*c);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].datatype, 2);
        EXPECT_EQ(got[0].command, 20);
        EXPECT_EQ(hall::BodyValue(got[0].data, QStringLiteral("msg")), "03A1B2");
        EXPECT_EQ(value(got[0], "playerid"), 1002);
    }
    EXPECT_TRUE(take(idle).empty());
    EXPECT_TRUE(take(elsewhere).empty());
    for (const QString& bad : {QStringLiteral("msg=03A"), QStringLiteral("msg=ZZ"), QStringLiteral("x=1"),
                               QStringLiteral("msg=") + QString(1202, QLatin1Char('0'))}) {
        request(p[1], 20, bad);
        EXPECT_EQ(value(take(p[1])[0], "errcode"), err::kMalformedBody) << bad.left(20).toStdString();
    }
    EXPECT_TRUE(sink.sent.empty());
}

TEST_F(TableTest, GameOverIsBroadcastOnceAndConfirmedToEveryReporter) {
    seatThree();
    startGame();
    request(p[0], 41);
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{-41}));
    EXPECT_EQ(commands(take(idle)), (std::vector<qint32>{41}));
    EXPECT_FALSE(core->tablePlaying(1, 1));
    EXPECT_EQ(core->member(1003)->status, kSeated);
    sink.sent.clear();
    request(p[1], 41);
    EXPECT_EQ(take(p[1])[0].command, kResultOk);
    EXPECT_TRUE(sink.sent.empty());
}

TEST_F(TableTest, LeavingDuringAGameEndsItForTheOthers) {
    seatThree();
    startGame();
    request(p[2], 14, QStringLiteral("roomid=1&tableid=1"));
    EXPECT_EQ(commands(take(p[2])), (std::vector<qint32>{-14}));
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{83}));
    EXPECT_FALSE(core->tablePlaying(1, 1));
    EXPECT_EQ(core->member(1001)->status, kSeated);
}

TEST_F(TableTest, ScoresFromTheHostAreStoredRepliedAndSentToTheTable) {
    seatThree();
    startGame();
    const QString list = QStringLiteral("masterid=1001&playerid1=1001&point1=2&gold1=200&prop1=0&"
                                        "playerid2=1002&point2=-1&gold2=-100&playerid3=1003&point3=-1&gold3=-100");
    const QString msg = hall::UrlEncodeText(list);
    request(p[1], 42, QStringLiteral("msg=") + msg);
    EXPECT_EQ(value(take(p[1])[0], "errcode"), err::kNotTableAdmin);
    request(p[0], 42, QStringLiteral("msg=") + hall::UrlEncodeText(QStringLiteral("masterid=1001&playerid1=1005&point1=5")));
    EXPECT_EQ(value(take(p[0])[0], "errcode"), err::kMalformedBody);
    request(p[0], 42, QStringLiteral("msg=") + hall::UrlEncodeText(QStringLiteral("masterid=1001&playerid1=1002&point1=x")));
    EXPECT_EQ(value(take(p[0])[0], "errcode"), err::kMalformedBody);
    EXPECT_TRUE(core->lastScores(1, 1).isEmpty());

    request(p[0], 42, QStringLiteral("msg=") + msg);
    const auto own = take(p[0]);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(cmdname(own[0]), "42");
    EXPECT_EQ(hall::UrlDecodeText(hall::BodyValue(own[0].data, QStringLiteral("msg"))), list);
    for (Client* c : {&p[1], &p[2], &watcher}) {
        const auto got = take(*c);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].command, 42);
        EXPECT_EQ(hall::BodyValue(got[0].data, QStringLiteral("msg")), msg);
    }
    EXPECT_TRUE(take(idle).empty());
    EXPECT_EQ(core->lastScores(1, 1), list);
}

TEST_F(TableTest, KeptGameDataIsForTheHostOnly) {
    seatThree();
    startGame();
    request(p[0], 44);
    EXPECT_EQ(value(take(p[0])[0], "errcode"), err::kNoKeptData);
    request(p[1], 43, QStringLiteral("msg=0395AA"));
    EXPECT_EQ(value(take(p[1])[0], "errcode"), err::kNotTableAdmin);
    request(p[0], 43, QStringLiteral("msg=0395"));
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{-43}));
    request(p[0], 43, QStringLiteral("msg=0395BEEF"));
    take(p[0]);
    EXPECT_TRUE(sink.sent.empty());  // kept, not relayed
    request(p[0], 44);
    const auto got = take(p[0]);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].command, kResultOk);
    EXPECT_EQ(hall::BodyValue(got[0].data, QStringLiteral("msg")), "0395BEEF");
    request(p[2], 44);
    EXPECT_EQ(value(take(p[2])[0], "errcode"), err::kNotTableAdmin);
    // The host's drop and return keeps the data and the host.
    core->connectionLost(p[0].id);
    Client back = connect(1001);
    EXPECT_EQ(value(take(back)[0], "adminid"), 1001);
    request(back, 44);
    EXPECT_EQ(hall::BodyValue(take(back)[0].data, QStringLiteral("msg")), "0395BEEF");
}

TEST_F(TableTest, DropWhilePlayingKeepsTheGameAndReportsThePlayingState) {
    seatThree();
    startGame();
    core->connectionLost(p[1].id);
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{84}));
    EXPECT_TRUE(core->tablePlaying(1, 1));
    sink.sent.clear();
    request(p[0], 20, QStringLiteral("msg=0301"));  // the table plays on meanwhile
    EXPECT_EQ(commands(take(p[2])), (std::vector<qint32>{20}));
    Client back = connect(1002);
    const auto got = take(back);
    EXPECT_EQ(value(got[0], "state"), kPlaying);
    EXPECT_EQ(value(got[0], "tableid"), 1);
}

TEST_F(TableTest, ChatAndInvitations) {
    seatThree();
    request(idle, 17, QStringLiteral("msg=hello%20all"));
    EXPECT_EQ(commands(take(idle)), (std::vector<qint32>{-17}));
    const auto heard = take(p[0]);
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(value(heard[0], "playerid"), 1005);
    EXPECT_EQ(hall::BodyValue(heard[0].data, QStringLiteral("msg")), "hello%20all");
    sink.sent.clear();

    request(idle, 17, QStringLiteral("msg=") + hall::UrlEncodeText(QStringLiteral(".KICK|1001")));
    EXPECT_EQ(value(take(idle)[0], "errcode"), err::kNotPermitted);
    request(p[0], 18, QStringLiteral("msg=gg"));
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{-18}));
    EXPECT_EQ(commands(take(watcher)), (std::vector<qint32>{18}));
    EXPECT_TRUE(take(idle).empty());

    request(p[0], 19, QStringLiteral("recvid=1005&msg=1"));
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{-19}));
    const auto invited = take(idle);
    ASSERT_EQ(invited.size(), 1u);
    EXPECT_EQ(value(invited[0], "senderid"), 1001);
    EXPECT_EQ(value(invited[0], "msg"), 1);
    request(p[0], 19, QStringLiteral("recvid=1005&msg=2"));  // not the sender's table
    EXPECT_EQ(value(take(p[0])[0], "errcode"), err::kBadInvitation);
    request(p[0], 19, QStringLiteral("recvid=4242&msg=addfriend"));
    EXPECT_EQ(value(take(p[0])[0], "errcode"), err::kBadInvitation);
    request(idle, 19, QStringLiteral("recvid=1001&msg=addfriend"));
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{19}));

    sink.sent.clear();
    core->sendSystemMessage(1, 1, QStringLiteral("维护"));
    EXPECT_EQ(commands(take(p[2])), (std::vector<qint32>{40}));
    EXPECT_EQ(commands(take(watcher)), (std::vector<qint32>{40}));
    EXPECT_TRUE(take(idle).empty());
}

TEST_F(TableTest, KickByAVipRemovesTheMemberWithoutHoldingItsSeat) {
    seatThree();
    request(idle, 12, QStringLiteral("roomid=1"));  // room 1 holds five
    Client admin = enter(1012);                     // VIP level 2
    sink.sent.clear();
    request(admin, 17, QStringLiteral("msg=") + hall::UrlEncodeText(QStringLiteral(".kick|1002")));
    EXPECT_EQ(commands(take(admin)), (std::vector<qint32>{-17, 83, 81}));
    EXPECT_EQ(commands(take(p[1])), (std::vector<qint32>{17}));  // the kick line reaches it first
    EXPECT_TRUE(sink.closed.count(p[1].id));
    EXPECT_EQ(commands(take(p[0])), (std::vector<qint32>{17, 83, 81}));
    EXPECT_FALSE(core->member(1002).has_value());
    sit(admin, 1, 1);  // the seat is free at once
    EXPECT_EQ(take(admin)[0].command, kResultOk);
}

TEST_F(TableTest, ChatOffRoomRefusesRoomChat) {
    RoomInfo r = *rooms.findRoom(2);
    r.chatEnabled = false;
    rooms.addRoom(r);
    Client a = enter(1001, 2);
    request(a, 17, QStringLiteral("msg=hi"));
    EXPECT_EQ(value(take(a)[0], "errcode"), err::kChatDisabled);
}

}  // namespace
}  // namespace velmora::server::test
