#pragma once
// Seams between the shell and the parts that later issues bring: the room client (the game
// tab, the room connection, the plug-in) and the game tree. The shell calls them through these
// interfaces only; until they exist the shell behaves as when no room is open.

#include "hall/gametree/gamerecords.h"
#include "hall/shell/core/onlinecount.h"

#include <QString>

namespace velmora::hall {

class IRoomClient {
public:
    virtual ~IRoomClient() = default;
    // A plug-in runs a game at a table (`bInGaming`).
    virtual bool bInGaming() const = 0;
    // Removes the running plug-in (the session has expired).
    virtual void DeletePluginClient() = 0;
    // The room client's exit action (double click on the game tab).
    virtual void btnExitClick() = 0;
    // Sends a request line ("17|msg=...") to the room server; false when no room is open.
    virtual bool SendRoomCommand(const QString& line) = 0;
    // Asks the room client to load a member's profile.
    virtual void LoadUserInfo(qint64 userId) = 0;
    // The id of the room the client shows; 0 when none.
    virtual qint32 currentRoomId() const = 0;
    // Hands a copy of the chosen room (with its game in `parent`) to the room client, which
    // connects (or reuses its connection to the same server) and enters it.
    virtual void LoadDesktop(const STRU_GAMEROOM& room) = 0;
};

class IGameTree {
public:
    virtual ~IGameTree() = default;
    // The one-shot load of categories, games and rooms 200 ms after the main window opened.
    virtual void LoadLeftTree() = 0;
    // Puts the counts on the category, game and room nodes; a bad entry skips that node.
    virtual void ApplyOnlineCounts(const OnlineCounts& counts) = 0;
    // The room client changed its room's count (entering, leaving): both room nodes follow.
    virtual void SetRoomOnline(qint32 roomId, qint32 onlinecount) = 0;
};

}  // namespace velmora::hall
