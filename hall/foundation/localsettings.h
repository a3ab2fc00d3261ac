#pragma once
// Where the hall keeps its settings, and the player's room settings record.
//
// Registry (per-user store): base key "Software\Torwick\Kelvane\", subkeys "Net\" (proxy) and
// "User\" (remembered accounts). Program-wide "game.ini" beside the program. Per-player
// "setting.ini" in <documents>/Morvane/<userid>/, section GAME.

#include <QDateTime>
#include <QString>

namespace velmora::hall {

inline const QString kRegistryBase = QStringLiteral("Software\\Torwick\\Kelvane\\");
inline const QString kRegistryNetKey = kRegistryBase + QStringLiteral("Net");
inline const QString kRegistryUserKey = kRegistryBase + QStringLiteral("User");
inline const QString kGameIniName = QStringLiteral("game.ini");
inline const QString kSettingSection = QStringLiteral("GAME");

// The player's room settings, read from "setting.ini".
struct STRU_GAMESETTING {
    bool sameip = false;
    bool fleesetting = false;
    qint8 fleenumber = 10;
    bool showuserinout = false;
    bool deskpassword = false;
    QString password;
    qint8 invite = 0;  // 0 everybody, 1 friends only, 2 nobody
    bool showvideo = true;
    bool showflash = true;

    bool operator==(const STRU_GAMESETTING&) const = default;
};

// <documents>/Morvane/<userid>/ and the setting.ini in it.
QString PlayerFolder(const QString& documentsPath, qint64 userId);
QString PlayerSettingPath(const QString& documentsPath, qint64 userId);

// Missing file or keys give the defaults; a flag is true only when its text is exactly "true".
STRU_GAMESETTING ReadGameSetting(const QString& settingPath);
// Writes every field; the folders are created as needed. False when the file cannot be written.
bool WriteGameSetting(const QString& settingPath, const STRU_GAMESETTING& setting);

// The last room: "lastroomid" and "lastroomtime" (ISO local date and time).
struct LastRoom {
    qint64 roomId = 0;
    QDateTime time;  // invalid when missing or unreadable, which counts as long ago
};
LastRoom ReadLastRoom(const QString& settingPath);
bool WriteLastRoom(const QString& settingPath, qint64 roomId, const QDateTime& time);
bool WriteLastRoomTime(const QString& settingPath, const QDateTime& time);

// "updateTime" of section GAME in game.ini, or `programVersion` when missing.
QString ReadUpdateTime(const QString& gameIniPath, const QString& programVersion);

}  // namespace velmora::hall
