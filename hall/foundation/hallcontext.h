#pragma once
// Process-wide hall state that the design keeps in globals: the session values handed out by
// the web service, the folders, the debug switch. One object, built once by the program and
// rebuilt by tests with reset().

#include <QHash>
#include <QString>

namespace velmora::hall {

// The logged-in player (filled by the login, refreshed from the profile request).
struct STRU_USERINFO {
    qint64 UserID = 0;
    QString UserName;
    QString Password;  // the MD5 hex digest sent at login, never the plain password
    QString TrueName;
    quint16 FaceNum = 0;
    QString sex;
    QString CustomFace;
    QString Usershow;
    qint64 point = 0;
    qint32 Speed = 0;
    qint64 Gold = 0;
    qint32 Level = 0;
    qint32 VIPLevel = 0;  // 0: not a VIP
    quint8 Member = 0;
};

// Proxy settings of the web client and the room connection (registry key "Net").
struct NetSetting {
    bool ProxyOn = false;
    QString server;
    QString port;  // as typed; read as an integer when used, 0 when not a number
    QString username;
    QString pass;
    QString domain;  // kept and edited, never used for connections
    int ProxyType = 0;  // 0 HTTP, 1 SOCKS5, 2 SOCKS4; anything else: no proxy
};

class HallContext {
public:
    static HallContext& instance();
    // Back to a fresh state (tests; the re-login restart).
    static void reset();

    QString Token;      // session token from the web service
    QString EncodeKey;  // session key that scrambles request and server lines
    QString AppPath;    // the program's folder, ending in "/"
    QString DocumentsPath;  // the user's documents folder, ending in "/"
    bool DebugLogOn = false;  // the six debug logs are written only while set

    QString ProgramVersion = QStringLiteral("1.3.64.51");
    QString UpdateTime;  // "updateTime" of game.ini; ProgramVersion when missing
    // Every value of the session reply except token and encodekey, decoded, under its key
    // ("loginurl", "homeurl", "onlinecount", "version", ...). A missing key reads as empty.
    QHash<QString, QString> ServiceValues;
    QString url(const QString& key) const { return ServiceValues.value(key); }
    STRU_USERINFO CurrentUser;
    bool LoginOK = false;
    QString ExitMessage;  // set when the session was found expired
    NetSetting Net;
    // Extra certificate authorities (PEM file) trusted for "https:" addresses besides the
    // system's store; empty: the system's store only.
    QString TrustedCaFile;
};

}  // namespace velmora::hall
