#include "cocreate.h"

#include "platform/com/classregistry.h"
#include "platform/com/comptr.h"

#include <QFileInfo>
#include <dlfcn.h>
#include <map>
#include <mutex>

namespace velmora::com {
namespace {

struct LoadedLibrary {
    void* handle = nullptr;
    DllGetClassObjectFn getClassObject = nullptr;
    DllCanUnloadNowFn canUnloadNow = nullptr;
};

std::mutex g_mutex;
std::map<QString, LoadedLibrary>& libraries() {
    static std::map<QString, LoadedLibrary> table;
    return table;
}

// Loads the library once; the table keeps it until CoFreeUnusedLibraries().
HRESULT loadLibrary(const QString& path, LoadedLibrary& out) {
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty()) return CO_E_DLLNOTFOUND;
    auto& table = libraries();
    auto it = table.find(canonical);
    if (it == table.end()) {
        void* handle = dlopen(canonical.toLocal8Bit().constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) return CO_E_DLLNOTFOUND;
        LoadedLibrary lib;
        lib.handle = handle;
        lib.getClassObject = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
        lib.canUnloadNow = reinterpret_cast<DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"));
        if (!lib.getClassObject) {
            dlclose(handle);
            return CO_E_ERRORINDLL;
        }
        it = table.emplace(canonical, lib).first;
    }
    out = it->second;
    return S_OK;
}

}  // namespace

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const auto reg = ClassRegistry().lookup(clsid);
    if (!reg) return REGDB_E_CLASSNOTREG;
    LoadedLibrary lib;
    {
        std::lock_guard lock(g_mutex);
        const HRESULT r = loadLibrary(reg->libraryPath, lib);
        if (failed(r)) return r;
    }
    const HRESULT r = lib.getClassObject(clsid, iid, out);
    if (failed(r)) *out = nullptr;
    return r;
}

HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    ComPtr<IClassFactory> factory;
    const HRESULT r = CoGetClassObject(clsid, IClassFactory::kIid, factory.put());
    if (failed(r)) return r;
    if (!factory) return E_UNEXPECTED;
    const HRESULT c = factory->CreateInstance(nullptr, iid, out);
    if (failed(c)) *out = nullptr;
    return c;
}

void CoFreeUnusedLibraries() {
    std::lock_guard lock(g_mutex);
    auto& table = libraries();
    for (auto it = table.begin(); it != table.end();) {
        const LoadedLibrary& lib = it->second;
        // A library without DllCanUnloadNow cannot tell; it stays loaded.
        if (lib.canUnloadNow && lib.canUnloadNow() == S_OK) {
            dlclose(lib.handle);
            it = table.erase(it);
        } else {
            ++it;
        }
    }
}

bool isLibraryLoaded(const QString& libraryPath) {
    const QString canonical = QFileInfo(libraryPath).canonicalFilePath();
    std::lock_guard lock(g_mutex);
    return !canonical.isEmpty() && libraries().count(canonical) != 0;
}

}  // namespace velmora::com
