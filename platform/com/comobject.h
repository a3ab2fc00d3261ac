#pragma once
// Implementation helpers for objects served by a COM-style library: reference counting,
// QueryInterface, the library's count of live objects (for DllCanUnloadNow) and the
// safe-call form.
//
// Safe-call: every interface method returns an HRESULT. The body runs inside safeCall(), which
// turns an escaping exception into a failure result (ComError keeps its own code, bad_alloc
// becomes E_OUTOFMEMORY, anything else E_UNEXPECTED). A caller turns a failure back into an
// exception with check(). safeCall() also holds a reference to the object for the duration of
// the call, so a callee that makes the caller drop its last reference (the hall releasing the
// plug-in from inside onClosedCOM, say) does not destroy the object under its own method.

#include "platform/com/unknown.h"

#include <atomic>
#include <new>
#include <stdexcept>
#include <string>

namespace velmora::com {

class ComError : public std::runtime_error {
public:
    ComError(HRESULT result, const std::string& what);
    HRESULT result() const { return m_result; }

private:
    HRESULT m_result;
};

// Throws ComError when `result` is a failure; returns it otherwise.
HRESULT check(HRESULT result, const char* what = "COM call");

// Counts of the library this code is linked into. Each shared library links its own copy
// (its symbols are hidden), so the counts are per library.
namespace module {
void objectCreated();
void objectDestroyed();
void lockServer(bool lock);
long liveObjects();
long serverLocks();
// True when neither an object nor a lock is alive: DllCanUnloadNow answers S_OK.
bool canUnload();
}  // namespace module

// Holds a reference to `self` for its lifetime.
class SelfReference {
public:
    explicit SelfReference(IUnknown* self) : m_self(self) {
        if (m_self) m_self->AddRef();
    }
    ~SelfReference() {
        if (m_self) m_self->Release();
    }
    SelfReference(const SelfReference&) = delete;
    SelfReference& operator=(const SelfReference&) = delete;

private:
    IUnknown* m_self;
};

template <typename Body>
HRESULT safeCall(IUnknown* self, Body&& body) noexcept {
    SelfReference keep(self);
    try {
        if constexpr (std::is_same_v<decltype(body()), HRESULT>) {
            return body();
        } else {
            body();
            return S_OK;
        }
    } catch (const ComError& e) {
        return e.result();
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_UNEXPECTED;
    }
}

// Reference-counted object implementing one interface (and IUnknown). The interface names
// its identifier as `static constexpr IID kIid`. Objects start with a count of 0; the creator
// takes the first reference through QueryInterface or ComPtr.
template <typename Interface>
class ComObject : public Interface {
public:
    ComObject() { module::objectCreated(); }
    virtual ~ComObject() { module::objectDestroyed(); }
    ComObject(const ComObject&) = delete;
    ComObject& operator=(const ComObject&) = delete;

    HRESULT QueryInterface(const IID& iid, void** out) override {
        if (!out) return E_POINTER;
        if (iid == IUnknown::kIid || iid == Interface::kIid) {
            *out = static_cast<Interface*>(this);
            this->AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    ULONG refCount() const { return m_refs; }

private:
    std::atomic<ULONG> m_refs{0};
};

}  // namespace velmora::com
