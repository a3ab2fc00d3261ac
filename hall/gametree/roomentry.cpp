#include "hall/gametree/roomentry.h"

#include <QtGlobal>

namespace velmora::hall {

QString GamePageUrl(const QString& helpurl, const QString& token) {
    return helpurl + (helpurl.contains(QLatin1Char('?')) ? QLatin1Char('&') : QLatin1Char('?')) +
           QStringLiteral("token=") + token;
}

QString GameLibraryPath(const QString& appPath, const QString& dllfile) {
    if (dllfile.isEmpty() || dllfile.contains(QLatin1Char('/')) ||
        dllfile.contains(QLatin1Char('\\')) || dllfile.contains(QStringLiteral("..")))
        return {};
    QString base = appPath;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    return base + QStringLiteral("games/") + dllfile;
}

RoomEntry CheckRoomEntry(const STRU_GAMEROOM& room, const STRU_USERINFO& player,
                         const QString& appPath, const InstalledGames& installed,
                         const RoomClientState& client) {
    const QString& dllfile = room.parent.dllfile;
    const QString library = GameLibraryPath(appPath, dllfile);
    if (library.isEmpty() && !dllfile.isEmpty()) {
        qWarning("game %d names the library \"%s\" outside the games folder; refused",
                 room.parent.id, qPrintable(dllfile));
        return RoomEntry::BadGameFile;
    }
    if (library.isEmpty() || !installed.exists(library)) return RoomEntry::AskInstall;
    if (installed.fileVersion(library) != room.parent.version) return RoomEntry::AskUpgrade;
    if (room.roomgold > player.Gold) return RoomEntry::NotEnoughGold;
    if (room.onlinecount >= kFullRoomCount && player.VIPLevel == 0) return RoomEntry::RoomFull;
    if (client.exists) {
        if (client.inGame) return RoomEntry::AlreadyPlaying;
        if (client.roomId == room.id) return RoomEntry::SwitchToTab;
    }
    return RoomEntry::Enter;
}

QString RoomEntryText(RoomEntry verdict) {
    switch (verdict) {
    case RoomEntry::AskInstall:
        return QStringLiteral("游戏没有安装，您确定要下载安装这个游戏吗？");
    case RoomEntry::AskUpgrade:
        return QStringLiteral("当前游戏需要升级才能游戏，确定要升级吗？");
    case RoomEntry::NotEnoughGold:
        return QStringLiteral("您的游戏币不足，不能进入本房间！");
    case RoomEntry::RoomFull:
        return QStringLiteral("当前房间已满，只有VIP用户可以进入！");
    case RoomEntry::AlreadyPlaying:
        return QStringLiteral("您当前正在游戏，请退出游戏再进入其他房间！");
    case RoomEntry::Enter:
    case RoomEntry::SwitchToTab:
    case RoomEntry::BadGameFile:
        break;
    }
    return {};
}

qint32 LastRoomCandidate(const LastRoom& last, const QDateTime& now) {
    if (!last.time.isValid() || last.roomId <= 0) return 0;
    const qint64 minutes = qAbs(last.time.secsTo(now)) / 60;
    return minutes < kLastRoomMinutes ? static_cast<qint32>(last.roomId) : 0;
}

}  // namespace velmora::hall
