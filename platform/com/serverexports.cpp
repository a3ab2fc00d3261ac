// The four entry points of a COM-style library. Compiled into each server library (not into
// velmora_com), so that they are the library's own; the version script serverexports.map keeps
// them the only exported symbols.

#include "platform/com/dllserver.h"

using velmora::com::CLSID;
using velmora::com::HRESULT;
using velmora::com::IID;

extern "C" {

__attribute__((visibility("default"))) HRESULT DllUnregisterServer() {
    return velmora::com::server::unregisterServer();
}

__attribute__((visibility("default"))) HRESULT DllRegisterServer() {
    return velmora::com::server::registerServer();
}

__attribute__((visibility("default"))) HRESULT DllCanUnloadNow() {
    return velmora::com::server::canUnloadNow();
}

__attribute__((visibility("default"))) HRESULT DllGetClassObject(const CLSID& clsid, const IID& iid,
                                                                  void** out) {
    return velmora::com::server::getClassObject(clsid, iid, out);
}

}  // extern "C"
