// The game tree's load sequence against fake web replies, the last-room candidate read from the
// player's settings, and the online counts on the nodes.
#include "hall/shell/core/gametreeload.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "hall/foundation/localsettings.h"
#include "hall/gametree/tests/listfixture.h"

using namespace velmora::hall;
namespace t = velmora::hall::test;

namespace {

const QString kGameUrl = QStringLiteral("http://web/game/gamelist.php");
const QString kRoomUrl = QStringLiteral("http://web/game/roomlist.php");

QString demoGames() {
    return t::list(QStringLiteral("<onlinecount>MTI=</onlinecount>") +  // "12"
                   t::category(1, QStringLiteral("棋牌游戏"), 0, 1, 1, 9) +
                   t::game(1, QStringLiteral("斗地主"), 1, QStringLiteral("game"), 6) +
                   t::usergame(1));
}

QString demoRooms() {
    return t::list(t::room(101, QStringLiteral("新手房"), 1, 2) +
                   t::room(103, QStringLiteral("中级房"), 1, 3) +
                   t::room(105, QStringLiteral("抢地主房"), 1, 1));
}

// Answers each address with a fixed reply and records what was asked.
struct FakeWeb {
    QHash<QString, QString> replies;
    QStringList asked;  // url + " " + form
    TreePost post() {
        return [this](const QString& url, const QString& form) {
            asked << url + QLatin1Char(' ') + form;
            return replies.value(url);
        };
    }
};

class GameTreeLoad : public ::testing::Test {
protected:
    GameTreeSource source() const {
        GameTreeSource s;
        s.gamexmlurl = kGameUrl;
        s.roomxmlurl = kRoomUrl;
        s.token = QStringLiteral("tok-1");
        s.settingPath = dir.path() + QStringLiteral("/Morvane/10001/setting.ini");
        s.now = QDateTime(QDate(2026, 5, 1), QTime(12, 0));
        return s;
    }
    QTemporaryDir dir;
    GameCatalog catalog;
    FakeWeb web;
};

}  // namespace

TEST_F(GameTreeLoad, AsksForTheGameListThenTheRoomListWithTheFormsOfTheService) {
    web.replies = {{kGameUrl, demoGames()}, {kRoomUrl, demoRooms()}};
    EXPECT_EQ(LoadGameTree(catalog, source(), web.post()), TreeLoad::Loaded);
    EXPECT_EQ(web.asked, (QStringList{kGameUrl + QStringLiteral(" token=tok-1&demo=1"),
                                      kRoomUrl + QStringLiteral(" rooms=&demo=1")}));
    ASSERT_EQ(catalog.rooms().size(), 3u);
    EXPECT_EQ(catalog.rooms()[0].parent.title, QStringLiteral("斗地主"));
    EXPECT_EQ(catalog.onlineCaption(), QStringLiteral("当前在线人数：12"));
    EXPECT_EQ(catalog.lastRoom().id, 0);
}

TEST_F(GameTreeLoad, AMissingOrBadListEndsTheLoadQuietly) {
    struct Case {
        const char* what;
        QString games;
        QString rooms;
        bool gameUrlKnown;
        TreeLoad expected;
        int requests;
        size_t categories;
    };
    const Case cases[] = {
        {"empty game list", QString(), demoRooms(), true, TreeLoad::NoGameList, 1, 0},
        {"game list not XML", QStringLiteral("<html><body>500"), demoRooms(), true,
         TreeLoad::NoGameList, 1, 0},
        {"no game list address", demoGames(), demoRooms(), false, TreeLoad::NoGameList, 0, 0},
        {"empty room list", demoGames(), QString(), true, TreeLoad::NoRoomList, 2, 1},
        {"room list not XML", demoGames(), QStringLiteral("Error"), true, TreeLoad::NoRoomList, 2,
         1},
    };
    for (const Case& c : cases) {
        GameCatalog fresh;
        FakeWeb fake;
        fake.replies = {{kGameUrl, c.games}, {kRoomUrl, c.rooms}};
        GameTreeSource s = source();
        if (!c.gameUrlKnown) s.gamexmlurl.clear();
        EXPECT_EQ(LoadGameTree(fresh, s, fake.post()), c.expected) << c.what;
        EXPECT_EQ(fake.asked.size(), c.requests) << c.what;
        EXPECT_EQ(fresh.categories().size(), c.categories) << c.what;
        EXPECT_TRUE(fresh.rooms().empty()) << c.what;
    }
}

TEST_F(GameTreeLoad, EntriesWithUnknownParentsAreSkippedAndTheRestLoads) {
    web.replies = {
        {kGameUrl,
         t::list(t::category(7, QStringLiteral("孤儿"), 99) +
                 t::category(1, QStringLiteral("棋牌游戏"), 0) +
                 t::game(5, QStringLiteral("无类"), 42) + t::game(1, QStringLiteral("斗地主"), 1))},
        {kRoomUrl, t::list(t::room(900, QStringLiteral("无游戏"), 77) +
                           t::room(101, QStringLiteral("新手房"), 1))},
    };
    EXPECT_EQ(LoadGameTree(catalog, source(), web.post()), TreeLoad::Loaded);
    ASSERT_EQ(catalog.roots().size(), 1u);
    const TreeNode& top = catalog.node(catalog.roots()[0]);
    EXPECT_EQ(top.text, QStringLiteral("棋牌游戏"));
    ASSERT_EQ(top.children.size(), 1u);
    const TreeNode& game = catalog.node(top.children[0]);
    ASSERT_EQ(game.children.size(), 1u);
    EXPECT_EQ(catalog.node(game.children[0]).text, QStringLiteral("新手房(0)"));
    EXPECT_EQ(catalog.findRoom(900)->obj, kNoNode);
}

TEST_F(GameTreeLoad, TheLastRoomIsOfferedWithinSixHundredMinutesEitherWay) {
    struct Case {
        qint64 roomId;
        qint64 minutesAgo;  // negative: a time ahead of the clock
        qint32 offered;
    };
    const Case cases[] = {
        {103, 599, 103}, {103, 600, 0}, {103, -599, 103}, {103, -600, 0},
        {103, 0, 103},   {999, 5, 0},   {0, 5, 0},
    };
    for (const Case& c : cases) {
        const GameTreeSource s = source();
        ASSERT_TRUE(WriteLastRoom(s.settingPath, c.roomId, s.now.addSecs(-c.minutesAgo * 60)));
        GameCatalog fresh;
        web.replies = {{kGameUrl, demoGames()}, {kRoomUrl, demoRooms()}};
        ASSERT_EQ(LoadGameTree(fresh, s, web.post()), TreeLoad::Loaded);
        const STRU_GAMEROOM* offer = LastRoomToOffer(fresh);
        EXPECT_EQ(offer ? offer->id : 0, c.offered) << c.roomId << " " << c.minutesAgo;
        if (offer) {
            EXPECT_EQ(offer->parent.dllfile, QStringLiteral("libquellmark.so"));
        }
    }
}

TEST_F(GameTreeLoad, ALastRoomWhoseGameIsUnknownIsNotOffered) {
    const GameTreeSource s = source();
    ASSERT_TRUE(WriteLastRoom(s.settingPath, 900, s.now));
    web.replies = {{kGameUrl, demoGames()},
                   {kRoomUrl, t::list(t::room(900, QStringLiteral("无游戏"), 77) +
                                      t::room(101, QStringLiteral("新手房"), 1))}};
    ASSERT_EQ(LoadGameTree(catalog, s, web.post()), TreeLoad::Loaded);
    EXPECT_EQ(catalog.lastRoom().id, 900);
    EXPECT_EQ(LastRoomToOffer(catalog), nullptr);
}

TEST_F(GameTreeLoad, NoSettingsFileMeansNoLastRoomAndDecliningWritesZero) {
    web.replies = {{kGameUrl, demoGames()}, {kRoomUrl, demoRooms()}};
    ASSERT_EQ(LoadGameTree(catalog, source(), web.post()), TreeLoad::Loaded);
    EXPECT_EQ(catalog.lastRoom().id, 0);

    const GameTreeSource s = source();
    ASSERT_TRUE(WriteLastRoom(s.settingPath, 105, s.now));
    ASSERT_TRUE(DeclineLastRoom(s.settingPath));
    const LastRoom after = ReadLastRoom(s.settingPath);
    EXPECT_EQ(after.roomId, 0);
    EXPECT_EQ(after.time, s.now);  // only the id is cleared
}

class OnlineCountsOnTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalog.applyGameList(t::list(
            t::category(1, QStringLiteral("棋牌游戏"), 0, 1, 1) +
            t::category(2, QStringLiteral("休闲"), 0, 1, 0) +
            t::game(1, QStringLiteral("斗地主"), 1) +
            t::game(2, QStringLiteral("商城"), 2, QStringLiteral("iedialog")) + t::usergame(1))));
        ASSERT_TRUE(catalog.applyRoomList(t::list(t::room(101, QStringLiteral("新手房"), 1, 4) +
                                                  t::room(103, QStringLiteral("中级房"), 1, 8))));
        catalog.onChanged = [this] { ++changes; };
    }
    QString textOf(NodeId node) const { return catalog.node(node).text; }

    GameCatalog catalog;
    int changes = 0;
};

TEST_F(OnlineCountsOnTree, CountsGoOnCountedCategoriesGamesOfTypeGameAndEveryRoom) {
    const OnlineCounts counts = ParseOnlineCounts(
        QStringLiteral("all=30\nfrm1=21\nfrm2=5\ngame1=20\ngame2=3\nroom101=12\nroom103=x"));
    ApplyOnlineCountsTo(catalog, counts);
    const STRU_GAMES& landlord = catalog.games()[0];
    EXPECT_EQ(textOf(catalog.categories()[0].obj), QStringLiteral("棋牌游戏(21)"));
    EXPECT_EQ(textOf(catalog.categories()[1].obj), QStringLiteral("休闲"));  // showonline 0
    EXPECT_EQ(textOf(landlord.obj), QStringLiteral("斗地主(20)"));
    EXPECT_EQ(textOf(landlord.myobj), QStringLiteral("斗地主(20)"));
    EXPECT_EQ(textOf(catalog.games()[1].obj), QStringLiteral("商城"));  // not a "game"
    const STRU_GAMEROOM* newbie = catalog.findRoom(101);
    EXPECT_EQ(newbie->onlinecount, 12);
    EXPECT_EQ(textOf(newbie->obj), QStringLiteral("新手房(12)"));
    EXPECT_EQ(textOf(newbie->myobj), QStringLiteral("新手房(12)"));
    EXPECT_EQ(catalog.findRoom(103)->onlinecount, 0);  // not a number
    EXPECT_EQ(textOf(catalog.findRoom(103)->obj), QStringLiteral("中级房(0)"));
    EXPECT_EQ(changes, 1);
}

TEST_F(OnlineCountsOnTree, AFailedReplyOrAnOutOfRangeCountDoesNotWreckTheCounts) {
    ApplyOnlineCountsTo(catalog, ParseOnlineCounts(QString()));
    EXPECT_EQ(textOf(catalog.games()[0].obj), QStringLiteral("斗地主(0)"));
    EXPECT_EQ(catalog.findRoom(101)->onlinecount, 4);
    EXPECT_EQ(changes, 0);

    ApplyOnlineCountsTo(catalog,
                        ParseOnlineCounts(QStringLiteral("room101=99999999999 game1=-99999999999")));
    EXPECT_EQ(catalog.findRoom(101)->onlinecount, 2147483647);
    EXPECT_EQ(textOf(catalog.games()[0].obj), QStringLiteral("斗地主(-2147483648)"));
}
