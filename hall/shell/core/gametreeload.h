#pragma once
// The game tree's traffic with the web service and the player's settings, without widgets:
// the one-shot load of the game and room lists (LoadLeftTree, LoadGameRoom), the last-room
// candidate, and the online counts of the 50 s refresh.

#include <QDateTime>
#include <QHash>
#include <QString>
#include <functional>

#include "hall/gametree/gamecatalog.h"
#include "hall/gametree/roomentry.h"
#include "hall/shell/core/onlinecount.h"

namespace velmora::hall {

// POST of `formData` to `url`; the reply body, empty on any failure.
using TreePost = std::function<QString(const QString& url, const QString& formData)>;

struct GameTreeSource {
    QString gamexmlurl;
    QString roomxmlurl;
    QString token;
    QString settingPath;  // the player's setting.ini (lastroomid, lastroomtime)
    QDateTime now;        // compared with lastroomtime
};

enum class TreeLoad {
    NoGameList,  // empty or not XML: the tree stays empty and no rooms are asked for
    NoRoomList,  // categories and games are shown, without rooms
    Loaded,
};

// "token=" + token + "&demo=1" and "rooms=&demo=1".
QString GameListForm(const QString& token);
QString RoomListForm();

// LoadLeftTree followed by LoadGameRoom: POSTs the game list, then reads the last-room candidate
// from the settings (LastRoomCandidate) and POSTs the room list. A room whose id is the
// candidate is left in catalog.lastRoom() for the caller to offer. An address the session did
// not name counts as an empty reply.
TreeLoad LoadGameTree(GameCatalog& catalog, const GameTreeSource& source, const TreePost& post);

// The room to offer after LoadGameTree: the candidate when the list had it and it has a node
// (a room whose game is unknown cannot be opened, so it is not offered either); else null.
const STRU_GAMEROOM* LastRoomToOffer(const GameCatalog& catalog);

inline const QString kLastRoomQuestion =
    QStringLiteral("上次你没有正常退出游戏，现在要回到原来的房间吗？");

// The player declined the last room: lastroomid := "0" (lastroomtime stays).
bool DeclineLastRoom(const QString& settingPath);

// The online refresh: "frm<id>" on categories that show their count, "game<id>" on games of
// type "game" (main node and recently played node), "room<id>" on every room (its record and
// both its nodes, so that the full-room check sees the new count). Counts outside the 32-bit
// range are clamped. A reply without entries (failed or empty, not "Error") changes nothing:
// a failed request is not news that everybody left.
void ApplyOnlineCountsTo(GameCatalog& catalog, const OnlineCounts& counts);

}  // namespace velmora::hall
