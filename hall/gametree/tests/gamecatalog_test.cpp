#include <gtest/gtest.h>

#include "hall/gametree/gamecatalog.h"
#include "hall/gametree/xmllist.h"
#include "listfixture.h"

using namespace velmora::hall;
using namespace velmora::hall::test;

namespace {

// The tree as text, one node a line, indented by depth: what the player sees.
void dump(const GameCatalog& c, NodeId id, int depth, QString& out) {
    const TreeNode& n = c.node(id);
    out += QString(depth * 2, QLatin1Char(' ')) + n.text + (n.expanded ? QStringLiteral(" +") : QString()) + QLatin1Char('\n');
    for (NodeId child : n.children) dump(c, child, depth + 1, out);
}
QString dump(const GameCatalog& c) {
    QString out;
    for (NodeId root : c.roots()) dump(c, root, 0, out);
    return out;
}

}  // namespace

TEST(XmlList, DecodesValuesAndRejectsBrokenDocuments) {
    const auto entries = ParseXmlList(list(element("game", {{"id", QStringLiteral("7")}, {"title", QStringLiteral("斗地主")}})) +
                                      QString());
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ(entries->at(0).integer(QStringLiteral("id")), 7);
    EXPECT_EQ(entries->at(0).value(QStringLiteral("title")), QStringLiteral("斗地主"));
    EXPECT_EQ(entries->at(0).integer(QStringLiteral("missing")), 0);
    EXPECT_FALSE(ParseXmlList(QString()).has_value());
    EXPECT_FALSE(ParseXmlList(QStringLiteral("not xml")).has_value());
    EXPECT_FALSE(ParseXmlList(QStringLiteral("<root><game><id>MQ==</id></game>")).has_value());
}

TEST(GameCatalog, BuildsCategoriesGamesRoomsAndTheRecentGroup) {
    GameCatalog c;
    ASSERT_TRUE(c.applyGameList(list(
        element("onlinecount", {}) .replace(QStringLiteral("<onlinecount></onlinecount>"),
                                           QStringLiteral("<onlinecount>") + Base64EncodeText(QStringLiteral("1234")) + QStringLiteral("</onlinecount>")) +
        category(1, QStringLiteral("棋牌游戏"), 0, 1, 1, 42) + category(2, QStringLiteral("休闲"), 1, 0) +
        game(10, QStringLiteral("斗地主"), 1, QStringLiteral("game"), 30) +
        game(11, QStringLiteral("商城"), 2, QStringLiteral("ieclient")) +
        game(12, QStringLiteral("孤儿"), 99) +  // unknown category: no node, load goes on
        usergame(10) + usergame(10) + usergame(12))));
    ASSERT_TRUE(c.applyRoomList(list(room(100, QStringLiteral("新手房"), 10, 5) + room(101, QStringLiteral("高手房"), 10, 7) +
                                     room(102, QStringLiteral("无主"), 99)), 101));
    EXPECT_EQ(dump(c), QStringLiteral("最近玩过的游戏 +\n"
                                      "  斗地主(30)\n"
                                      "    新手房(5)\n"
                                      "    高手房(7)\n"
                                      "  孤儿\n"
                                      "棋牌游戏(42) +\n"
                                      "  休闲\n"
                                      "    商城\n"
                                      "  斗地主(30)\n"
                                      "    新手房(5)\n"
                                      "    高手房(7)\n"));
    EXPECT_EQ(c.onlineCaption(), QStringLiteral("当前在线人数：1234"));
    EXPECT_EQ(c.userGames(), (std::vector<qint32>{10, 12}));
    EXPECT_EQ(c.lastRoom().id, 101);
    EXPECT_EQ(c.lastRoom().parent.dllfile, QStringLiteral("libquellmark.so"));
    const STRU_GAMEROOM* orphan = c.findRoom(102);
    ASSERT_NE(orphan, nullptr);
    EXPECT_EQ(orphan->obj, kNoNode);
    EXPECT_EQ(c.node(c.recentGroup()).icon, kRecentGroupIcon);
}

TEST(GameCatalog, RepeatedIdsUpdateEntriesInPlace) {
    GameCatalog c;
    ASSERT_TRUE(c.applyGameList(list(category(1, QStringLiteral("A"), 0) + game(10, QStringLiteral("G"), 1, QStringLiteral("game"), 1) +
                                     category(1, QStringLiteral("A2"), 0, 1, 1, 9) + game(10, QStringLiteral("G2"), 1, QStringLiteral("game"), 2))));
    ASSERT_TRUE(c.applyRoomList(list(room(100, QStringLiteral("R"), 10, 1) + room(100, QStringLiteral("R2"), 10, 3))));
    EXPECT_EQ(c.categories().size(), 1u);
    EXPECT_EQ(c.games().size(), 1u);
    EXPECT_EQ(c.rooms().size(), 1u);
    EXPECT_EQ(dump(c), QStringLiteral("A2(9) +\n  G2(2)\n    R2(3)\n"));
}

TEST(GameCatalog, SubcategoryBeforeItsParentGetsNoNode) {
    GameCatalog c;
    ASSERT_TRUE(c.applyGameList(list(category(2, QStringLiteral("子"), 1) + category(1, QStringLiteral("父"), 0) +
                                     category(3, QStringLiteral("自己"), 3) + game(10, QStringLiteral("G"), 2))));
    EXPECT_EQ(dump(c), QStringLiteral("父 +\n"));
    EXPECT_EQ(c.categories().size(), 3u);
}

TEST(GameCatalog, BadRepliesChangeNothing) {
    GameCatalog c;
    int changes = 0;
    c.onChanged = [&] { ++changes; };
    EXPECT_FALSE(c.applyGameList(QString()));
    EXPECT_FALSE(c.applyGameList(QStringLiteral("<root><frm>")));
    EXPECT_FALSE(c.applyRoomList(QStringLiteral("Error")));
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(c.roots().empty());
}

TEST(GameCatalog, HintsComeFromTheOwningRecord) {
    GameCatalog c;
    ASSERT_TRUE(c.applyGameList(list(category(1, QStringLiteral("C"), 0) + game(10, QStringLiteral("G"), 1) + usergame(10))));
    ASSERT_TRUE(c.applyRoomList(list(room(100, QStringLiteral("R"), 10))));
    const STRU_GAMES& g = c.games().front();
    EXPECT_EQ(c.hintFor(c.categories().front().obj), QStringLiteral("C help"));
    EXPECT_EQ(c.hintFor(g.obj), QStringLiteral("G help"));
    EXPECT_EQ(c.hintFor(g.myobj), QString());  // recently played node
    EXPECT_EQ(c.hintFor(c.recentGroup()), QString());
    EXPECT_EQ(c.hintFor(kNoNode), QString());
}

TEST(GameCatalog, OnlineRefreshUpdatesBothRoomNodes) {
    GameCatalog c;
    ASSERT_TRUE(c.applyGameList(list(category(1, QStringLiteral("C"), 0) + game(10, QStringLiteral("G"), 1) + usergame(10))));
    ASSERT_TRUE(c.applyRoomList(list(room(100, QStringLiteral("R"), 10, 1))));
    c.setRoomOnline(100, 77);
    const STRU_GAMEROOM* r = c.findRoom(100);
    EXPECT_EQ(c.node(r->obj).text, QStringLiteral("R(77)"));
    EXPECT_EQ(c.node(r->myobj).text, QStringLiteral("R(77)"));
}
