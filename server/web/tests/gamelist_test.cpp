// The game and room lists, read by the hall's own list code; online counts; what the store
// refuses so that the lists stay whole.
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/foundation/web/session.h"
#include "hall/gametree/gamecatalog.h"
#include "hall/gametree/roomentry.h"
#include "server/web/tests/webfixture.h"

#include <QDateTime>

namespace velmora::server {
namespace {

using hall::GameCatalog;

class GameListTest : public WebServiceTest {
protected:
    QString loggedIn(const char* name) {
        const QString token = newToken();
        const auto errid = xmlFields(call("POST", QStringLiteral("/user/login.php"),
                                          loginForm(QString::fromLatin1(name), QStringLiteral("velmora"),
                                                    token, "username")).body)["errid"];
        EXPECT_EQ(errid, QStringLiteral("200"));
        return token;
    }
    GameCatalog catalog(const QString& token) {
        GameCatalog c;
        EXPECT_TRUE(c.applyGameList(QString::fromUtf8(
            call("POST", QStringLiteral("/game/gamelist.php"), "token=" + token.toLatin1() + "&demo=1").body)));
        EXPECT_TRUE(c.applyRoomList(QString::fromUtf8(
            call("POST", QStringLiteral("/game/roomlist.php"), "rooms=&demo=1").body)));
        return c;
    }
    std::vector<QString> childTexts(const GameCatalog& c, hall::NodeId id) {
        std::vector<QString> texts;
        for (hall::NodeId child : c.node(id).children)
            texts.push_back(c.node(child).text);
        return texts;
    }
};

// The whole path of the hall: bootstrap, login, then both lists from the addresses the
// session reply names, over HTTP, into the hall's catalog.
TEST_F(GameListTest, TheHallBuildsTheDemoTreeFromTheServedLists) {
    ASSERT_TRUE(bootstrapHall());
    const hall::HallContext& context = hall::HallContext::instance();
    ASSERT_TRUE(hall::HttpRequest(context.url(QStringLiteral("loginurl")), QStringLiteral("POST"),
                                  QString::fromLatin1(loginForm(QStringLiteral("alice"), QStringLiteral("velmora"),
                                                                context.Token, "username")))
                    .contains(QStringLiteral("<errid>200</errid>")));
    m_service->games().setRoomOnline(101, 7);

    GameCatalog c;
    ASSERT_TRUE(c.applyGameList(hall::HttpRequest(context.url(QStringLiteral("gamexmlurl")), QStringLiteral("POST"),
                                                  QStringLiteral("token=") + context.Token + QStringLiteral("&demo=1"))));
    ASSERT_TRUE(c.applyRoomList(hall::HttpRequest(context.url(QStringLiteral("roomxmlurl")), QStringLiteral("POST"),
                                                  QStringLiteral("rooms=&demo=1"))));

    EXPECT_EQ(c.onlineCaption(), QStringLiteral("当前在线人数：1"));
    ASSERT_EQ(c.categories().size(), 1u);
    EXPECT_EQ(c.categories()[0].title, QStringLiteral("棋牌游戏"));
    ASSERT_EQ(c.games().size(), 1u);
    const hall::STRU_GAMES& game = c.games()[0];
    EXPECT_EQ(game.title, QStringLiteral("斗地主"));
    EXPECT_EQ(game.gametype, QStringLiteral("game"));
    EXPECT_EQ(game.dllfile, QStringLiteral("libquellmark.so"));
    EXPECT_EQ(game.GUID, QStringLiteral("{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}"));
    EXPECT_EQ(game.version, QStringLiteral("1.3.64.65"));
    EXPECT_EQ(game.onlinecount, 7);
    EXPECT_FALSE(hall::GameLibraryPath(QStringLiteral("/opt/v/"), game.dllfile).isEmpty());
    // The help page the game node opens is served.
    const QString page = hall::HttpRequest(hall::GamePageUrl(game.helpurl, context.Token), QStringLiteral("GET"));
    EXPECT_TRUE(page.contains(QStringLiteral("<h1>斗地主</h1>"))) << game.helpurl.toStdString();

    // Tree: recently played group first, then the category with its game and three rooms.
    ASSERT_EQ(c.roots().size(), 2u);
    EXPECT_EQ(c.roots()[0], c.recentGroup());
    EXPECT_EQ(c.userGames(), std::vector<qint32>{1});
    const hall::NodeId categoryNode = c.categories()[0].obj;
    EXPECT_EQ(c.node(categoryNode).text, QStringLiteral("棋牌游戏(7)"));
    EXPECT_EQ(childTexts(c, categoryNode), std::vector<QString>{QStringLiteral("斗地主(7)")});
    const std::vector<QString> rooms = {QStringLiteral("新手房(7)"), QStringLiteral("中级房(0)"),
                                        QStringLiteral("抢地主房(0)")};
    EXPECT_EQ(childTexts(c, game.obj), rooms);
    EXPECT_EQ(childTexts(c, game.myobj), rooms);

    ASSERT_EQ(c.rooms().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        const hall::STRU_GAMEROOM& room = c.rooms()[size_t(i)];
        EXPECT_EQ(room.serverip, QStringLiteral("127.0.0.1"));
        EXPECT_EQ(room.serverport, 18101 + i);
        EXPECT_EQ(room.seatnum, 3);
        EXPECT_EQ(room.parent.GUID, game.GUID);
        EXPECT_EQ(room.videoport, 18200);
        EXPECT_TRUE(room.showdesk && room.enabledchat && room.enabledlook);
        EXPECT_EQ(room.rules.contains(QStringLiteral("抢地主=1")), room.id == GameStore::kGrabRoom)
            << room.rules.toStdString();
        EXPECT_FALSE(room.welcome.isEmpty());
    }
    EXPECT_EQ(c.rooms()[1].roomgold, 500);
}

TEST_F(GameListTest, OnlineCountsAddUpFromRoomsToCategories) {
    GameStore& games = m_service->games();
    CategoryRecord sub;
    sub.id = 2;
    sub.pid = GameStore::kDemoCategory;
    sub.title = QStringLiteral("休闲游戏");
    ASSERT_TRUE(games.putCategory(sub));
    GameRecord other;
    other.id = 2;
    other.fid = 2;
    other.title = QStringLiteral("另一个");
    other.dllfile = QStringLiteral("libother.so");
    ASSERT_TRUE(games.putGame(other));
    RoomRecord room;
    room.id = 201;
    room.gid = 2;
    room.title = QStringLiteral("房间");
    room.serverport = 18101;
    ASSERT_TRUE(games.putRoom(room));
    ASSERT_TRUE(games.setRoomOnline(101, 7));
    ASSERT_TRUE(games.setRoomOnline(105, 5));
    ASSERT_TRUE(games.setRoomOnline(201, 2));
    EXPECT_FALSE(games.setRoomOnline(103, -1));
    ASSERT_TRUE(games.setRoomOnline(999, 40));  // no such room: never counted

    const QByteArray body = call("GET", QStringLiteral("/info/online.php"), {}, "token=" + newToken().toLatin1()).body;
    QHash<QString, QString> entries;
    for (const QByteArray& line : body.split('\n')) {
        const QList<QByteArray> parts = line.trimmed().split('=');
        if (parts.size() == 2)
            entries.insert(QString::fromLatin1(parts[0]), QString::fromLatin1(parts[1]));
    }
    const QHash<QString, QString> expected = {
        {"all", "0"},     {"frm1", "14"},   {"frm2", "2"},    {"game1", "12"},
        {"game2", "2"},   {"room101", "7"}, {"room103", "0"}, {"room105", "5"}, {"room201", "2"}};
    EXPECT_EQ(entries, expected) << body.toStdString();

    const GameCatalog c = catalog(newToken());
    ASSERT_EQ(c.categories().size(), 2u);
    EXPECT_EQ(c.categories()[0].onlinecount, 14);
    EXPECT_EQ(c.games()[0].onlinecount, 12);
    EXPECT_EQ(c.findRoom(105)->onlinecount, 5);
    EXPECT_EQ(c.findRoom(201)->parent.title, QStringLiteral("另一个"));
}

// A sub-category sorted before its parent is still listed after it: the hall gives a category
// whose parent it has not read yet no node.
TEST_F(GameListTest, ParentsAreListedBeforeTheirChildren) {
    GameStore& games = m_service->games();
    CategoryRecord parent;
    parent.id = 7;
    parent.sort = 9;
    parent.title = QStringLiteral("父");
    ASSERT_TRUE(games.putCategory(parent));
    CategoryRecord child;
    child.id = 3;
    child.pid = 7;
    child.sort = 0;
    child.title = QStringLiteral("子");
    ASSERT_TRUE(games.putCategory(child));
    const GameCatalog c = catalog(QString());
    ASSERT_EQ(c.categories().size(), 3u);
    const auto& cats = c.categories();
    const auto find = [&](qint32 id) { return *std::find_if(cats.begin(), cats.end(), [&](auto& x) { return x.id == id; }); };
    ASSERT_NE(find(3).obj, hall::kNoNode);
    EXPECT_EQ(c.node(find(3).obj).parent, find(7).obj);
}

TEST_F(GameListTest, TheStoreRefusesEntriesThatWouldBreakTheTree) {
    GameStore& games = m_service->games();
    auto game = [](qint32 id, qint32 fid, const QString& dll) {
        GameRecord g;
        g.id = id;
        g.fid = fid;
        g.title = QStringLiteral("g");
        g.dllfile = dll;
        return g;
    };
    struct Case {
        const char* name;
        GameRecord record;
    };
    const Case refusedGames[] = {
        {"parent folder", game(5, 1, QStringLiteral("../libevil.so"))},
        {"sub folder", game(5, 1, QStringLiteral("games/libx.so"))},
        {"backslash", game(5, 1, QStringLiteral("sub\\libx.so"))},
        {"absolute", game(5, 1, QStringLiteral("/tmp/libx.so"))},
        {"dot dot only", game(5, 1, QStringLiteral(".."))},
        {"control character", game(5, 1, QStringLiteral("lib\nx.so"))},
        {"no library for a game", game(5, 1, QString())},
        {"unknown category", game(5, 42, QStringLiteral("libx.so"))},
    };
    for (const Case& c : refusedGames)
        EXPECT_FALSE(games.putGame(c.record)) << c.name;
    EXPECT_TRUE(games.putGame(game(5, 1, QStringLiteral("libx.so"))));

    RoomRecord room;
    room.id = 300;
    room.gid = 42;
    room.title = QStringLiteral("r");
    room.serverport = 18101;
    EXPECT_FALSE(games.putRoom(room)) << "unknown game";
    room.gid = 5;
    room.serverport = 70000;
    EXPECT_FALSE(games.putRoom(room)) << "port";
    room.serverport = 18101;
    room.templates = QStringLiteral("../../x.htm");
    EXPECT_FALSE(games.putRoom(room)) << "template path";

    CategoryRecord orphan;
    orphan.id = 9;
    orphan.pid = 8;
    orphan.title = QStringLiteral("o");
    EXPECT_FALSE(games.putCategory(orphan)) << "unknown parent";
    CategoryRecord child;
    child.id = 2;
    child.pid = 1;
    child.title = QStringLiteral("c");
    ASSERT_TRUE(games.putCategory(child));
    CategoryRecord loop;
    loop.id = 1;
    loop.pid = 2;
    loop.title = QStringLiteral("棋牌游戏");
    EXPECT_FALSE(games.putCategory(loop)) << "loop";
    loop.pid = 1;
    EXPECT_FALSE(games.putCategory(loop)) << "own parent";

    const GameCatalog c = catalog(QString());
    EXPECT_EQ(c.games().size(), 2u);
    EXPECT_EQ(c.rooms().size(), 3u);
    for (const auto& g : c.games())
        EXPECT_FALSE(hall::GameLibraryPath(QStringLiteral("/a/"), g.dllfile).isEmpty());
}

TEST_F(GameListTest, RecentlyPlayedGamesBelongToTheLoggedInPlayer) {
    auto userGames = [this](const QString& token) {
        GameCatalog c;
        c.applyGameList(QString::fromUtf8(
            call("POST", QStringLiteral("/game/gamelist.php"), "token=" + token.toLatin1() + "&demo=1").body));
        return c.userGames();
    };
    EXPECT_TRUE(userGames(QString()).empty());
    EXPECT_TRUE(userGames(newToken()).empty()) << "a session without login";
    EXPECT_EQ(userGames(loggedIn("bob")), std::vector<qint32>{1});
    EXPECT_FALSE(m_service->games().recordPlayed(10002, 77));
    EXPECT_FALSE(m_service->games().recordPlayed(0, 1));
}

TEST_F(GameListTest, HelpPages) {
    const WebReply page = call("GET", QStringLiteral("/game/help.php"), {}, "id=1&token=abc");
    EXPECT_EQ(page.status, 200);
    EXPECT_TRUE(page.mime.startsWith("text/html"));
    EXPECT_TRUE(QString::fromUtf8(page.body).contains(QStringLiteral("抢地主")));
    EXPECT_EQ(call("GET", QStringLiteral("/game/help.php"), {}, "id=99").status, 404);
    EXPECT_EQ(call("GET", QStringLiteral("/game/help.php"), {}, "id=x").status, 404);
}

}  // namespace
}  // namespace velmora::server
