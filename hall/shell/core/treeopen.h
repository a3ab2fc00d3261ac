#pragma once
// What a double-click on a node of the game tree (trvLeftDblClick) does, decided without
// widgets: a game opens its page in a dialog, a tab or the home page by its `gametype`; a room
// goes through the entry checks. The main window carries the decision out.

#include <QString>

#include "hall/foundation/hallcontext.h"
#include "hall/gametree/gamecatalog.h"
#include "hall/gametree/roomentry.h"

namespace velmora::hall {

enum class NodeOpen {
    Nothing,       // no node, a category, the recently played group, an unknown game type
    GameDialog,    // "iedialog": modal TfrmIEDialog at `url`, `caption`, `width` x `height`
    GameTab,       // "ieclient": a new closable page tab at `url`, `caption`
    GameHomePage,  // "game": HomePage to `url` (the game's helpurl); its tab is not activated
    Room,          // `verdict` for `room`; on Enter the game tab takes `caption`
};

struct NodeOpening {
    NodeOpen action = NodeOpen::Nothing;
    QString url;
    QString caption;
    int width = 0;
    int height = 0;
    RoomEntry verdict = RoomEntry::Enter;
    STRU_GAMEROOM room;  // a copy: the catalog may change while the room client holds it
};

// What the decision needs from around the tree.
struct OpenContext {
    QString token;
    QString homePageUrl;  // the address HomePage shows now
    STRU_USERINFO player;
    QString appPath;
    const InstalledGames* installed = nullptr;
    RoomClientState client;
};

// The game tab's caption: parent.title + " - " + title.
QString GameTabCaption(const STRU_GAMEROOM& room);

// The decision for a node (main or recently played node alike).
NodeOpening OpenNode(const GameCatalog& catalog, NodeId node, const OpenContext& context);
// The decision for a room record: the entry checks (CheckRoomEntry). The last-room offer uses
// it as well, so that a room re-entered after a crash passes the same checks as a double-click.
NodeOpening OpenRoom(const STRU_GAMEROOM& room, const OpenContext& context);

// The size of a game's web dialog: a side outside 1..4096 (a list value that did not parse
// reads 0) takes the dialog default, 400 x 300, as a dialog link does.
int GameDialogSide(qint32 side, int fallback);

// A double-click on a node that has children and is collapsed expands it and opens nothing
// (the manual expansion guard): a player opening a folder does not also open its game.
bool DoubleClickOpens(bool hasChildren, bool expanded);

// The installed games as the hall finds them: files on disk and their identity block.
class InstalledGameFiles : public InstalledGames {
public:
    bool exists(const QString& path) const override;
    QString fileVersion(const QString& path) const override;
};

}  // namespace velmora::hall
