#pragma once
// The root interface and the class factory. Interfaces are abstract classes whose virtual
// functions are the slots in declaration order; they have no virtual destructor (that would
// add slots) and are destroyed only through Release(). Both sides of a boundary compile the same
// declaration, so the slot order is the contract.

#include "platform/com/guid.h"
#include "platform/com/hresult.h"

namespace velmora::com {

class IUnknown {
public:
    static constexpr IID kIid{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    // On success *out holds a new reference; on failure *out is null.
    virtual HRESULT QueryInterface(const IID& iid, void** out) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default;
};

class IClassFactory : public IUnknown {
public:
    static constexpr IID kIid{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

    // `outer` must be null: aggregation is not supported (CLASS_E_NOAGGREGATION).
    virtual HRESULT CreateInstance(IUnknown* outer, const IID& iid, void** out) = 0;
    // Keeps the library loaded while locked, even with no objects alive.
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// The four entry points of a COM-style library, exported with C linkage.
using DllGetClassObjectFn = HRESULT (*)(const CLSID& clsid, const IID& iid, void** out);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();
using DllUnregisterServerFn = HRESULT (*)();

}  // namespace velmora::com
