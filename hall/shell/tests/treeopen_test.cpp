// What a double-click on the game tree does: games by their type, rooms by the entry checks,
// and the installed games as the hall reads them from disk.
#include "hall/shell/core/treeopen.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <map>

#include "hall/gametree/tests/listfixture.h"

using namespace velmora::hall;
namespace t = velmora::hall::test;

namespace {

const QString kApp = QStringLiteral("/opt/velmora/");
const QString kLibrary = kApp + QStringLiteral("games/libquellmark.so");

class FakeInstalled : public InstalledGames {
public:
    std::map<QString, QString> files;  // path -> FileVersion
    bool exists(const QString& path) const override { return files.count(path) > 0; }
    QString fileVersion(const QString& path) const override {
        const auto it = files.find(path);
        return it == files.end() ? QString() : it->second;
    }
};

QString gameWith(int id, const QString& title, const QString& type, const QString& helpurl,
                 int width = 400, int height = 300,
                 const QString& dllfile = QStringLiteral("libquellmark.so")) {
    return t::element("game", {{"id", QString::number(id)},
                               {"title", title},
                               {"fid", QStringLiteral("1")},
                               {"icon", QStringLiteral("2")},
                               {"gametype", type},
                               {"helpurl", helpurl},
                               {"onlinecount", QStringLiteral("0")},
                               {"width", QString::number(width)},
                               {"height", QString::number(height)},
                               {"dllfile", dllfile},
                               {"version", QStringLiteral("1.3.64.65")}});
}

class TreeOpen : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(catalog.applyGameList(t::list(
            t::category(1, QStringLiteral("棋牌游戏"), 0) +
            gameWith(1, QStringLiteral("斗地主"), QStringLiteral("game"),
                     QStringLiteral("http://w/help.php?id=1")) +
            gameWith(2, QStringLiteral("商城"), QStringLiteral("iedialog"),
                     QStringLiteral("http://w/shop.php"), 520, 0) +
            gameWith(3, QStringLiteral("论坛"), QStringLiteral("ieclient"),
                     QStringLiteral("http://w/bbs.php?a=b")) +
            gameWith(4, QStringLiteral("怪游戏"), QStringLiteral("flash"),
                     QStringLiteral("http://w/x")) +
            gameWith(5, QStringLiteral("坏游戏"), QStringLiteral("game"),
                     QStringLiteral("http://w/y"), 1, 1, QStringLiteral("../../lib/libc.so.6")) +
            t::usergame(1) + t::usergame(2))));
        ASSERT_TRUE(
            catalog.applyRoomList(t::list(t::room(101, QStringLiteral("新手房"), 1, 199) +
                                          t::room(103, QStringLiteral("中级房"), 1, 200, 500) +
                                          t::room(107, QStringLiteral("坏房"), 5))));
        installed.files[kLibrary] = QStringLiteral("1.3.64.65");
        context.token = QStringLiteral("tok");
        context.appPath = kApp;
        context.installed = &installed;
        context.player.Gold = 500;
    }
    const STRU_GAMES& game(int index) const { return catalog.games()[static_cast<size_t>(index)]; }

    GameCatalog catalog;
    FakeInstalled installed;
    OpenContext context;
};

}  // namespace

TEST_F(TreeOpen, GamesOpenTheirPageByType) {
    struct Case {
        NodeId node;
        NodeOpen action;
        QString url;
        int width, height;
    };
    const Case cases[] = {
        {game(1).obj, NodeOpen::GameDialog, QStringLiteral("http://w/shop.php?token=tok"), 520,
         300},
        {game(1).myobj, NodeOpen::GameDialog, QStringLiteral("http://w/shop.php?token=tok"), 520,
         300},
        {game(2).obj, NodeOpen::GameTab, QStringLiteral("http://w/bbs.php?a=b&token=tok"), 0, 0},
        {game(0).obj, NodeOpen::GameHomePage, QStringLiteral("http://w/help.php?id=1"), 0, 0},
        {game(0).myobj, NodeOpen::GameHomePage, QStringLiteral("http://w/help.php?id=1"), 0, 0},
        {game(3).obj, NodeOpen::Nothing, QString(), 0, 0},
        {catalog.categories()[0].obj, NodeOpen::Nothing, QString(), 0, 0},
        {catalog.recentGroup(), NodeOpen::Nothing, QString(), 0, 0},
        {kNoNode, NodeOpen::Nothing, QString(), 0, 0},
        {100000, NodeOpen::Nothing, QString(), 0, 0},
    };
    for (const Case& c : cases) {
        const NodeOpening o = OpenNode(catalog, c.node, context);
        EXPECT_EQ(o.action, c.action) << c.node;
        if (c.action == NodeOpen::Nothing) continue;
        EXPECT_EQ(o.url, c.url) << c.node;
        EXPECT_EQ(o.caption, catalog.gameOfNode(c.node)->title);
        EXPECT_EQ(o.width, c.width) << c.node;
        EXPECT_EQ(o.height, c.height) << c.node;
    }
}

TEST_F(TreeOpen, TheHomePageIsNotReloadedWithTheGamePageItAlreadyShows) {
    context.homePageUrl = QStringLiteral("http://w/help.php?id=1");
    EXPECT_EQ(OpenNode(catalog, game(0).obj, context).action, NodeOpen::Nothing);
    context.homePageUrl = QStringLiteral("http://w/help.php?id=1&token=tok");
    EXPECT_EQ(OpenNode(catalog, game(0).obj, context).action, NodeOpen::GameHomePage);
}

TEST_F(TreeOpen, RoomsGoThroughTheEntryChecksWithACopyOfTheRoom) {
    const STRU_GAMEROOM* newbie = catalog.findRoom(101);
    const STRU_GAMEROOM* middle = catalog.findRoom(103);
    STRU_USERINFO vip = context.player;
    vip.VIPLevel = 1;
    STRU_USERINFO poor = context.player;
    poor.Gold = 499;
    struct Case {
        const char* what;
        NodeId node;
        STRU_USERINFO player;
        QString installedVersion;  // "-": not installed
        RoomClientState client;
        RoomEntry verdict;
    };
    const Case cases[] = {
        {"enter", newbie->obj, context.player, QStringLiteral("1.3.64.65"), {}, RoomEntry::Enter},
        {"enter from recent",
         newbie->myobj,
         context.player,
         QStringLiteral("1.3.64.65"),
         {true, false, 0},
         RoomEntry::Enter},
        {"not installed",
         newbie->obj,
         context.player,
         QStringLiteral("-"),
         {},
         RoomEntry::AskInstall},
        {"old version",
         newbie->obj,
         context.player,
         QStringLiteral("1.3.64.60"),
         {},
         RoomEntry::AskUpgrade},
        {"no identity block", newbie->obj, context.player, QString(), {}, RoomEntry::AskUpgrade},
        {"too few coins",
         middle->obj,
         poor,
         QStringLiteral("1.3.64.65"),
         {},
         RoomEntry::NotEnoughGold},
        {"full room",
         middle->obj,
         context.player,
         QStringLiteral("1.3.64.65"),
         {},
         RoomEntry::RoomFull},
        {"full room, VIP", middle->obj, vip, QStringLiteral("1.3.64.65"), {}, RoomEntry::Enter},
        {"playing elsewhere",
         newbie->obj,
         context.player,
         QStringLiteral("1.3.64.65"),
         {true, true, 103},
         RoomEntry::AlreadyPlaying},
        {"already there",
         newbie->obj,
         context.player,
         QStringLiteral("1.3.64.65"),
         {true, false, 101},
         RoomEntry::SwitchToTab},
        {"library outside games",
         catalog.findRoom(107)->obj,
         context.player,
         QStringLiteral("1.3.64.65"),
         {},
         RoomEntry::BadGameFile},
    };
    for (const Case& c : cases) {
        FakeInstalled files;
        if (c.installedVersion != QLatin1String("-")) files.files[kLibrary] = c.installedVersion;
        OpenContext ctx = context;
        ctx.player = c.player;
        ctx.client = c.client;
        ctx.installed = &files;
        const NodeOpening o = OpenNode(catalog, c.node, ctx);
        EXPECT_EQ(o.action, NodeOpen::Room) << c.what;
        EXPECT_EQ(o.verdict, c.verdict) << c.what;
        EXPECT_EQ(o.room.id, catalog.roomOfNode(c.node)->id) << c.what;
    }
    const NodeOpening enter = OpenNode(catalog, newbie->obj, context);
    EXPECT_EQ(enter.caption, QStringLiteral("斗地主 - 新手房"));
    EXPECT_EQ(enter.room.parent.dllfile, QStringLiteral("libquellmark.so"));
    EXPECT_EQ(enter.room.serverport, 18101);
}

TEST_F(TreeOpen, ADialogSizeOutsideTheUsableRangeTakesTheDefault) {
    for (const auto& [side, expected] :
         std::map<int, int>{{0, 400}, {-5, 400}, {1, 1}, {4096, 4096}, {4097, 400}})
        EXPECT_EQ(GameDialogSide(side, 400), expected) << side;
}

TEST_F(TreeOpen, ADoubleClickThatExpandsANodeOpensNothing) {
    EXPECT_FALSE(DoubleClickOpens(true, false));
    EXPECT_TRUE(DoubleClickOpens(true, true));
    EXPECT_TRUE(DoubleClickOpens(false, false));
}

TEST(InstalledGameFiles, ReadsTheVersionOfTheBuiltPlugInAndNothingFromOtherFiles) {
    const QString bin = qEnvironmentVariable("VELMORA_BIN_DIR");
    if (bin.isEmpty()) GTEST_SKIP() << "VELMORA_BIN_DIR is not set (run through ctest)";
    InstalledGameFiles files;
    const QString plugin = bin + QStringLiteral("/games/libquellmark.so");
    ASSERT_TRUE(files.exists(plugin));
    EXPECT_EQ(files.fileVersion(plugin), QStringLiteral("1.3.64.65"));

    QTemporaryDir dir;
    QFile text(dir.path() + QStringLiteral("/games/fake.so"));
    QDir().mkpath(dir.path() + QStringLiteral("/games"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a library");
    text.close();
    EXPECT_TRUE(files.exists(text.fileName()));
    EXPECT_EQ(files.fileVersion(text.fileName()), QString());
    EXPECT_FALSE(files.exists(dir.path() + QStringLiteral("/games")));  // a folder is no library
    EXPECT_FALSE(files.exists(dir.path() + QStringLiteral("/games/missing.so")));

    // The real check: the plug-in that the build lays out passes, a stale one does not.
    STRU_GAMEROOM room;
    room.id = 101;
    room.parent.dllfile = QStringLiteral("libquellmark.so");
    room.parent.version = QStringLiteral("1.3.64.65");
    OpenContext context;
    context.appPath = bin + QLatin1Char('/');
    context.installed = &files;
    EXPECT_EQ(OpenRoom(room, context).verdict, RoomEntry::Enter);
    room.parent.version = QStringLiteral("1.3.64.66");
    EXPECT_EQ(OpenRoom(room, context).verdict, RoomEntry::AskUpgrade);
}
