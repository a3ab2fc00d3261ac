#pragma once
// The interface of the test servers built from testserver.cpp.

#include "platform/com/unknown.h"

#include <cstdint>

namespace velmora::com::test {

class ITestRecorder : public IUnknown {
public:
    static constexpr IID kIid{0x7B1E2D3C, 0x4A5F, 0x4B60, {0x81, 0x92, 0xA3, 0xB4, 0xC5, 0xD6, 0xE7, 0xF8}};

    // Appends "Record:<text>" to this object's log.
    virtual HRESULT Record(const char* text) = 0;
    // Copies this object's log (calls received, ";"-separated) with a terminating zero.
    virtual HRESULT GetLog(char* buffer, std::int32_t size) = 0;
    // Throws inside the method: the safe-call form must answer a failure.
    virtual HRESULT Fail() = 0;
    // Live objects of the library (the class factory counts while held).
    virtual HRESULT ModuleObjects(std::int32_t* count) = 0;

protected:
    ~ITestRecorder() = default;
};

}  // namespace velmora::com::test
