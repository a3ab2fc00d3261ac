#pragma once
// What happens when the player opens a node of the game tree: the page address of a game, and
// the checks that stand between a room and the room client. No widgets: the main window asks
// the questions and shows the messages the verdict names.

#include <QDateTime>
#include <QString>

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "hall/gametree/gamerecords.h"

namespace velmora::hall {

// helpurl + ("?" or "&") + "token=" + token.
QString GamePageUrl(const QString& helpurl, const QString& token);

// What the entry checks need to know about the installed games.
class InstalledGames {
public:
    virtual ~InstalledGames() = default;
    virtual bool exists(const QString& path) const = 0;
    // The library's "FileVersion" identity value; empty when it has none.
    virtual QString fileVersion(const QString& path) const = 0;
};

// The room client as the checks see it.
struct RoomClientState {
    bool exists = false;
    bool inGame = false;
    qint32 roomId = 0;
};

enum class RoomEntry {
    Enter,           // hand the room to the room client
    SwitchToTab,     // already in this room: only show the game tab
    AskInstall,      // "游戏没有安装..." then the updater with downloadxml
    AskUpgrade,      // "当前游戏需要升级..." then the updater with downloadxml
    NotEnoughGold,   // "您的游戏币不足，不能进入本房间！"
    RoomFull,        // "当前房间已满，只有VIP用户可以进入！"
    AlreadyPlaying,  // "您当前正在游戏，请退出游戏再进入其他房间！"
    BadGameFile,     // the list names a library outside the games folder: refused, logged
};

inline constexpr qint32 kFullRoomCount = 200;

// The library path of a room's game: AppPath + "games/" + dllfile; empty when dllfile is empty
// or is not a plain file name (a path separator or "..": the hall loads only from "games/").
QString GameLibraryPath(const QString& appPath, const QString& dllfile);

RoomEntry CheckRoomEntry(const STRU_GAMEROOM& room, const STRU_USERINFO& player,
                         const QString& appPath, const InstalledGames& installed,
                         const RoomClientState& client);

// The message or question of a verdict; empty for Enter, SwitchToTab and BadGameFile.
QString RoomEntryText(RoomEntry verdict);

// The room to offer after a session that did not end normally: the last room id when its time
// lies fewer than 600 whole minutes from `now` (either way), else 0.
inline constexpr qint64 kLastRoomMinutes = 600;
qint32 LastRoomCandidate(const LastRoom& last, const QDateTime& now);

}  // namespace velmora::hall
