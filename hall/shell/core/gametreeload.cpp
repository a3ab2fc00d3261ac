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

void ApplyOnlineCountsTo(GameCatalog& catalog, const OnlineCounts& counts, NodeTexts& texts) {
    if (counts.expired || counts.entries.isEmpty()) return;
    for (const STRU_GAMEFRM& category : catalog.categories()) {
        if (category.showonline != 1 || !catalog.validNode(category.obj)) continue;
        const qint64 count = counts.count(QStringLiteral("frm") + QString::number(category.id));
        texts.insert(category.obj, CountedTitle(category.title, clampCount(count)));
    }
    for (const STRU_GAMES& game : catalog.games()) {
        if (game.gametype != QLatin1String("game")) continue;
        const qint64 count = counts.count(QStringLiteral("game") + QString::number(game.id));
        const QString text = CountedTitle(game.title, clampCount(count));
        for (const NodeId node : {game.obj, game.myobj})
            if (catalog.validNode(node)) texts.insert(node, text);
    }
    // One change notice for all rooms instead of one per room.
    auto notify = std::move(catalog.onChanged);
    catalog.onChanged = nullptr;
    std::vector<qint32> roomIds;
    for (const STRU_GAMEROOM& room : catalog.rooms()) roomIds.push_back(room.id);
    for (const qint32 id : roomIds)
        catalog.setRoomOnline(
            id, clampCount(counts.count(QStringLiteral("room") + QString::number(id))));
    catalog.onChanged = std::move(notify);
    if (catalog.onChanged) catalog.onChanged();
}

}  // namespace velmora::hall
