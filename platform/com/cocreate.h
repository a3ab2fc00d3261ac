#pragma once
// Creating objects by class id: the class registry names the library, which is loaded once
// (dlopen) and asked for its class factory (DllGetClassObject). Libraries stay loaded until
// CoFreeUnusedLibraries() finds that their DllCanUnloadNow answers S_OK; the hall calls it after
// releasing a plug-in (from the event loop, never from inside a plug-in call).
//
// Results: REGDB_E_CLASSNOTREG when the class has no registration, CO_E_DLLNOTFOUND when the
// registered library cannot be loaded, CO_E_ERRORINDLL when it lacks DllGetClassObject,
// CLASS_E_NOAGGREGATION for a non-null outer object; otherwise what the library answers.

#include "platform/com/unknown.h"

#include <QString>

namespace velmora::com {

HRESULT CoGetClassObject(const CLSID& clsid, const IID& iid, void** out);
HRESULT CoCreateInstance(const CLSID& clsid, IUnknown* outer, const IID& iid, void** out);

// Unloads every loaded library whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

// True while `libraryPath` is loaded by CoGetClassObject (the library table of this process).
bool isLibraryLoaded(const QString& libraryPath);

}  // namespace velmora::com
