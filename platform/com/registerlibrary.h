#pragma once
// Calling a library's own register (or unregister) entry point, as "regsvr32" does: load it,
// call DllRegisterServer / DllUnregisterServer, unload it. Used by velmora-regsvr and by the
// hall's RegisterGameDll. Every failure is reported as a failure.

#include "platform/com/hresult.h"

#include <QString>

namespace velmora::com {

enum class RegisterStatus {
    Ok,
    NotALibrary,       // missing file, or not loadable as a shared library
    NoEntryPoint,      // DllRegisterServer / DllUnregisterServer not exported
    EntryPointFailed,  // the entry point answered a failure
};

struct RegisterOutcome {
    RegisterStatus status = RegisterStatus::NotALibrary;
    HRESULT result = E_FAIL;
    QString message;  // one line for the user, naming the library and the cause
    bool ok() const { return status == RegisterStatus::Ok; }
};

RegisterOutcome registerLibrary(const QString& libraryPath, bool unregister = false);

}  // namespace velmora::com
