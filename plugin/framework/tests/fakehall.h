#pragma once
// A hall callback object for plug-in tests: records the calls it receives.

#include "contract/HallInterface_TLB.h"
#include "platform/com/comobject.h"

#include <QByteArray>
#include <QStringList>
#include <cstring>
#include <functional>
#include <vector>

namespace velmora::plugin::test {

class FakeHall final : public com::ComObject<contract::IHallInterfaceReq> {
public:
    QStringList calls;
    std::vector<QByteArray> frames;
    std::int32_t hallVersion = 7;
    QByteArray appPath = "/opt/velmora/";
    std::function<void()> whenClosed;

    using HRESULT = com::HRESULT;
    HRESULT onGetHallVer(std::int32_t* v) override {
        calls << "onGetHallVer";
        if (v) *v = hallVersion;
        return com::S_OK;
    }
    HRESULT onAskJoinCOM(std::int32_t, std::int32_t, std::int32_t) override { return com::S_OK; }
    HRESULT onAnswerJoinCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                            std::int32_t, std::int32_t, std::int32_t) override { return com::S_OK; }
    HRESULT onQuitCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        return com::S_OK;
    }
    HRESULT onCreatedCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         std::int32_t, std::int32_t) override { return com::S_OK; }
    HRESULT onFilterWord(std::int64_t, const char*, std::int32_t, bool*) override { return com::S_OK; }
    HRESULT onChangedCOMProperty(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                 std::int32_t) override { return com::S_OK; }
    HRESULT onChangedCOMStatus(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        return com::S_OK;
    }
    HRESULT onAskUserInvite(std::int64_t, std::int32_t, std::int32_t) override { return com::S_OK; }
    HRESULT onAskUserInfo(std::int64_t, std::int64_t) override { return com::S_OK; }
    HRESULT onClosedCOM(std::int64_t cookie) override {
        calls << QStringLiteral("onClosedCOM:%1").arg(cookie);
        if (whenClosed) whenClosed();
        return com::S_OK;
    }
    HRESULT onDisplayUserInfo(std::int64_t, std::int64_t) override { return com::S_OK; }
    HRESULT onGetAppPath(std::int64_t cookie, char* path) override {
        calls << QStringLiteral("onGetAppPath:%1").arg(cookie);
        std::memcpy(path, appPath.constData(), size_t(appPath.size()) + 1);
        return com::S_OK;
    }
    HRESULT onGetPhotoFile(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override { return com::S_OK; }
    HRESULT onAddFriend(std::int64_t, std::int64_t) override { return com::S_OK; }
    HRESULT onRunFun(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override {
        return com::S_OK;
    }
    HRESULT onRequestAd(std::int64_t, std::int32_t, const char**) override { return com::S_OK; }
    HRESULT onPrepOrder(std::int64_t cookie, std::int64_t, std::int32_t len, const std::uint8_t* data) override {
        calls << QStringLiteral("onPrepOrder:%1").arg(cookie);
        frames.emplace_back(reinterpret_cast<const char*>(data), len);
        return com::S_OK;
    }
};

}  // namespace velmora::plugin::test
