#include "PluginInterface50.h"

#include "contract/PluginPublic50.h"
#include "platform/codepage/codepage.h"

#include <QDebug>
#include <cstring>
#include <map>

namespace velmora::plugin {
namespace {

using com::ComError;
using com::E_INVALIDARG;
using com::E_POINTER;
using com::HRESULT;
using com::S_OK;

std::map<QString, PluginFormFactory>& formClasses() {
    static std::map<QString, PluginFormFactory> classes;
    return classes;
}

// A zero-terminated parameter, read no further than its terminator or `limit` bytes.
QByteArray paramText(const char* text, qsizetype limit = kMaxParamText) {
    if (!text) return {};
    return QByteArray(text, qsizetype(strnlen(text, size_t(limit))));
}

std::uint16_t faceNumber(std::int32_t face) {
    if (face < 0 || face > 65535) throw ComError(E_INVALIDARG, "face number out of range");
    return std::uint16_t(face);
}

}  // namespace

void registerPluginFormClass(const QString& name, PluginFormFactory factory) {
    formClasses()[name] = std::move(factory);
}

void unregisterPluginFormClass(const QString& name) { formClasses().erase(name); }

PluginFormFactory findPluginFormClass(const QString& name) {
    const auto it = formClasses().find(name);
    return it == formClasses().end() ? PluginFormFactory() : it->second;
}

TPluginInterface50::TPluginInterface50() {
    if (const PluginFormFactory factory = findPluginFormClass(kPluginFormClass)) {
        m_form = factory();
        if (m_form) m_share = m_form->share();
    }
}

TPluginInterface50::~TPluginInterface50() = default;

HRESULT TPluginInterface50::GetPluginVersion(std::int32_t* version) {
    return com::safeCall(this, [&] {
        if (!version) throw ComError(E_POINTER, "GetPluginVersion");
        *version = m_share ? m_share->interfaceVersion() : -1;
    });
}

HRESULT TPluginInterface50::SetHallInterface(contract::IHallInterfaceReq* req) {
    return com::safeCall(this, [&] {
        if (m_share) m_share->setHallInterface(req);
    });
}

HRESULT TPluginInterface50::InitializePlugin(std::int64_t cookie, const char* caption,
                                             const char* homeUrl, const void* userInfo,
                                             const char* userName, std::int32_t faceNum,
                                             std::int64_t, contract::TVideoInfo video,
                                             const char* dataDir, std::int32_t) {
    return com::safeCall(this, [&] {
        if (!m_share) return;
        // Only the first 8 bytes of the hall's user record are read: the player's id.
        if (!userInfo) throw ComError(E_POINTER, "InitializePlugin: no user record");
        SessionParams p;
        p.caption = paramText(caption);
        p.homeUrl = paramText(homeUrl);
        p.cookie = cookie;
        std::memcpy(&p.ownUserId, userInfo, sizeof p.ownUserId);
        p.ownNickName = paramText(userName);
        p.ownFaceNum = faceNumber(faceNum);
        p.videoPort = video.Port;
        p.videoRoom = video.Room;
        p.videoServer = paramText(video.Server);
        p.dataDir = paramText(dataDir);
        m_form->setCaption(p.caption);
        m_form->show();
        p.ownWindow = m_form->windowHandle();
        m_share->initialize(p);
    });
}

HRESULT TPluginInterface50::Reserved4(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                      std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TPluginInterface50::Reserved5(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                      std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                      std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TPluginInterface50::Reserved6(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                      std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TPluginInterface50::Reserved7(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                      std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TPluginInterface50::Reserved11(std::int32_t, std::int32_t, std::int32_t) { return S_OK; }

HRESULT TPluginInterface50::FinalizePlugin(std::int32_t) {
    return com::safeCall(this, [&] {
        if (m_share) m_share->finalize();
    });
}

HRESULT TPluginInterface50::ShowPlugin(std::int32_t state) {
    return com::safeCall(this, [&] {
        if (m_form && m_share && state == 2) m_form->bringToFront();
    });
}

HRESULT TPluginInterface50::SetUserName(const std::int64_t* userId, const char* name,
                                        std::int32_t faceNum, std::int32_t, std::int32_t) {
    return com::safeCall(this, [&] {
        if (!userId || !name) throw ComError(E_POINTER, "SetUserName");
        const std::uint16_t face = faceNumber(faceNum);
        if (!m_share) return;
        // Read at most one byte past the field to know whether it must be cut; never past the
        // terminator. The cut keeps whole GBK characters.
        const QByteArray text = paramText(name, contract::kNickNameSize + 1);
        m_share->setUserName(*userId, platform::gbkCut(text, contract::kNickNameSize), face);
    });
}

HRESULT TPluginInterface50::ShowChatText(std::int32_t len, const char* text) {
    return com::safeCall(this, [&] {
        if (len < 0) throw ComError(E_INVALIDARG, "ShowChatText: negative length");
        if (len == 0) return;
        if (!text) throw ComError(E_POINTER, "ShowChatText");
        if (!m_share) return;
        // One byte more than Len tells whether the cut would split a GBK character.
        m_share->showChatText(platform::gbkCut(paramText(text, qsizetype(len) + 1), len));
    });
}

HRESULT TPluginInterface50::PrepCommand(std::int32_t len, const std::uint8_t* data) {
    return com::safeCall(this, [&] {
        if (len <= 0) return;
        if (!data) throw ComError(E_POINTER, "PrepCommand");
        if (len > contract::kMaxUserListFrame) {
            qWarning("PrepCommand: frame of %d bytes dropped (longest is %d)", len,
                     contract::kMaxUserListFrame);
            throw ComError(E_INVALIDARG, "PrepCommand: frame too long");
        }
        if (!m_share) return;
        m_share->prepCommand(QByteArray(reinterpret_cast<const char*>(data), len));
    });
}

}  // namespace velmora::plugin
