#include "dllserver.h"

#include "platform/com/comobject.h"
#include "platform/com/comptr.h"

#include <QFileInfo>
#include <dlfcn.h>

namespace velmora::com::server {
namespace {

class ClassFactory final : public ComObject<IClassFactory> {
public:
    HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** out) override {
        if (!out) return E_POINTER;
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return safeCall(this, [&] {
            const HRESULT r = createServerObject(iid, out);
            if (failed(r)) *out = nullptr;
            return r;
        });
    }
    HRESULT LockServer(bool lock) override {
        module::lockServer(lock);
        return S_OK;
    }
};

}  // namespace

QString modulePath() {
    Dl_info info{};
    if (dladdr(reinterpret_cast<void*>(&modulePath), &info) == 0 || !info.dli_fname) return {};
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

const TFileVersionInfomation& moduleIdentity() {
    static const TFileVersionInfomation identity = [] {
        TFileVersionInfomation v;
        ReadVersionInfo(modulePath(), v);
        return v;
    }();
    return identity;
}

ClassRegistration moduleClass() {
    const TFileVersionInfomation& id = moduleIdentity();
    ClassRegistration reg;
    reg.clsid = guidFromString(id.Comments.trimmed().toStdString()).value_or(GUID_NULL);
    reg.description = id.ProductName;
    reg.libraryPath = modulePath();
    reg.progId = ClassRegistry::progIdFor(reg.libraryPath, id.LegalTrademarks);
    return reg;
}

HRESULT getClassObject(const CLSID& clsid, const IID& iid, void** out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const CLSID own = moduleClass().clsid;
    if (own.isNull() || clsid != own) return CLASS_E_CLASSNOTAVAILABLE;
    return safeCall(nullptr, [&] {
        ComPtr<ClassFactory> factory(new ClassFactory);
        return factory->QueryInterface(iid, out);
    });
}

HRESULT canUnloadNow() { return module::canUnload() ? S_OK : S_FALSE; }

HRESULT registerServer() {
    const ClassRegistration reg = moduleClass();
    if (reg.clsid.isNull() || reg.libraryPath.isEmpty()) return SELFREG_E_CLASS;
    return ClassRegistry().registerClass(reg) ? S_OK : SELFREG_E_CLASS;
}

HRESULT unregisterServer() {
    const ClassRegistration reg = moduleClass();
    if (reg.clsid.isNull()) return SELFREG_E_CLASS;
    return ClassRegistry().unregisterClass(reg.clsid) ? S_OK : SELFREG_E_CLASS;
}

}  // namespace velmora::com::server
