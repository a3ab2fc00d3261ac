#pragma once
// Server support for a COM-style library: what its four entry points do. A server library
// (see velmora_com_server() in CMake) compiles serverexports.cpp, which exports exactly
// DllUnregisterServer, DllRegisterServer, DllCanUnloadNow and DllGetClassObject with C linkage
// and hands them to the functions below, and defines createServerObject() for its one class.
//
// The class is described by the library's own identity block (see versioninfo.h), read once
// from the library's file (not the host program's):
//   class id      the GUID in Comments
//   class name    LegalTrademarks
//   description   ProductName
//   ProgID        the library's file name without "lib" and ".so", first letter upper-case,
//                 a dot and the class name ("libquellmark.so" + "Landlord" = "Quellmark.Landlord")
//   threading     "Apartment"
// A library whose identity names no valid class id cannot register (SELFREG_E_CLASS) and serves
// no class (CLASS_E_CLASSNOTAVAILABLE).

#include "platform/com/classregistry.h"
#include "platform/com/unknown.h"
#include "platform/com/versioninfo.h"

namespace velmora::com::server {

// Defined by each server library: creates a new object of its class and queries `iid`.
HRESULT createServerObject(const IID& iid, void** out);

// Absolute path of the library this code is linked into.
QString modulePath();
const TFileVersionInfomation& moduleIdentity();
// The class the identity describes (clsid null when the identity has none).
ClassRegistration moduleClass();

HRESULT getClassObject(const CLSID& clsid, const IID& iid, void** out);
HRESULT canUnloadNow();
HRESULT registerServer();
HRESULT unregisterServer();

}  // namespace velmora::com::server
