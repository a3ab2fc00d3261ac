#include "golden.h"

#include "contract/PluginFrames.h"

#include <functional>
#include <gtest/gtest.h>

namespace velmora::contract::test {
namespace {

constexpr qint64 kId = 0x0102030405060708;
constexpr const char* kIdHex = "08 07 06 05 04 03 02 01";
constexpr qint64 kAdmin = -3;
constexpr const char* kAdminHex = "fd ff ff ff ff ff ff ff";

STRU_PLUGIN_USERINFO member(qint64 id) {
    RoomMemberFields m;
    m.userId = id;
    m.userName = QStringLiteral("p%1").arg(id);
    m.seat = 1;
    return makePluginUserInfo(m);
}

TEST(HallFrames, GoldenBytes) {
    RoomSettings rs;
    rs.pointMultiple = 3;
    rs.goldMultiple = 0x100;
    rs.hideTables = true;
    rs.allowChat = true;
    rs.rules = "AB";
    ScoreEntry se{kId, -5, 100, 0x10, 0x2000, 7};

    const struct {
        const char* name;
        QByteArray built;
        QByteArray expected;
    } cases[] = {
        {"room settings", buildRoomSettings(rs),
         golden(113, {{0, "14 03 00 00 00 00 01 00 00 01 00 01 02 41 42"}})},
        {"administrator", buildAdministrator(kId, kAdmin),
         golden(18, {{0, "18"}, {1, kIdHex}, {9, kAdminHex}})},
        {"member left", buildMemberLeft(kId), golden(9, {{0, "0c"}, {1, kIdHex}})},
        {"offline", buildOffline(kId, true), golden(10, {{0, "17"}, {1, kIdHex}, {9, "01"}})},
        {"back online", buildOffline(kId, false), golden(10, {{0, "17"}, {1, kIdHex}})},
        {"game start", buildGameStart(kAdmin), golden(222, {{0, "13 00"}, {2, kAdminHex}})},
        {"scores", buildScores({se}),
         golden(50, {{0, "10 01 01 00 00 00"}, {6, kIdHex}, {14, "fb ff ff ff ff ff ff ff"},
                     {22, "64"}, {30, "10"}, {38, "00 20"}, {46, "07 00 00 00"}})},
        {"ready", buildReady(kId), golden(513, {{0, "03"}, {1, kIdHex}, {9, "03"}})},
        {"game over", buildGameOver(kId), golden(513, {{0, "03"}, {1, kIdHex}, {9, "32"}})},
        {"table chat", buildTableChat(kId, QStringLiteral("你好")),
         golden(513, {{0, "03"}, {1, kIdHex}, {9, "43 c4 e3 ba c3"}})},
        {"shout", buildShout(kId, QStringLiteral("喊a")),
         golden(513, {{0, "03"}, {1, kIdHex}, {9, "44 ba b0 61"}})},
        {"broadcast 40", *buildBroadcast40("AB", kId),
         golden(513, {{0, "41"}, {1, kIdHex}, {9, "42"}})},
        {"broadcast 40, one byte", *buildBroadcast40("A", kId), golden(513, {{0, "41"}, {1, kIdHex}})},
        {"match host echo",
         *buildMatchHostEcho(golden(17, {{0, "12 07"}, {2, kIdHex}, {10, "03 00 00 00 41 42 43"}})),
         golden(25, {{0, "13 07"}, {2, kIdHex}, {10, kIdHex}, {18, "03 00 00 00 41 42 43"}})},
    };
    for (const auto& c : cases) EXPECT_EQ(c.built.toHex(' '), c.expected.toHex(' ')) << c.name;
}

TEST(HallFrames, UserListHoldsAtMostTwentyRecords) {
    std::vector<STRU_PLUGIN_USERINFO> two{member(5), member(9)};
    const QByteArray f = buildUserList(two);
    ASSERT_EQ(f.size(), 5 + 2 * 308);
    EXPECT_EQ(f.left(5).toHex(' '), "09 02 00 00 00");
    EXPECT_EQ(f.mid(5, 308), encodeUserInfo(two[0]));
    EXPECT_EQ(f.mid(313, 308), encodeUserInfo(two[1]));

    std::vector<STRU_PLUGIN_USERINFO> many;
    for (int i = 0; i < 25; ++i) many.push_back(member(i + 1));
    const QByteArray full = buildUserList(many);
    EXPECT_EQ(full.size(), kMaxUserListFrame);
    const auto back = readUserList(full);
    ASSERT_TRUE(back);
    ASSERT_EQ(back->size(), 20u);
    EXPECT_EQ(back->back().UserId, 20);
}

TEST(HallFrames, TextsAreCutToTheirFields) {
    RoomSettings rs;
    rs.rules = QByteArray::fromHex(QByteArray("d5c5").repeated(60));  // 120 bytes
    rs.rules.prepend('x');                                               // 121: cut inside a character
    const auto back = readRoomSettings(buildRoomSettings(rs));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->rules.size(), 99);  // "x" and 49 whole characters
    const auto chat = readTableFrame(buildTableChat(kId, QString(300, QChar(0x4F60))));
    ASSERT_TRUE(chat);
    EXPECT_EQ(tableText(chat->payload).size(), 502);
    const auto shout = readTableFrame(buildShout(kId, QString(300, QLatin1Char('a'))));
    EXPECT_EQ(tableText(shout->payload).size(), kMaxShoutChars);
    EXPECT_FALSE(buildBroadcast40({}, kId));
    EXPECT_FALSE(buildTableFrame(kId, 1, QByteArray(504, 'x'), false));
    EXPECT_EQ(buildTableFrame(kId, 1, QByteArray(503, 'x'), false)->size(), 513);
    EXPECT_EQ(buildTableFrame(kId, 1, "ab", false)->size(), 12);
}

TEST(PluginFrames, BuildersAndReadersAgree) {
    const auto report = readScoreReport(buildScoreReport("a=1&b=2&"));
    EXPECT_EQ(report, QByteArray("a=1&b=2&"));
    const auto addr = buildOpenAddress("dialog://400_300@http://h/x");
    ASSERT_TRUE(addr);
    EXPECT_EQ(addr->size(), 101);
    EXPECT_EQ(readOpenAddress(*addr), QByteArray("dialog://400_300@http://h/x"));
    EXPECT_FALSE(buildOpenAddress(QByteArray(101, 'a')));
    EXPECT_EQ(buildRefreshUsers(kId).toHex(' '), golden(9, {{0, "07"}, {1, kIdHex}}).toHex(' '));
    EXPECT_EQ(buildShoutDialog(kId).toHex(' '), golden(9, {{0, "16"}, {1, kIdHex}}).toHex(' '));
    const auto req = buildMatchRequest({7, kId, "xyz"});
    ASSERT_TRUE(req);
    const auto back = readMatchRequest(*req);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->data, "xyz");
    const auto echo = readMatchHost(*buildMatchHostEcho(*req));
    ASSERT_TRUE(echo);
    EXPECT_EQ(echo->value, 7);
    EXPECT_EQ(echo->memberId, kId);
    EXPECT_EQ(echo->first, 0x05060708);
    EXPECT_EQ(echo->second, 0x01020304);
    EXPECT_EQ(echo->text, "xyz");
    const auto start = readMatchHost(buildGameStart(kAdmin));
    ASSERT_TRUE(start);
    EXPECT_EQ(start->memberId, kAdmin);
    EXPECT_TRUE(start->text.isEmpty());
    const auto scores = readScores(buildScores(std::vector<ScoreEntry>(12, ScoreEntry{1, 2, 3, 4, 5, 6})));
    ASSERT_TRUE(scores);
    EXPECT_EQ(scores->entries.size(), 10u);
    EXPECT_EQ(scores->entries[9].card, 6);
}

// Every reader refuses a frame shorter than its layout, and one of another kind.
TEST(FrameReaders, RejectShortAndForeignFrames) {
    using Reader = std::function<bool(const QByteArray&)>;
    const struct {
        const char* name;
        QByteArray frame;
        int minLength;
        Reader read;
    } cases[] = {
        {"room settings", buildRoomSettings({1, 2, false, true, true, "rules"}), 18,
         [](const QByteArray& f) { return readRoomSettings(f).has_value(); }},
        {"user list", buildUserList({member(1), member(2)}), 621,
         [](const QByteArray& f) { return readUserList(f).has_value(); }},
        {"administrator", buildAdministrator(1, 2), 18,
         [](const QByteArray& f) { return readAdministrator(f).has_value(); }},
        {"member left", buildMemberLeft(1), 9, [](const QByteArray& f) { return readMemberLeft(f).has_value(); }},
        {"offline", buildOffline(1, true), 10, [](const QByteArray& f) { return readOffline(f).has_value(); }},
        {"match host", *buildMatchHostEcho(*buildMatchRequest({1, 2, "abc"})), 25,
         [](const QByteArray& f) { return readMatchHost(f).has_value(); }},
        {"scores", buildScores({ScoreEntry{}, ScoreEntry{}}), 94,
         [](const QByteArray& f) { return readScores(f).has_value(); }},
        {"table frame", buildReady(1), 10, [](const QByteArray& f) { return readTableFrame(f).has_value(); }},
        {"match request", *buildMatchRequest({1, 2, "abc"}), 17,
         [](const QByteArray& f) { return readMatchRequest(f).has_value(); }},
        {"score report", buildScoreReport("x"), 2, [](const QByteArray& f) { return readScoreReport(f).has_value(); }},
        {"open address", *buildOpenAddress("u"), 2, [](const QByteArray& f) { return readOpenAddress(f).has_value(); }},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(c.read(c.frame)) << c.name;
        EXPECT_TRUE(c.read(c.frame.left(c.minLength))) << c.name;
        for (int len = 0; len < c.minLength; ++len) EXPECT_FALSE(c.read(c.frame.left(len))) << c.name << " " << len;
        QByteArray foreign = c.frame;
        foreign[0] = char(quint8(foreign[0]) + 100);
        EXPECT_FALSE(c.read(foreign)) << c.name;
    }
}

TEST(FrameReaders, RejectCountsThatDoNotFit) {
    auto withInt = [](QByteArray f, int offset, qint32 v) {
        for (int i = 0; i < 4; ++i) f[offset + i] = char((quint32(v) >> (8 * i)) & 0xFF);
        return f;
    };
    const QByteArray list = buildUserList({member(1), member(2)});
    EXPECT_FALSE(readUserList(withInt(list, 1, 3)));
    EXPECT_FALSE(readUserList(withInt(list, 1, -1)));
    EXPECT_FALSE(readUserList(withInt(list + QByteArray(308 * 19, '\0'), 1, 21)));
    EXPECT_TRUE(readUserList(withInt(list, 1, 1)));  // trailing bytes beyond the count are ignored
    const QByteArray echo = *buildMatchHostEcho(*buildMatchRequest({1, 2, "abc"}));
    EXPECT_FALSE(readMatchHost(withInt(echo, 18, 4)));
    EXPECT_FALSE(readMatchHost(withInt(echo, 18, -1)));
    const QByteArray request = *buildMatchRequest({1, 2, "abc"});
    EXPECT_FALSE(readMatchRequest(withInt(request, 10, 4)));
    EXPECT_FALSE(buildMatchHostEcho(withInt(request, 10, 4)));
    EXPECT_FALSE(buildMatchHostEcho(withInt(request, 10, INT32_MIN)));
    EXPECT_FALSE(buildMatchHostEcho(*buildMatchRequest({1, 2, QByteArray(499, 'x')})));  // echo over 513
    const QByteArray scores = buildScores({ScoreEntry{}});
    EXPECT_FALSE(readScores(withInt(scores, 2, 2)));
    EXPECT_FALSE(readScores(withInt(scores + QByteArray(44 * 10, '\0'), 2, 11)));
    QByteArray settings = buildRoomSettings({});
    settings[12] = char(101);
    EXPECT_FALSE(readRoomSettings(settings));
    EXPECT_FALSE(readOpenAddress(golden(101, {{0, "15"}})));  // empty address
}

}  // namespace
}  // namespace velmora::contract::test
