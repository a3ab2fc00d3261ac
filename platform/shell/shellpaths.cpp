#include "platform/shell/shellpaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace velmora::platform {
namespace {

QString withSlash(QString path) {
    if (!path.endsWith(QLatin1Char('/'))) path += QLatin1Char('/');
    return path;
}

}  // namespace

QString programFolder() {
    const QString overrideDir = qEnvironmentVariable("VELMORA_APP_DIR");
    if (!overrideDir.isEmpty()) return withSlash(overrideDir);
    if (QCoreApplication::instance() != nullptr)
        return withSlash(QCoreApplication::applicationDirPath());
    return withSlash(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget().section(
        QLatin1Char('/'), 0, -2));
}

QString documentsFolder() {
    QString docs = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (docs.isEmpty()) docs = QDir::homePath();
    return withSlash(docs);
}

bool ForceFileDirs(const QString& filePath) {
    const qsizetype slash = filePath.lastIndexOf(QLatin1Char('/'));
    if (slash <= 0) return true;  // a bare file name or a file in the root folder
    return QDir().mkpath(filePath.left(slash));
}

}  // namespace velmora::platform
