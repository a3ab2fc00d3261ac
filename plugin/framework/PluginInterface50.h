#pragma once
// TPluginInterface50: the plug-in's COM object, implementing IHallInterface. It creates the
// plug-in form at construction (by the registered form class) and forwards every call to the
// form's share. Without a form or share every method does nothing and GetPluginVersion answers
// -1. Every method runs in the safe-call form and holds a reference to the object meanwhile.

#include "plugin/framework/pluginshare.h"

#include "platform/com/comobject.h"

namespace velmora::plugin {

class TPluginInterface50 final : public com::ComObject<contract::IHallInterface> {
public:
    TPluginInterface50();
    ~TPluginInterface50() override;

    com::HRESULT GetPluginVersion(std::int32_t* version) override;
    com::HRESULT SetHallInterface(contract::IHallInterfaceReq* req) override;
    com::HRESULT InitializePlugin(std::int64_t cookie, const char* caption, const char* homeUrl,
                                  const void* userInfo, const char* userName, std::int32_t faceNum,
                                  std::int64_t reserved, contract::TVideoInfo video,
                                  const char* dataDir, std::int32_t reserved2) override;
    com::HRESULT Reserved4(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t, std::int32_t) override;
    com::HRESULT Reserved5(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t) override;
    com::HRESULT Reserved6(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t) override;
    com::HRESULT Reserved7(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                           std::int32_t, std::int32_t) override;
    com::HRESULT FinalizePlugin(std::int32_t unused) override;
    com::HRESULT ShowPlugin(std::int32_t state) override;
    com::HRESULT SetUserName(const std::int64_t* userId, const char* name, std::int32_t faceNum,
                             std::int32_t, std::int32_t) override;
    com::HRESULT Reserved11(std::int32_t, std::int32_t, std::int32_t) override;
    com::HRESULT ShowChatText(std::int32_t len, const char* text) override;
    com::HRESULT PrepCommand(std::int32_t len, const std::uint8_t* data) override;

    IPluginClientForm* form() const { return m_form.get(); }

private:
    std::unique_ptr<IPluginClientForm> m_form;  // owned; owns the share
    IPluginShare* m_share = nullptr;
};

// Longest text read from a zero-terminated parameter whose buffer size the caller does not
// give (captions, addresses, folders).
inline constexpr qsizetype kMaxParamText = 4096;

}  // namespace velmora::plugin
