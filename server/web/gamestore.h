#pragma once
// The game tree of the web service: categories, games and rooms as the hall's two XML lists
// carry them, the players' recently played games and the rooms' online counts. The store keeps
// the tree whole: it refuses an entry whose parent category or game it does not hold, a game
// library name that is not a plain file name, and a category loop, so the lists never name a
// parent the hall cannot find.

#include "server/web/webdatabase.h"

#include <QHash>
#include <QList>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace velmora::server {

// Element name -> value, in the order the list writes them.
using ListFields = QList<QPair<QString, QString>>;

struct CategoryRecord {
    qint32 id = 0;
    qint32 pid = 0;  // 0: top level
    qint32 sort = 0;
    QString title;
    qint32 icon = 1;
    bool showonline = false;
    bool expanded = true;
    QString helptext;
};

struct GameRecord {
    qint32 id = 0;
    qint32 fid = 0;
    qint32 sort = 0;
    QString title;
    qint32 icon = 2;
    QString gametype = QStringLiteral("game");  // "game", "iedialog" or "ieclient"
    // A path beginning with "/" is made absolute with the service's address when listed.
    QString helpurl;
    qint32 width = 400;
    qint32 height = 300;
    QString helptext;
    QString dllfile;  // plain file name in the hall's "games" folder, or empty
    QString guid;
    QString downloadxml;
    QString version;
    QString page;  // HTML body of the game's help page (/game/help.php?id=...)
};

struct RoomRecord {
    qint32 id = 0;
    qint32 gid = 0;
    qint32 sort = 0;
    QString title;
    qint32 icon = 4;
    QString servertype = QStringLiteral("tcp");
    QString serverip = QStringLiteral("127.0.0.1");
    qint32 serverport = 0;
    qint32 tablenum = 50;
    qint32 roomtype = 0;
    qint32 mingold = 0, maxgold = 0, goldmultiple = 1;
    qint32 minpoint = 0, maxpoint = 0, pointmultiple = 1;
    bool showdesk = true, showuserinfo = true, enabledchat = true, enabledlook = true;
    qint32 roomgold = 0;
    qint32 maxplayernum = 300, playnum = 3, seatnum = 3;
    QString templates;
    QString videoserver;
    qint32 videoport = 0;
    QString helptext;
    QString rules;  // room options "name=value;..." read by the game (grab mode: "抢地主=1")
    QString welcome;
};

// Online counts: rooms as reported, a game the sum of its rooms, a category the sum of its
// games and of its sub-categories.
struct OnlineTotals {
    QHash<qint32, qint64> categories, games, rooms;
};

class GameStore {
public:
    explicit GameStore(WebDatabase& database) : m_database(database) {}

    // Insert or replace by id. False (nothing stored, reason logged) for a refused entry.
    bool putCategory(const CategoryRecord& record);
    bool putGame(const GameRecord& record);
    bool putRoom(const RoomRecord& record);

    // The list elements of each kind, parents before their children, then by sort and id.
    // Only entries whose parents exist are listed. `onlinecount` comes from `totals`.
    std::vector<ListFields> categoryList(const OnlineTotals& totals) const;
    std::vector<ListFields> gameList(const OnlineTotals& totals, const QString& base) const;
    std::vector<ListFields> roomList(const OnlineTotals& totals) const;
    std::optional<GameRecord> findGame(qint32 id) const;

    // Room servers report the players in a room; a room never reported counts 0.
    bool setRoomOnline(qint32 roomId, qint64 count);
    OnlineTotals onlineTotals() const;

    // The player's recently played games, most recent first (at most kMaxUserGames),
    // games that no longer exist left out.
    bool recordPlayed(qint64 userId, qint32 gameId);
    QList<qint32> userGames(qint64 userId) const;
    static constexpr int kMaxUserGames = 10;

    // A library name the hall may load: not empty, no path separator, not "." or "..", no
    // control characters.
    static bool isPlainLibraryName(const QString& name);

    // One category "棋牌游戏", the Landlord game and three rooms on 127.0.0.1:18101 to 18103
    // (the third plays with the grab phase), only into a database without categories. Every
    // demo player has played Landlord. Returns the number of rooms added.
    int seedDemo(const QList<qint64>& demoPlayers);

    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // The demo's ids (the room ids match the room servers' demo rooms).
    static constexpr qint32 kDemoCategory = 1;
    static constexpr qint32 kLandlordGame = 1;
    static constexpr qint32 kDemoRooms[3] = {101, 103, 105};
    static constexpr qint32 kGrabRoom = 105;

private:
    qint64 now() const;
    bool categoryExists(qint32 id) const;
    bool gameExists(qint32 id) const;

    WebDatabase& m_database;
    std::function<qint64()> m_clock;
};

}  // namespace velmora::server
