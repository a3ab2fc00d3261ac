#include "hall/foundation/localsettings.h"

#include "platform/ini/inifile.h"

namespace velmora::hall {
namespace {

using platform::IniFile;

QString flag(bool value) { return value ? QStringLiteral("true") : QStringLiteral("false"); }

bool readFlag(const IniFile& ini, const QString& key, bool fallback) {
    return ini.readString(kSettingSection, key, flag(fallback)) == QStringLiteral("true");
}

qint8 readSmall(const IniFile& ini, const QString& key, qint8 fallback, int min, int max) {
    const int v = ini.readInteger(kSettingSection, key, fallback);
    return static_cast<qint8>(v < min || v > max ? fallback : v);
}

constexpr auto kTimeFormat = Qt::ISODate;

}  // namespace

QString PlayerFolder(const QString& documentsPath, qint64 userId) {
    QString base = documentsPath;
    if (!base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    return base + QStringLiteral("Morvane/") + QString::number(userId) + QLatin1Char('/');
}

QString PlayerSettingPath(const QString& documentsPath, qint64 userId) {
    return PlayerFolder(documentsPath, userId) + QStringLiteral("setting.ini");
}

STRU_GAMESETTING ReadGameSetting(const QString& settingPath) {
    const IniFile ini(settingPath);
    STRU_GAMESETTING s;
    s.sameip = readFlag(ini, QStringLiteral("sameip"), false);
    s.fleesetting = readFlag(ini, QStringLiteral("fleesetting"), false);
    s.fleenumber = readSmall(ini, QStringLiteral("fleenumber"), 10, 0, 99);
    s.showuserinout = readFlag(ini, QStringLiteral("showuserinout"), false);
    s.deskpassword = readFlag(ini, QStringLiteral("deskpassword"), false);
    s.password = ini.readString(kSettingSection, QStringLiteral("password"));
    s.invite = readSmall(ini, QStringLiteral("invite"), 0, 0, 2);
    s.showvideo = readFlag(ini, QStringLiteral("showvideo"), true);
    s.showflash = readFlag(ini, QStringLiteral("showflash"), true);
    return s;
}

bool WriteGameSetting(const QString& settingPath, const STRU_GAMESETTING& s) {
    IniFile ini(settingPath);
    bool ok = true;
    ok &= ini.writeString(kSettingSection, QStringLiteral("sameip"), flag(s.sameip));
    ok &= ini.writeString(kSettingSection, QStringLiteral("fleesetting"), flag(s.fleesetting));
    ok &= ini.writeInteger(kSettingSection, QStringLiteral("fleenumber"), s.fleenumber);
    ok &= ini.writeString(kSettingSection, QStringLiteral("showuserinout"), flag(s.showuserinout));
    ok &= ini.writeString(kSettingSection, QStringLiteral("deskpassword"), flag(s.deskpassword));
    ok &= ini.writeString(kSettingSection, QStringLiteral("password"), s.password);
    ok &= ini.writeInteger(kSettingSection, QStringLiteral("invite"), s.invite);
    ok &= ini.writeString(kSettingSection, QStringLiteral("showvideo"), flag(s.showvideo));
    ok &= ini.writeString(kSettingSection, QStringLiteral("showflash"), flag(s.showflash));
    return ok;
}

LastRoom ReadLastRoom(const QString& settingPath) {
    const IniFile ini(settingPath);
    LastRoom last;
    bool ok = false;
    last.roomId = ini.readString(kSettingSection, QStringLiteral("lastroomid")).toLongLong(&ok);
    if (!ok || last.roomId < 0) last.roomId = 0;
    last.time = QDateTime::fromString(ini.readString(kSettingSection, QStringLiteral("lastroomtime")),
                                      kTimeFormat);
    return last;
}

bool WriteLastRoom(const QString& settingPath, qint64 roomId, const QDateTime& time) {
    IniFile ini(settingPath);
    return ini.writeString(kSettingSection, QStringLiteral("lastroomid"), QString::number(roomId)) &&
           WriteLastRoomTime(settingPath, time);
}

bool WriteLastRoomTime(const QString& settingPath, const QDateTime& time) {
    IniFile ini(settingPath);
    return ini.writeString(kSettingSection, QStringLiteral("lastroomtime"),
                           time.toString(kTimeFormat));
}

QString ReadUpdateTime(const QString& gameIniPath, const QString& programVersion) {
    return IniFile(gameIniPath).readString(kSettingSection, QStringLiteral("updateTime"),
                                           programVersion);
}

}  // namespace velmora::hall
