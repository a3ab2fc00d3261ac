// Login, rooms, drops and the checks on every line.
#include "corefixture.h"

namespace velmora::server::test {
namespace {

using hall::STRU_DATA;

class LoginTest : public CoreFixture {};

TEST_F(LoginTest, AcceptsTheSessionsTokenAndUser) {
    Client c = connect(1001, 7);
    const auto got = take(c);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].datatype, 1);
    EXPECT_EQ(got[0].command, kResultOk);
    EXPECT_EQ(got[0].fsocket, c.id);
    EXPECT_EQ(cmdname(got[0]), "10");
    EXPECT_EQ(value(got[0], "dropon"), 0);
    EXPECT_TRUE(sink.closed.empty());
}

TEST_F(LoginTest, RefusesBadLoginLines) {
    const QString good = hall::BuildLoginLine(2, QStringLiteral("tok1001"), 1001);
    struct Case {
        const char* what;
        QString line;
        bool repliesWithFailure;  // a failure reply is possible only when the session is known
    } cases[] = {
        {"wrong key index", QStringLiteral("5") + good.mid(1), false},
        {"unknown token", hall::BuildLoginLine(2, QStringLiteral("nosuch"), 1001), false},
        {"user not the session's", hall::BuildLoginLine(2, QStringLiteral("tok1001"), 1002), true},
        {"no key digit", good.mid(1), false},
        {"garbage", QStringLiteral("%FF%00%%zz"), false},
        {"a request line", hall::BuildRequestLine(0, 2, 11, QStringLiteral("roomid=1"), QStringLiteral("kEy1001zQ")), false},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        sink.sent.clear();
        sink.closed.clear();
        const ConnectionId id = core->openConnection();
        core->receiveLine(id, tc.line);
        EXPECT_TRUE(sink.closed.count(id));
        if (tc.repliesWithFailure) {
            ASSERT_EQ(sink.sent.size(), 1u);
            EXPECT_EQ(sink.sent[0].second.command, kResultFailed);
            EXPECT_EQ(value(sink.sent[0].second, "errcode"), err::kLoginFailed);
        } else {
            EXPECT_TRUE(sink.sent.empty());
        }
        EXPECT_EQ(core->connectionCount(), 0);
    }
}

TEST_F(LoginTest, SilentConnectionsAreClosed) {
    const ConnectionId quiet = core->openConnection();
    Client idle = enter(1001);
    clock.now += limits.loginTimeoutMs + 1;
    core->tick();
    EXPECT_TRUE(sink.closed.count(quiet));
    EXPECT_FALSE(sink.closed.count(idle.id));
    clock.now += limits.idleTimeoutMs;
    core->tick();
    EXPECT_TRUE(sink.closed.count(idle.id));
    EXPECT_FALSE(core->member(1001).has_value());  // idle in the room: gone at once
}

class RoomEntryTest : public CoreFixture {};

TEST_F(RoomEntryTest, NewcomerGetsReplyThenEveryMemberOthersGetIt) {
    Client a = enter(1001);
    Client b = connect(1002);
    take(b);
    request(b, 11, QStringLiteral("roomid=1"));
    const auto got = take(b);
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].datatype, 1);
    EXPECT_EQ(got[0].command, kResultOk);
    EXPECT_EQ(cmdname(got[0]), "11");
    EXPECT_EQ(got[0].seq, b.seq);
    EXPECT_EQ(got[1].command, 80);
    EXPECT_EQ(value(got[1], "playerid"), 1001);
    EXPECT_EQ(value(got[2], "playerid"), 1002);
    EXPECT_EQ(value(got[2], "state"), 1);
    EXPECT_EQ(value(got[2], "seatindex"), -1);
    const auto toA = take(a);
    ASSERT_EQ(toA.size(), 1u);
    EXPECT_EQ(toA[0].datatype, 2);
    EXPECT_EQ(toA[0].command, 80);
    EXPECT_EQ(value(toA[0], "playerid"), 1002);
    EXPECT_EQ(value(toA[0], "roomid"), 1);
}

TEST_F(RoomEntryTest, RefusesWithTheHallsErrorCodes) {
    Client a = enter(1001);
    struct Case {
        const char* what;
        QString body;
        int errcode;
    } cases[] = {
        {"unknown room", QStringLiteral("roomid=77"), err::kNoSuchRoom},
        {"room of another server", QStringLiteral("roomid=9"), err::kNoSuchRoom},
        {"no room id", QStringLiteral("x=1"), err::kNoSuchRoom},
        {"the room it is in", QStringLiteral("roomid=1"), err::kAlreadyInRoom},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.what);
        request(a, 11, tc.body);
        const auto got = take(a);
        ASSERT_FALSE(got.empty());
        EXPECT_EQ(got[0].command, kResultFailed);
        EXPECT_EQ(cmdname(got[0]), "11");
        EXPECT_EQ(value(got[0], "errcode"), tc.errcode);
    }
    EXPECT_EQ(core->member(1001)->roomId, 1);
}

TEST_F(RoomEntryTest, AlreadyInRoomStillListsTheMembers) {
    Client a = enter(1001);
    request(a, 11, QStringLiteral("roomid=1"));
    EXPECT_EQ(commands(take(a)), (std::vector<qint32>{-11, 80}));
}

TEST_F(RoomEntryTest, FullRoomRefusesTheNextMember) {
    for (qint64 u = 1001; u <= 1005; ++u) enter(u);
    EXPECT_EQ(core->memberCount(1), 5);
    Client late = connect(1006);
    take(late);
    request(late, 11, QStringLiteral("roomid=1"));
    const auto got = take(late);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(value(got[0], "errcode"), err::kRoomFull);
    EXPECT_EQ(core->memberCount(1), 5);
}

TEST_F(RoomEntryTest, LeaveRepliesThenTellsTheOthers) {
    Client a = enter(1001);
    Client b = enter(1002);
    take(a);
    request(b, 12, QStringLiteral("roomid=1"));
    EXPECT_EQ(commands(take(b)), (std::vector<qint32>{-12}));
    const auto toA = take(a);
    ASSERT_EQ(toA.size(), 1u);
    EXPECT_EQ(toA[0].command, 81);
    EXPECT_EQ(value(toA[0], "playerid"), 1002);
    EXPECT_EQ(core->memberCount(1), 1);

    request(a, 12, QStringLiteral("roomid=2"));
    const auto wrong = take(a);
    ASSERT_EQ(wrong.size(), 1u);
    EXPECT_EQ(value(wrong[0], "errcode"), err::kNotInRoom);
}

TEST_F(RoomEntryTest, RoomChangeOnOneConnectionLeavesTheOldRoomFirst) {
    Client a = enter(1001);
    Client b = enter(1002);
    Client c = enter(1003, 2);
    sit(a, 1, 0);
    take(a);
    take(b);
    take(c);
    request(a, 11, QStringLiteral("roomid=2"));
    const auto got = take(a);
    ASSERT_GE(got.size(), 2u);
    EXPECT_EQ(cmdname(got[0]), "12");  // the hall clears its room change flag on it
    EXPECT_EQ(value(got[0], "roomid"), 1);
    EXPECT_EQ(cmdname(got[1]), "11");
    EXPECT_EQ(value(got[1], "roomid"), 2);
    EXPECT_EQ(commands(take(b)), (std::vector<qint32>{83, 81}));
    EXPECT_EQ(commands(take(c)), (std::vector<qint32>{80}));
    EXPECT_EQ(core->member(1001)->roomId, 2);
    EXPECT_EQ(core->member(1001)->table, 0);
}

TEST_F(RoomEntryTest, RequestsForARoomOrTableThePlayerIsNotInAreRefused) {
    Client out = connect(1001);
    Client in = enter(1002);
    take(out);
    struct Case {
        Client* who;
        qint32 command;
        QString body;
        int errcode;
    } cases[] = {
        {&out, 13, QStringLiteral("roomid=1&tableid=1&seatindex=0"), err::kNotInRoom},
        {&out, 14, QStringLiteral("roomid=1&tableid=1"), err::kNotInRoom},
        {&out, 17, QStringLiteral("msg=hi"), err::kNotInRoom},
        {&out, 20, QStringLiteral("msg=0300"), err::kNotAtTable},
        {&in, 13, QStringLiteral("roomid=2&tableid=1&seatindex=0"), err::kNotInRoom},
        {&in, 14, QStringLiteral("roomid=1&tableid=1"), err::kNotAtTable},
        {&in, 16, QString(), err::kNotSeated},
        {&in, 18, QStringLiteral("msg=hi"), err::kNotAtTable},
        {&in, 20, QStringLiteral("msg=0300"), err::kNotAtTable},
        {&in, 41, QString(), err::kNotSeated},
        {&in, 44, QString(), err::kNotAtTable},
        {&in, 99, QStringLiteral("x=1"), err::kUnknownCommand},
        {&in, 40, QStringLiteral("msg=x"), err::kUnknownCommand},
    };
    for (const auto& tc : cases) {
        SCOPED_TRACE(tc.command);
        request(*tc.who, tc.command, tc.body);
        const auto got = take(*tc.who);
        ASSERT_EQ(got.size(), 1u);
        EXPECT_EQ(got[0].datatype, 1);
        EXPECT_EQ(got[0].command, kResultFailed);
        EXPECT_EQ(cmdname(got[0]).toInt(), tc.command);
        EXPECT_EQ(value(got[0], "errcode"), tc.errcode);
    }
    EXPECT_TRUE(sink.sent.empty());  // nobody else heard of it
}

class LineCheckTest : public CoreFixture {};

TEST_F(LineCheckTest, MalformedAndOutOfOrderLinesAreDroppedWithoutReply) {
    Client a = enter(1001);
    const QString lines[] = {
        QStringLiteral("garbage"),
        hall::ScrambleText(QStringLiteral("0|%1_%2|11").arg(a.id).arg(a.seq + 1), a.key),  // 3 pieces, no "|" end
        hall::BuildRequestLine(a.id, a.seq + 1, 17, QStringLiteral("msg=x"), QStringLiteral("otherKey")),
        hall::BuildRequestLine(a.id + 1, a.seq + 1, 17, QStringLiteral("msg=x"), a.key),  // wrong fsocket
        hall::BuildRequestLine(a.id, a.seq, 17, QStringLiteral("msg=x"), a.key),          // seq not raised
        hall::ScrambleText(QStringLiteral("1|%1_%2|17|msg=x").arg(a.id).arg(a.seq + 1), a.key),  // not a request
    };
    for (const QString& line : lines) core->receiveLine(a.id, line);
    EXPECT_TRUE(take(a).empty());
    EXPECT_TRUE(sink.closed.empty());
    request(a, 50);  // keep-alive with an empty body: accepted, no reply
    request(a, 17, QStringLiteral("msg=ok"));
    EXPECT_EQ(commands(take(a)), (std::vector<qint32>{-17}));
}

TEST_F(LineCheckTest, TooManyRefusedLinesCloseTheConnection) {
    Client a = enter(1001);
    Client b = enter(1002);
    for (int i = 0; i <= limits.maxBadLines; ++i) core->receiveLine(a.id, QStringLiteral("bad"));
    EXPECT_TRUE(sink.closed.count(a.id));
    EXPECT_FALSE(sink.closed.count(b.id));
    EXPECT_EQ(commands(take(b)), (std::vector<qint32>{81}));
}

TEST_F(LineCheckTest, LongBodiesAreRefusedAndFloodsClosed) {
    limits.maxBody = 100;
    limits.lineBurst = 30;
    limits.linesPerSecond = 10;
    makeCore();
    Client a = enter(1001);
    Client b = enter(1002);
    request(a, 17, QStringLiteral("msg=") + QString(200, QLatin1Char('a')));
    const auto got = take(a);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(value(got[0], "errcode"), err::kBodyTooLong);
    // A steady 10 lines a second is fine, a burst beyond the bucket is not.
    for (int i = 0; i < 50; ++i) {
        clock.now += 100;
        request(b, 50);
    }
    EXPECT_FALSE(sink.closed.count(b.id));
    for (int i = 0; i < 40; ++i) request(a, 50);
    EXPECT_TRUE(sink.closed.count(a.id));
    EXPECT_FALSE(sink.closed.count(b.id));
}

class DropTest : public CoreFixture {};

TEST_F(DropTest, SeatedPlayerIsHeldAndRestoredWithDropon) {
    Client a = enter(1001);
    Client b = enter(1002);
    sit(a, 2, 1);
    take(a);
    take(b);
    core->connectionLost(a.id);
    const auto offline = take(b);
    ASSERT_EQ(offline.size(), 1u);
    EXPECT_EQ(offline[0].command, 84);
    EXPECT_EQ(value(offline[0], "playerid"), 1001);
    EXPECT_FALSE(core->member(1001)->online);
    EXPECT_EQ(core->memberCount(1), 2);

    clock.now += limits.holdMs - 1;
    core->tick();
    Client again = connect(1001);
    const auto got = take(again);
    ASSERT_GE(got.size(), 3u);
    EXPECT_EQ(cmdname(got[0]), "10");
    EXPECT_EQ(got[0].command, kResultOk);
    EXPECT_EQ(value(got[0], "dropon"), 1);
    EXPECT_EQ(value(got[0], "roomid"), 1);
    EXPECT_EQ(value(got[0], "tableid"), 2);
    EXPECT_EQ(value(got[0], "seatindex"), 1);
    EXPECT_EQ(value(got[0], "state"), 3);
    EXPECT_EQ(commands({got.begin() + 1, got.end()}), (std::vector<qint32>{80, 80}));
    EXPECT_EQ(commands(take(b)), (std::vector<qint32>{85}));
    EXPECT_TRUE(core->member(1001)->online);
    // The hall does not enter again after dropon=1: its place works at once.
    request(again, 16);
    EXPECT_EQ(commands(take(again)), (std::vector<qint32>{-16}));
}

TEST_F(DropTest, PlaceIsFreedWhenTheHoldRunsOut) {
    Client a = enter(1001);
    Client b = enter(1002);
    sit(a, 2, 1);
    core->connectionLost(a.id);
    take(b);
    clock.now += limits.holdMs;
    core->tick();
    EXPECT_EQ(commands(take(b)), (std::vector<qint32>{83, 81}));
    EXPECT_FALSE(core->member(1001).has_value());
    Client again = connect(1001);
    const auto got = take(again);
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(value(got[0], "dropon"), 0);
    sit(b, 2, 1);  // the seat is free again
    EXPECT_EQ(take(b)[0].command, kResultOk);
}

TEST_F(DropTest, IdlePlayersAndWatchersLeaveAtOnce) {
    Client a = enter(1001);
    Client b = enter(1002);
    Client w = enter(1003);
    sit(a, 1, 0);
    request(w, 15, QStringLiteral("roomid=1&tableid=1&seatindex=0"));
    EXPECT_EQ(core->member(1003)->status, kWatching);
    take(a);
    core->connectionLost(b.id);
    core->connectionLost(w.id);
    EXPECT_EQ(commands(take(a)), (std::vector<qint32>{81, 83, 81}));
    EXPECT_EQ(core->memberCount(1), 1);
}

TEST_F(DropTest, SecondLoginReplacesTheFirstConnectionAndKeepsThePlace) {
    Client a = enter(1001);
    Client b = enter(1002);
    sit(a, 1, 2);
    take(b);
    Client again = connect(1001);
    EXPECT_TRUE(sink.closed.count(a.id));
    const auto got = take(again);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(value(got[0], "dropon"), 1);
    EXPECT_EQ(value(got[0], "seatindex"), 2);
    EXPECT_EQ(commands(take(b)), (std::vector<qint32>{84, 85}));
    // The old connection's late close changes nothing.
    core->connectionLost(a.id);
    EXPECT_TRUE(core->member(1001)->online);
}

TEST_F(DropTest, RestoredPlayerInAnotherRoomGetsNoLeaveReply) {
    Client a = enter(1001);
    sit(a, 1, 0);
    core->connectionLost(a.id);
    Client again = connect(1001);
    take(again);
    // The hall's room is 2 (dropon named room 1): it enters room 2 and must not see reply 12,
    // which would close its room window.
    request(again, 11, QStringLiteral("roomid=2"));
    const auto got = take(again);
    ASSERT_FALSE(got.empty());
    EXPECT_EQ(cmdname(got[0]), "11");
    EXPECT_EQ(core->member(1001)->roomId, 2);
}

}  // namespace
}  // namespace velmora::server::test
