#include "comobject.h"

#include <cstdio>

namespace velmora::com {

ComError::ComError(HRESULT result, const std::string& what)
    : std::runtime_error(what + ": " + hresultText(result)), m_result(result) {}

HRESULT check(HRESULT result, const char* what) {
    if (failed(result)) throw ComError(result, what ? what : "COM call");
    return result;
}

std::string hresultText(HRESULT r) {
    const char* name = nullptr;
    switch (r) {
    case S_OK: name = "success"; break;
    case S_FALSE: name = "false"; break;
    case E_NOTIMPL: name = "not implemented"; break;
    case E_NOINTERFACE: name = "interface not supported"; break;
    case E_POINTER: name = "invalid pointer"; break;
    case E_FAIL: name = "unspecified failure"; break;
    case E_UNEXPECTED: name = "exception in the called method"; break;
    case E_OUTOFMEMORY: name = "out of memory"; break;
    case E_INVALIDARG: name = "invalid argument"; break;
    case CLASS_E_NOAGGREGATION: name = "aggregation not supported"; break;
    case CLASS_E_CLASSNOTAVAILABLE: name = "class not available from this library"; break;
    case REGDB_E_WRITEREGDB: name = "cannot write the class registry"; break;
    case REGDB_E_CLASSNOTREG: name = "class not registered"; break;
    case CO_E_DLLNOTFOUND: name = "library not found or not loadable"; break;
    case CO_E_ERRORINDLL: name = "library lacks a required entry point"; break;
    case SELFREG_E_CLASS: name = "library cannot register its class"; break;
    default: break;
    }
    char buf[80];
    std::snprintf(buf, sizeof buf, "0x%08X (%s)", static_cast<unsigned>(r), name ? name : "unknown");
    return buf;
}

namespace module {
namespace {
std::atomic<long> g_objects{0};
std::atomic<long> g_locks{0};
}  // namespace

void objectCreated() { ++g_objects; }
void objectDestroyed() { --g_objects; }
void lockServer(bool lock) {
    if (lock) {
        ++g_locks;
    } else if (g_locks.load() > 0) {
        --g_locks;
    }
}
long liveObjects() { return g_objects.load(); }
long serverLocks() { return g_locks.load(); }
bool canUnload() { return g_objects.load() == 0 && g_locks.load() == 0; }
}  // namespace module

}  // namespace velmora::com
