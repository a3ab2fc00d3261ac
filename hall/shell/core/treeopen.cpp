#include "hall/shell/core/treeopen.h"

#include <QFileInfo>

#include "hall/shell/core/pagelinks.h"
#include "platform/com/versioninfo.h"

namespace velmora::hall {

QString GameTabCaption(const STRU_GAMEROOM& room) {
    return room.parent.title + QStringLiteral(" - ") + room.title;
}

int GameDialogSide(qint32 side, int fallback) {
    return side >= 1 && side <= kMaxDialogSide ? side : fallback;
}

bool DoubleClickOpens(bool hasChildren, bool expanded) {
    return !hasChildren || expanded;
}

NodeOpening OpenRoom(const STRU_GAMEROOM& room, const OpenContext& context) {
    NodeOpening opening;
    opening.action = NodeOpen::Room;
    opening.room = room;
    opening.caption = GameTabCaption(room);
    if (!context.installed) {
        // Without a way to look at the games folder nothing can be checked: ask to install.
        opening.verdict = RoomEntry::AskInstall;
        return opening;
    }
    opening.verdict =
        CheckRoomEntry(room, context.player, context.appPath, *context.installed, context.client);
    return opening;
}

NodeOpening OpenNode(const GameCatalog& catalog, NodeId node, const OpenContext& context) {
    if (const STRU_GAMES* game = catalog.gameOfNode(node)) {
        NodeOpening opening;
        opening.url = GamePageUrl(game->helpurl, context.token);
        opening.caption = game->title;
        if (game->gametype == QLatin1String("iedialog")) {
            opening.action = NodeOpen::GameDialog;
            opening.width = GameDialogSide(game->dialogWidth, kDefaultDialogWidth);
            opening.height = GameDialogSide(game->dialogheight, kDefaultDialogHeight);
        } else if (game->gametype == QLatin1String("ieclient")) {
            opening.action = NodeOpen::GameTab;
        } else if (game->gametype == QLatin1String("game")) {
            if (!game->helpurl.isEmpty() && context.homePageUrl != game->helpurl) {
                opening.action = NodeOpen::GameHomePage;
                opening.url = game->helpurl;
            }
        }
        return opening;
    }
    if (const STRU_GAMEROOM* room = catalog.roomOfNode(node)) return OpenRoom(*room, context);
    return {};
}

bool InstalledGameFiles::exists(const QString& path) const {
    const QFileInfo info(path);
    return info.exists() && info.isFile();
}

QString InstalledGameFiles::fileVersion(const QString& path) const {
    com::TFileVersionInfomation info;
    if (!com::ReadVersionInfo(path, info)) return {};
    return info.FileVersion;
}

}  // namespace velmora::hall
