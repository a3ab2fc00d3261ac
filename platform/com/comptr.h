#pragma once
// Owning reference to an interface: AddRef on copy, Release on destruction.

#include "platform/com/unknown.h"

#include <utility>

namespace velmora::com {

template <typename T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference to `p`.
    explicit ComPtr(T* p) : m_p(p) {
        if (m_p) m_p->AddRef();
    }
    ComPtr(const ComPtr& o) : ComPtr(o.m_p) {}
    ComPtr(ComPtr&& o) noexcept : m_p(std::exchange(o.m_p, nullptr)) {}
    ~ComPtr() { reset(); }
    ComPtr& operator=(const ComPtr& o) {
        ComPtr(o).swap(*this);
        return *this;
    }
    ComPtr& operator=(ComPtr&& o) noexcept {
        ComPtr(std::move(o)).swap(*this);
        return *this;
    }

    // Adopts a reference the caller already owns (no AddRef).
    static ComPtr attach(T* p) {
        ComPtr r;
        r.m_p = p;
        return r;
    }
    T* detach() { return std::exchange(m_p, nullptr); }

    void reset() {
        // Cleared before Release so that a re-entrant call during destruction sees no object.
        if (T* p = std::exchange(m_p, nullptr)) p->Release();
    }
    void swap(ComPtr& o) noexcept { std::swap(m_p, o.m_p); }

    T* get() const { return m_p; }
    T* operator->() const { return m_p; }
    explicit operator bool() const { return m_p != nullptr; }

    // For out parameters: releases the current reference and hands out the slot.
    void** put() {
        reset();
        return reinterpret_cast<void**>(&m_p);
    }

    // QueryInterface for U (which names its own kIid). Null when not supported.
    template <typename U>
    ComPtr<U> as() const {
        ComPtr<U> r;
        if (m_p) m_p->QueryInterface(U::kIid, r.put());
        return r;
    }

private:
    T* m_p = nullptr;
};

}  // namespace velmora::com
