#pragma once
// The class registry: which library serves which class id. Kept in the per-user registry store
// with the customary layout below "Software\Classes" ("" is a key's default value):
//
//   CLSID\{id}                  ""  description
//   CLSID\{id}\InprocServer32   ""  absolute library path, "ThreadingModel" "Apartment"
//   CLSID\{id}\ProgID           ""  ProgID
//   <ProgID>                    ""  description
//   <ProgID>\CLSID              ""  {id}

#include "platform/com/guid.h"

#include <QString>
#include <optional>

namespace velmora::com {

struct ClassRegistration {
    CLSID clsid;
    QString description;
    QString libraryPath;
    QString threadingModel = QStringLiteral("Apartment");
    QString progId;  // may be empty
};

class ClassRegistry {
public:
    // The store at RegistryStore::defaultPath(), resolved on every call (XDG_CONFIG_HOME moves it).
    ClassRegistry() = default;
    explicit ClassRegistry(QString storePath) : m_storePath(std::move(storePath)) {}

    static QString classKey(const CLSID& clsid);
    // The ProgID of a library's class: the file name without "lib" and ".so", first letter
    // upper-case, a dot and the class name ("libquellmark.so", "Landlord": "Quellmark.Landlord").
    static QString progIdFor(const QString& libraryPath, const QString& className);

    // Writes every key of the class. False on a null id, an empty library path or a store that
    // cannot be written.
    bool registerClass(const ClassRegistration& reg);
    // Removes the class key and the ProgID key when that ProgID still names this class.
    // True when something was removed or nothing was there.
    bool unregisterClass(const CLSID& clsid);

    // The registration, when the class key and its library path are present.
    std::optional<ClassRegistration> lookup(const CLSID& clsid) const;
    std::optional<CLSID> clsidFromProgId(const QString& progId) const;

private:
    QString storePath() const;
    QString m_storePath;
};

}  // namespace velmora::com
