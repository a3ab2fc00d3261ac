#pragma once
// Seams between the shell and the parts that later issues bring: the room client (the game
// tab, the room connection, the plug-in) and the game tree. The shell calls them through these
// interfaces only; until they exist the shell behaves as when no room is open.

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
};

class IGameTree {
public:
    virtual ~IGameTree() = default;
    // The one-shot load of categories, games and rooms 200 ms after the main window opened.
    virtual void LoadLeftTree() = 0;
    // Puts the counts on the category, game and room nodes; a bad entry skips that node.
    virtual void ApplyOnlineCounts(const OnlineCounts& counts) = 0;
};

}  // namespace velmora::hall
