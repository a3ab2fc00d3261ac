#include "hall/foundation/debuglog.h"

#include <QDateTime>
#include <QFile>
#include <QLocale>

#include <array>
#include <memory>

#include "hall/foundation/hallcontext.h"
#include "platform/codepage/codepage.h"

namespace velmora::hall {
namespace {

constexpr std::array<const char*, 6> kFileNames = {
    "gameendata.txt",     "gamededata.txt",    "gamedata.txt",
    "gameincoming.txt",   "gameinterface.txt", "gameovercomm.txt",
};

std::array<std::unique_ptr<QFile>, 6>& openLogs() {
    static std::array<std::unique_ptr<QFile>, 6> logs;
    return logs;
}

}  // namespace

QString DebugLogFileName(DebugLog log) {
    return QString::fromLatin1(kFileNames[static_cast<size_t>(log)]);
}

void OpenDebugLogs(const QString& folder) {
    CloseDebugLogs();
    if (!HallContext::instance().DebugLogOn) return;
    QString base = folder;
    if (!base.isEmpty() && !base.endsWith(QLatin1Char('/'))) base += QLatin1Char('/');
    auto& logs = openLogs();
    for (size_t i = 0; i < logs.size(); ++i) {
        auto file = std::make_unique<QFile>(base + QString::fromLatin1(kFileNames[i]));
        if (file->open(QIODevice::WriteOnly | QIODevice::Append)) logs[i] = std::move(file);
    }
}

void CloseDebugLogs() {
    for (auto& log : openLogs()) log.reset();
}

void WriteDebugLog(const QString& text, DebugLog log) {
    if (!HallContext::instance().DebugLogOn) return;
    QFile* file = openLogs()[static_cast<size_t>(log)].get();
    if (file == nullptr) return;
    const QDateTime now = QDateTime::currentDateTime();
    const QString stamp = now.toString(QStringLiteral("yyyy-MM-dd hh:mm:ss ")) +
                          QLocale::system().dayName(now.date().dayOfWeek(), QLocale::ShortFormat);
    const QString entry = stamp + QStringLiteral("\r\n") + text +
                          QStringLiteral("\r\n----------------------------------\r\n\r\n");
    file->write(platform::toGbk(entry));
    file->flush();
}

void WriteDebugLog(const QString& text, int index) {
    if (index < 0 || index > 5) return;
    WriteDebugLog(text, static_cast<DebugLog>(index));
}

}  // namespace velmora::hall
