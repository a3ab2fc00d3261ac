#include <gtest/gtest.h>

#include <set>

#include "hall/gametree/roomentry.h"

using namespace velmora::hall;

namespace {

class FakeInstalled : public InstalledGames {
public:
    std::set<QString> files;
    QString version = QStringLiteral("1.3.64.65");
    bool exists(const QString& path) const override { return files.count(path) > 0; }
    QString fileVersion(const QString&) const override { return version; }
};

STRU_GAMEROOM landlordRoom() {
    STRU_GAMEROOM room;
    room.id = 100;
    room.roomgold = 500;
    room.onlinecount = 10;
    room.parent.id = 10;
    room.parent.dllfile = QStringLiteral("libquellmark.so");
    room.parent.version = QStringLiteral("1.3.64.65");
    return room;
}

}  // namespace

TEST(RoomEntry, ChecksInTheOrderThePlayerMeetsThem) {
    FakeInstalled installed;
    installed.files.insert(QStringLiteral("/opt/v/games/libquellmark.so"));
    STRU_USERINFO rich;
    rich.Gold = 500;
    STRU_USERINFO vip = rich;
    vip.VIPLevel = 1;

    struct Case {
        const char* what;
        std::function<void(STRU_GAMEROOM&, FakeInstalled&, RoomClientState&)> setup;
        STRU_USERINFO player;
        RoomEntry expected;
    } cases[] = {
        {"enters", [](auto&, auto&, auto&) {}, rich, RoomEntry::Enter},
        {"not installed", [](auto&, auto& i, auto&) { i.files.clear(); }, rich, RoomEntry::AskInstall},
        {"no library named", [](auto& r, auto&, auto&) { r.parent.dllfile.clear(); }, rich, RoomEntry::AskInstall},
        {"outdated", [](auto&, auto& i, auto&) { i.version = QStringLiteral("1.3.64.64"); }, rich, RoomEntry::AskUpgrade},
        {"no version block", [](auto&, auto& i, auto&) { i.version.clear(); }, rich, RoomEntry::AskUpgrade},
        {"gold equal admits", [](auto&, auto&, auto&) {}, rich, RoomEntry::Enter},
        {"gold short", [](auto& r, auto&, auto&) { r.roomgold = 501; }, rich, RoomEntry::NotEnoughGold},
        {"199 admits", [](auto& r, auto&, auto&) { r.onlinecount = 199; }, rich, RoomEntry::Enter},
        {"200 full", [](auto& r, auto&, auto&) { r.onlinecount = 200; }, rich, RoomEntry::RoomFull},
        {"200 admits a VIP", [](auto& r, auto&, auto&) { r.onlinecount = 200; }, vip, RoomEntry::Enter},
        {"playing elsewhere", [](auto&, auto&, auto& c) { c = {true, true, 5}; }, rich, RoomEntry::AlreadyPlaying},
        {"same room", [](auto&, auto&, auto& c) { c = {true, false, 100}; }, rich, RoomEntry::SwitchToTab},
        {"other room", [](auto&, auto&, auto& c) { c = {true, false, 5}; }, rich, RoomEntry::Enter},
        {"path separator", [](auto& r, auto&, auto&) { r.parent.dllfile = QStringLiteral("../x.so"); }, rich, RoomEntry::BadGameFile},
        {"absolute path", [](auto& r, auto&, auto&) { r.parent.dllfile = QStringLiteral("/tmp/x.so"); }, rich, RoomEntry::BadGameFile},
        {"backslash", [](auto& r, auto&, auto&) { r.parent.dllfile = QStringLiteral("a\\x.so"); }, rich, RoomEntry::BadGameFile},
    };
    for (const auto& c : cases) {
        STRU_GAMEROOM room = landlordRoom();
        FakeInstalled probe = installed;
        RoomClientState client;
        c.setup(room, probe, client);
        EXPECT_EQ(CheckRoomEntry(room, c.player, QStringLiteral("/opt/v/"), probe, client), c.expected) << c.what;
    }
}

TEST(RoomEntry, MessagesAreTheHallsOwn) {
    EXPECT_EQ(RoomEntryText(RoomEntry::RoomFull), QStringLiteral("当前房间已满，只有VIP用户可以进入！"));
    EXPECT_EQ(RoomEntryText(RoomEntry::NotEnoughGold), QStringLiteral("您的游戏币不足，不能进入本房间！"));
    EXPECT_TRUE(RoomEntryText(RoomEntry::Enter).isEmpty());
}

TEST(RoomEntry, GamePageCarriesTheToken) {
    EXPECT_EQ(GamePageUrl(QStringLiteral("http://h/g.htm"), QStringLiteral("T1")), QStringLiteral("http://h/g.htm?token=T1"));
    EXPECT_EQ(GamePageUrl(QStringLiteral("http://h/g.php?id=3"), QStringLiteral("T1")), QStringLiteral("http://h/g.php?id=3&token=T1"));
}

TEST(RoomEntry, LastRoomIsOfferedForFewerThan600Minutes) {
    const QDateTime now(QDate(2026, 12, 11), QTime(12, 0));
    struct Case {
        qint64 secondsAgo;
        qint32 expected;
    } cases[] = {{0, 12}, {599 * 60, 12}, {599 * 60 + 59, 12}, {600 * 60, 0}, {-599 * 60, 12}, {-600 * 60, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LastRoomCandidate(LastRoom{12, now.addSecs(-c.secondsAgo)}, now), c.expected) << c.secondsAgo;
    EXPECT_EQ(LastRoomCandidate(LastRoom{12, QDateTime()}, now), 0);
    EXPECT_EQ(LastRoomCandidate(LastRoom{0, now}, now), 0);
}
