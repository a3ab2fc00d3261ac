#include "hall/shell/ui/skin.h"

#include "hall/foundation/hallcontext.h"

#include <QFile>
#include <QMetaObject>
#include <QWidget>

namespace velmora::hall {

QString LoadSkin(const QString& appPath) {
    QFile file(appPath + kSkinFile);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QString sheet = QString::fromUtf8(file.readAll());
    sheet.replace(QStringLiteral("$SKIN/"), appPath + QStringLiteral("skins/"));
    return sheet;
}

void ApplySkin(QWidget* form) {
    static QString sheet;
    static QString loadedFor;
    const QString& appPath = HallContext::instance().AppPath;
    if (loadedFor != appPath || sheet.isEmpty()) {
        sheet = LoadSkin(appPath);
        loadedFor = appPath;
    }
    QString className = QString::fromLatin1(form->metaObject()->className());
    className = className.mid(className.lastIndexOf(QLatin1Char(':')) + 1);
    if (className.left(4).compare(QLatin1String("tfrm"), Qt::CaseInsensitive) != 0)
        return;
    form->setStyleSheet(sheet);
}

}  // namespace velmora::hall
