// The demo's game tree: one category, the Landlord game and three rooms, one per demo room
// server (127.0.0.1:18101 to 18103). The room ids and titles are those of the room servers'
// demo rooms, so that the rooms the hall lists are the rooms the servers hold.
#include "server/web/gamestore.h"

#include <QSqlQuery>

namespace velmora::server {
namespace {

const QString kLandlordPage = QStringLiteral(
    "<h1>斗地主</h1>\n"
    "<p>三人游戏，一副牌 54 张。每人 17 张，留 3 张底牌。</p>\n"
    "<h2>叫分与抢地主</h2>\n"
    "<p>玩家依次叫 1 分、2 分或 3 分，叫分最高者成为地主并拿走底牌。"
    "抢地主房间在叫分之后还有抢地主和加倍阶段，每抢一次倍数翻倍。</p>\n"
    "<h2>出牌</h2>\n"
    "<p>地主先出牌，其余玩家按逆时针方向依次出牌或不出。可出单张、对子、三张、三带一、三带二、"
    "顺子（至少 5 张）、连对（至少 3 对）、飞机、四带二、炸弹和火箭（双王）。"
    "炸弹和火箭使本局倍数翻倍。</p>\n"
    "<h2>胜负</h2>\n"
    "<p>先出完牌的一方获胜。地主胜则两位农民输分，农民任何一家先出完则地主输分。"
    "地主可以明牌，明牌后倍数增加。</p>\n"
    "<h2>托管</h2>\n"
    "<p>连续三次超时未出牌的玩家将进入托管，由系统代为出牌。</p>\n");

}  // namespace

int GameStore::seedDemo(const QList<qint64>& demoPlayers) {
    QSqlQuery q(m_database.db());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM categories")) || !q.next() ||
        q.value(0).toLongLong() > 0)
        return 0;
    CategoryRecord category;
    category.id = kDemoCategory;
    category.title = QStringLiteral("棋牌游戏");
    category.icon = 1;
    category.showonline = true;
    category.expanded = true;
    category.helptext = QStringLiteral("棋牌游戏");
    if (!putCategory(category))
        return 0;

    GameRecord game;
    game.id = kLandlordGame;
    game.fid = kDemoCategory;
    game.title = QStringLiteral("斗地主");
    game.icon = 2;
    game.gametype = QStringLiteral("game");
    game.helpurl = QStringLiteral("/game/help.php?id=1");
    game.helptext = QStringLiteral("三人斗地主：叫分、抢地主、明牌，炸弹翻倍");
    game.dllfile = QStringLiteral("libquellmark.so");
    game.guid = QStringLiteral("{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}");
    game.version = QStringLiteral("1.3.64.65");
    game.page = kLandlordPage;
    if (!putGame(game))
        return 0;

    struct DemoRoom {
        qint32 id;
        const char* title;
        quint16 port;
        qint32 roomgold;
        bool grab;
    };
    static constexpr DemoRoom kRooms[] = {
        {101, "新手房", 18101, 0, false},
        {103, "中级房", 18102, 500, false},
        {105, "抢地主房", 18103, 0, true},
    };
    int added = 0;
    for (const DemoRoom& d : kRooms) {
        RoomRecord room;
        room.id = d.id;
        room.gid = kLandlordGame;
        room.sort = added;
        room.title = QString::fromUtf8(d.title);
        room.serverport = d.port;
        room.tablenum = 100;
        room.roomgold = d.roomgold;
        room.mingold = d.roomgold;
        room.templates = QStringLiteral("table.htm");
        room.videoserver = QStringLiteral("127.0.0.1");
        room.videoport = 18200;
        room.helptext = room.title + QStringLiteral(" · 斗地主");
        room.rules = QStringLiteral("出牌时间=30;倒计时时间=20;可明牌=1");
        if (d.grab)
            room.rules += QStringLiteral(";抢地主=1");
        room.welcome = QStringLiteral("欢迎来到%1，祝您游戏愉快！").arg(room.title);
        if (putRoom(room))
            ++added;
    }
    for (qint64 player : demoPlayers)
        recordPlayed(player, kLandlordGame);
    return added;
}

}  // namespace velmora::server
