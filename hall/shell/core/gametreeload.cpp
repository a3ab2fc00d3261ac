#include "hall/shell/core/gametreeload.h"

#include <QtGlobal>
#include <algorithm>
#include <limits>

#include "hall/foundation/localsettings.h"
#include "platform/ini/inifile.h"

namespace velmora::hall {
namespace {

QString postTo(const TreePost& post, const QString& url, const QString& form) {
    if (url.isEmpty() || !post) return {};
    return post(url, form);
}

qint32 clampCount(qint64 count) {
    return static_cast<qint32>(std::clamp<qint64>(count, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

}  // namespace

QString GameListForm(const QString& token) {
    return QStringLiteral("token=") + token + QStringLiteral("&demo=1");
}

QString RoomListForm() {
    return QStringLiteral("rooms=&demo=1");
}

TreeLoad LoadGameTree(GameCatalog& catalog, const GameTreeSource& source, const TreePost& post) {
    const QString games = postTo(post, source.gamexmlurl, GameListForm(source.token));
    if (games.isEmpty() || !catalog.applyGameList(games)) {
        qInfo("game list: no usable reply from \"%s\"", qPrintable(source.gamexmlurl));
        return TreeLoad::NoGameList;
    }
    const qint32 candidate = source.settingPath.isEmpty()
                                 ? 0
                                 : LastRoomCandidate(ReadLastRoom(source.settingPath), source.now);
    const QString rooms = postTo(post, source.roomxmlurl, RoomListForm());
    if (rooms.isEmpty() || !catalog.applyRoomList(rooms, candidate)) {
        qInfo("room list: no usable reply from \"%s\"", qPrintable(source.roomxmlurl));
        return TreeLoad::NoRoomList;
    }
    return TreeLoad::Loaded;
}

const STRU_GAMEROOM* LastRoomToOffer(const GameCatalog& catalog) {
    const STRU_GAMEROOM& last = catalog.lastRoom();
    if (last.id <= 0) return nullptr;
    if (!catalog.validNode(last.obj)) {
        qInfo("last room %d has no game in the list: not offered", last.id);
        return nullptr;
    }
    return &last;
}

bool DeclineLastRoom(const QString& settingPath) {
    return platform::IniFile(settingPath)
        .writeString(kSettingSection, QStringLiteral("lastroomid"), QStringLiteral("0"));
}

void ApplyOnlineCountsTo(GameCatalog& catalog, const OnlineCounts& counts) {
    if (counts.expired || counts.entries.isEmpty()) return;
    catalog.applyOnlineCounts([&counts](NodeKind kind, qint32 id) {
        const char* prefix = kind == NodeKind::Category ? "frm" : kind == NodeKind::Game ? "game" : "room";
        return clampCount(counts.count(QLatin1String(prefix) + QString::number(id)));
    });
}

}  // namespace velmora::hall
