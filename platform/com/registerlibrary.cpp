#include "registerlibrary.h"

#include "platform/com/unknown.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace velmora::com {

RegisterOutcome registerLibrary(const QString& libraryPath, bool unregister) {
    RegisterOutcome out;
    const char* entry = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    const QFileInfo file(libraryPath);
    if (!file.isFile()) {
        out.message = QStringLiteral("%1: no such file").arg(libraryPath);
        return out;
    }
    // dlopen needs a path with a slash, or it searches the library path instead.
    const QByteArray path = file.absoluteFilePath().toLocal8Bit();
    void* handle = dlopen(path.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        out.message = QStringLiteral("%1: not a loadable library (%2)")
                          .arg(libraryPath, QString::fromLocal8Bit(why ? why : "unknown error"));
        return out;
    }
    auto fn = reinterpret_cast<DllRegisterServerFn>(dlsym(handle, entry));
    if (!fn) {
        out.status = RegisterStatus::NoEntryPoint;
        out.result = CO_E_ERRORINDLL;
        out.message = QStringLiteral("%1: the library has no entry point %2").arg(libraryPath, QLatin1String(entry));
    } else {
        out.result = fn();
        if (succeeded(out.result)) {
            out.status = RegisterStatus::Ok;
            out.message = QStringLiteral("%1: %2 succeeded").arg(libraryPath, QLatin1String(entry));
        } else {
            out.status = RegisterStatus::EntryPointFailed;
            out.message = QStringLiteral("%1: %2 failed with %3")
                              .arg(libraryPath, QLatin1String(entry),
                                   QString::fromStdString(hresultText(out.result)));
        }
    }
    dlclose(handle);
    return out;
}

}  // namespace velmora::com
