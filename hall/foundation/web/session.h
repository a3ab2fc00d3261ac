#pragma once
// The session bootstrap: GET the bootstrap address, read the session reply into HallContext
// (Token, EncodeKey, the service addresses), check the clock and the program version, and start
// the updater when the service offers a newer version.
//
// Session reply: an XML document whose root element (any name) has one child per key; `token`
// and `encodekey` are plain text, every other value is Base64 of its GBK bytes.

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

namespace velmora::hall {

inline constexpr char kDefaultBootstrapUrl[] = "http://127.0.0.1:18080/info/getsession.php";
inline constexpr char kBootstrapEnv[] = "VELMORA_BOOTSTRAP_URL";
// Largest difference between the local clock and the service's that passes (2.0 days).
inline constexpr qint64 kMaxClockSkewSeconds = 2 * 24 * 3600;

// What GetSession needs from the program around it. The hall's shell implements it with its
// message boxes and dialogs; tests with a fake.
class SessionHost {
public:
    virtual ~SessionHost() = default;
    // A message box with caption "提示" and the question icon.
    virtual void showMessage(const QString& text) = 0;
    // Shows TfrmNetSetting modally; true when it was closed with OK (it has then updated the
    // registry and HallContext::Net).
    virtual bool runNetSetting() = 0;
    // Asks the application to end once control returns to its event loop.
    virtual void terminateApplication() = 0;
    // Starts a program detached; true when it was started. Default: QProcess::startDetached.
    virtual bool startProgram(const QString& program, const QStringList& arguments,
                              const QString& workingFolder);
    virtual QDateTime now() const { return QDateTime::currentDateTime(); }
};

struct SessionReply {
    QString token;
    QString encodeKey;
    QHash<QString, QString> values;  // every other key, Base64-decoded
    QString value(const QString& key) const { return values.value(key); }
};

// Nothing when the text is not a well-formed XML document with a root element.
std::optional<SessionReply> ParseSessionReply(const QString& xml);

// The service's time in the formats it may use (ISO 8601 with or without offset,
// "yyyy-MM-dd HH:mm:ss", "yyyy/M/d H:mm:ss", the system locale's short format); invalid when
// none reads.
QDateTime ParseServerTime(const QString& text);
// True when the time does not parse (the check then passes) or lies within 2.0 days of `now`.
bool ClockMatches(const QString& serverTime, const QDateTime& now);

enum class SessionVerdict {
    Ok,          // the program continues to the login
    ClockOff,    // the local clock is more than 2 days off the service's
    NewVersion,  // `version` differs from UpdateTime or `clientversion` from ProgramVersion
};
SessionVerdict JudgeSession(const SessionReply& reply, const QDateTime& now,
                            const QString& programVersion, const QString& updateTime);

// The bootstrap address: VELMORA_BOOTSTRAP_URL when set, else key "bootstrap" of section GAME
// in `appPath` + "game.ini", else kDefaultBootstrapUrl.
QString BootstrapUrl(const QString& appPath);

// The updater beside the hall: HallContext::AppPath + "update".
QString UpdaterPath();
// Starts the updater with `parameters`, working folder AppPath. False for empty parameters, a
// missing (or not executable) updater, or a start that failed.
bool RunUpdater(const QString& parameters, SessionHost& host);

// Runs the bootstrap against BootstrapUrl(AppPath). True when the session is established and
// the program may go on to the login; false when it must end (termination may already have been
// requested through `host`).
bool GetSession(SessionHost& host);

}  // namespace velmora::hall
