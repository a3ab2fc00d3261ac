// A small COM-style server for the tests: its object records the calls it receives.
// Built three times: comtest_recorder, comtest_failing (creation throws), comtest_noid (its
// identity has no class id).

#include "platform/com/comobject.h"
#include "platform/com/dllserver.h"
#include "testrecorder.h"

#include <cstring>
#include <stdexcept>
#include <string>

namespace velmora::com {
namespace {

class Recorder final : public ComObject<test::ITestRecorder> {
public:
    Recorder() { m_log = "create"; }

    HRESULT Record(const char* text) override {
        return safeCall(this, [&] {
            if (!text) throw ComError(E_POINTER, "Record");
            m_log += ";Record:";
            m_log += text;
        });
    }
    HRESULT GetLog(char* buffer, std::int32_t size) override {
        return safeCall(this, [&] {
            if (!buffer || size <= 0) throw ComError(E_POINTER, "GetLog");
            const std::size_t n = std::min<std::size_t>(m_log.size(), std::size_t(size) - 1);
            std::memcpy(buffer, m_log.data(), n);
            buffer[n] = '\0';
        });
    }
    HRESULT Fail() override {
        return safeCall(this, [&] {
            m_log += ";Fail";
            throw std::runtime_error("failure inside the method");
        });
    }
    HRESULT ModuleObjects(std::int32_t* count) override {
        return safeCall(this, [&] {
            if (!count) throw ComError(E_POINTER, "ModuleObjects");
            *count = std::int32_t(module::liveObjects());
        });
    }

private:
    std::string m_log;
};

}  // namespace

HRESULT server::createServerObject(const IID& iid, void** out) {
#ifdef TESTSERVER_FAILS
    (void)iid;
    (void)out;
    throw std::runtime_error("this class cannot be created");
#else
    Recorder* object = new Recorder;
    object->AddRef();
    const HRESULT r = object->QueryInterface(iid, out);
    object->Release();
    return r;
#endif
}

}  // namespace velmora::com
