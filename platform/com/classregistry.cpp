#include "classregistry.h"

#include "platform/registry/registrystore.h"

#include <QFileInfo>

namespace velmora::com {
namespace {

const QString kClasses = QStringLiteral("Software\\Classes");

QString progIdKey(const QString& progId) { return kClasses + QLatin1Char('\\') + progId; }

// A ProgID becomes one key name: no separators, not empty.
bool validProgId(const QString& progId) {
    return !progId.isEmpty() && !progId.contains(QLatin1Char('\\')) && !progId.contains(QLatin1Char('/'));
}

}  // namespace

QString ClassRegistry::storePath() const {
    return m_storePath.isEmpty() ? platform::RegistryStore::defaultPath() : m_storePath;
}

QString ClassRegistry::classKey(const CLSID& clsid) {
    return kClasses + QStringLiteral("\\CLSID\\") + QString::fromStdString(guidToString(clsid));
}

bool ClassRegistry::registerClass(const ClassRegistration& reg) {
    if (reg.clsid.isNull() || reg.libraryPath.isEmpty()) return false;
    if (!reg.progId.isEmpty() && !validProgId(reg.progId)) return false;
    platform::RegistryStore store(storePath());
    const QString key = classKey(reg.clsid);
    const QString id = QString::fromStdString(guidToString(reg.clsid));
    // A ProgID of an earlier registration must not keep pointing here.
    const QString oldProgId = store.readString(key + QStringLiteral("\\ProgID"), QString());
    if (validProgId(oldProgId) && oldProgId.compare(reg.progId, Qt::CaseInsensitive) != 0 &&
        guidFromString(store.readString(progIdKey(oldProgId) + QStringLiteral("\\CLSID"), QString())
                           .toStdString()) == reg.clsid)
        store.deleteKey(progIdKey(oldProgId));
    store.deleteKey(key + QStringLiteral("\\ProgID"));
    bool ok = store.writeString(key, QString(), reg.description) &&
              store.writeStrings(key + QStringLiteral("\\InprocServer32"),
                                 {{QString(), reg.libraryPath},
                                  {QStringLiteral("ThreadingModel"), reg.threadingModel}});
    if (ok && !reg.progId.isEmpty()) {
        ok = store.writeString(key + QStringLiteral("\\ProgID"), QString(), reg.progId) &&
             store.writeString(progIdKey(reg.progId), QString(), reg.description) &&
             store.writeString(progIdKey(reg.progId) + QStringLiteral("\\CLSID"), QString(), id);
    }
    return ok;
}

bool ClassRegistry::unregisterClass(const CLSID& clsid) {
    if (clsid.isNull()) return false;
    platform::RegistryStore store(storePath());
    const QString key = classKey(clsid);
    const QString progId = store.readString(key + QStringLiteral("\\ProgID"), QString());
    bool ok = true;
    if (validProgId(progId)) {
        const QString named = store.readString(progIdKey(progId) + QStringLiteral("\\CLSID"), QString());
        if (guidFromString(named.toStdString()) == clsid) ok = store.deleteKey(progIdKey(progId)) && ok;
    }
    if (store.keyExists(key)) ok = store.deleteKey(key) && ok;
    return ok;
}

std::optional<ClassRegistration> ClassRegistry::lookup(const CLSID& clsid) const {
    if (clsid.isNull()) return std::nullopt;
    platform::RegistryStore store(storePath());
    const QString key = classKey(clsid);
    ClassRegistration reg;
    reg.clsid = clsid;
    reg.libraryPath = store.readString(key + QStringLiteral("\\InprocServer32"), QString());
    if (reg.libraryPath.isEmpty()) return std::nullopt;
    reg.description = store.readString(key, QString());
    reg.threadingModel = store.readString(key + QStringLiteral("\\InprocServer32"),
                                          QStringLiteral("ThreadingModel"));
    reg.progId = store.readString(key + QStringLiteral("\\ProgID"), QString());
    return reg;
}

std::optional<CLSID> ClassRegistry::clsidFromProgId(const QString& progId) const {
    if (!validProgId(progId)) return std::nullopt;
    platform::RegistryStore store(storePath());
    return guidFromString(store.readString(progIdKey(progId) + QStringLiteral("\\CLSID"), QString()).toStdString());
}

QString ClassRegistry::progIdFor(const QString& libraryPath, const QString& className) {
    QString stem = QFileInfo(libraryPath).fileName();
    const qsizetype so = stem.indexOf(QLatin1String(".so"));
    if (so > 0) stem.truncate(so);
    if (stem.startsWith(QLatin1String("lib")) && stem.size() > 3) stem.remove(0, 3);
    if (stem.isEmpty() || className.isEmpty()) return {};
    stem[0] = stem[0].toUpper();
    return stem + QLatin1Char('.') + className;
}

}  // namespace velmora::com
