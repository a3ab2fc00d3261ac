#include "hall/foundation/web/session.h"

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "hall/foundation/publicfunc.h"
#include "hall/foundation/web/httprequest.h"
#include "platform/ini/inifile.h"

#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QXmlStreamReader>

namespace velmora::hall {

bool SessionHost::startProgram(const QString& program, const QStringList& arguments,
                               const QString& workingFolder) {
    return QProcess::startDetached(program, arguments, workingFolder);
}

std::optional<SessionReply> ParseSessionReply(const QString& xml) {
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement())
        return std::nullopt;
    SessionReply reply;
    QHash<QString, QString> raw;
    while (reader.readNextStartElement()) {
        const QString key = reader.name().toString();
        const QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        if (!raw.contains(key))  // the first element of a name counts
            raw.insert(key, text);
    }
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError())
        return std::nullopt;
    for (auto it = raw.cbegin(); it != raw.cend(); ++it) {
        if (it.key() == QLatin1String("token"))
            reply.token = it.value().trimmed();
        else if (it.key() == QLatin1String("encodekey"))
            reply.encodeKey = it.value().trimmed();
        else
            reply.values.insert(it.key(), Base64DecodeText(it.value()));
    }
    return reply;
}

QDateTime ParseServerTime(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    QDateTime time = QDateTime::fromString(t, Qt::ISODate);
    if (time.isValid())
        return time;
    static const char* const kFormats[] = {"yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd H:mm:ss",
                                           "yyyy/M/d H:mm:ss", "yyyy-M-d H:mm:ss"};
    for (const char* format : kFormats) {
        time = QDateTime::fromString(t, QLatin1String(format));
        if (time.isValid())
            return time;
    }
    return QLocale::system().toDateTime(t, QLocale::ShortFormat);
}

bool ClockMatches(const QString& serverTime, const QDateTime& now) {
    const QDateTime time = ParseServerTime(serverTime);
    if (!time.isValid())
        return true;
    return qAbs(time.secsTo(now)) <= kMaxClockSkewSeconds;
}

SessionVerdict JudgeSession(const SessionReply& reply, const QDateTime& now,
                            const QString& programVersion, const QString& updateTime) {
    if (!ClockMatches(reply.value(QStringLiteral("servertime")), now))
        return SessionVerdict::ClockOff;
    if (reply.value(QStringLiteral("version")) == updateTime &&
        reply.value(QStringLiteral("clientversion")) == programVersion)
        return SessionVerdict::Ok;
    return SessionVerdict::NewVersion;
}

QString BootstrapUrl(const QString& appPath) {
    const QString fromEnv = qEnvironmentVariable(kBootstrapEnv).trimmed();
    if (!fromEnv.isEmpty())
        return fromEnv;
    const QString fromIni = platform::IniFile(appPath + kGameIniName)
                                .readString(kSettingSection, QStringLiteral("bootstrap"))
                                .trimmed();
    return fromIni.isEmpty() ? QString::fromLatin1(kDefaultBootstrapUrl) : fromIni;
}

QString UpdaterPath() { return HallContext::instance().AppPath + QStringLiteral("update"); }

namespace {

bool updaterPresent() {
    const QFileInfo info(UpdaterPath());
    return info.isFile() && info.isExecutable();
}

}  // namespace

bool RunUpdater(const QString& parameters, SessionHost& host) {
    // A missing updater or a failed start is a failure: the caller must not carry on as if an
    // update were under way.
    if (parameters.isEmpty() || !updaterPresent())
        return false;
    return host.startProgram(UpdaterPath(), {parameters}, HallContext::instance().AppPath);
}

bool GetSession(SessionHost& host) {
    static const QString kNoConnection = QStringLiteral("连接初始化失败，请查看一下你是否连网。");
    HallContext& context = HallContext::instance();
    for (;;) {
        const QString text = HttpRequest(BootstrapUrl(context.AppPath), QStringLiteral("GET"));
        if (text.isEmpty()) {
            host.showMessage(kNoConnection);
            if (host.runNetSetting())
                continue;
            return false;
        }
        const std::optional<SessionReply> reply = ParseSessionReply(text);
        if (!reply) {
            host.showMessage(kNoConnection);
            return false;
        }
        context.Token = reply->token;
        context.EncodeKey = reply->encodeKey;
        context.ServiceValues = reply->values;

        const QString updateTime = context.UpdateTime.isEmpty() ? context.ProgramVersion
                                                                : context.UpdateTime;
        switch (JudgeSession(*reply, host.now(), context.ProgramVersion, updateTime)) {
        case SessionVerdict::Ok:
            return true;
        case SessionVerdict::ClockOff:
            host.showMessage(QStringLiteral("您的系统时间与服务器时间不符，请更正您的系统时间!"));
            host.terminateApplication();
            return false;
        case SessionVerdict::NewVersion:
            break;
        }
        host.showMessage(QStringLiteral("当前程序有新版本：") + reply->value(QStringLiteral("newdesc")) +
                         QStringLiteral("，点击确定开始更新最新版本!"));
        context.LoginOK = false;
        const QString parameters = reply->value(QStringLiteral("updatexml")) +
                                   QStringLiteral("?updatetime=") + updateTime;
        // Whether the updater starts or not, the outdated program ends here; a missing updater
        // never lets it continue to the login.
        if (updaterPresent())
            host.startProgram(UpdaterPath(), {parameters}, context.AppPath);
        else
            RunUpdater(parameters, host);
        host.terminateApplication();
        return false;
    }
}

}  // namespace velmora::hall
