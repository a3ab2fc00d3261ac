#include "TITryPluginInterface.h"

#include "contract/PluginPublic50.h"
#include "platform/codepage/codepage.h"
#include "platform/com/comptr.h"

#include <QDebug>
#include <cstring>

namespace velmora::hall {

using com::ComError;
using com::HRESULT;
using com::S_OK;

TITryPluginInterface::TITryPluginInterface(IPluginRoomClient& room, QString appPath, QString adUrl)
    : m_room(room), m_appPath(std::move(appPath)), m_adUrl(adUrl.toUtf8()) {}

HRESULT TITryPluginInterface::onGetHallVer(std::int32_t*) {
    // The version stays as the caller set it.
    return com::safeCall(this, [] {});
}

HRESULT TITryPluginInterface::onAskJoinCOM(std::int32_t, std::int32_t, std::int32_t) { return S_OK; }
HRESULT TITryPluginInterface::onAnswerJoinCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                              std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TITryPluginInterface::onQuitCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TITryPluginInterface::onCreatedCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                           std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}

HRESULT TITryPluginInterface::onFilterWord(std::int64_t, const char*, std::int32_t, bool*) {
    // No word filter: Allowed stays as the caller set it.
    return S_OK;
}

HRESULT TITryPluginInterface::onChangedCOMProperty(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                                   std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TITryPluginInterface::onChangedCOMStatus(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TITryPluginInterface::onAskUserInvite(std::int64_t, std::int32_t, std::int32_t) { return S_OK; }

HRESULT TITryPluginInterface::onAskUserInfo(std::int64_t, std::int64_t userId) {
    return com::safeCall(this, [&] {
        const auto member = m_room.findRoomMember(userId);
        if (!member) return;
        // Held for the call: the plug-in may end its session from inside SetUserName.
        const com::ComPtr<contract::IHallInterface> plugin(m_room.plugin());
        if (!plugin) return;
        char name[contract::kNickNameSize + 1] = {};
        const QByteArray cut = platform::gbkCut(member->nameGbk, contract::kNickNameSize);
        std::memcpy(name, cut.constData(), size_t(cut.size()));
        const std::int64_t id = userId;
        com::check(plugin->SetUserName(&id, name, member->faceNum, 0, 0), "SetUserName");
    });
}

HRESULT TITryPluginInterface::onClosedCOM(std::int64_t cookie) {
    return com::safeCall(this, [&] { m_room.onClosedCOM(cookie); });
}

HRESULT TITryPluginInterface::onDisplayUserInfo(std::int64_t, std::int64_t) { return S_OK; }

HRESULT TITryPluginInterface::onGetAppPath(std::int64_t, char* path) {
    return com::safeCall(this, [&] {
        if (!path) throw ComError(com::E_POINTER, "onGetAppPath");
        QString folder = m_appPath;
        if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
        const QByteArray bytes = platform::toGbk(folder);
        // The folder must fit whole with its zero: a cut path would name another folder.
        if (m_appPath.isEmpty() || bytes.size() >= contract::kAppPathBufferSize) {
            path[0] = '\0';
            throw ComError(com::E_FAIL, "onGetAppPath: the hall's folder does not fit in 260 bytes");
        }
        std::memcpy(path, bytes.constData(), size_t(bytes.size()));
        path[bytes.size()] = '\0';
    });
}

HRESULT TITryPluginInterface::onGetPhotoFile(std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}
HRESULT TITryPluginInterface::onAddFriend(std::int64_t, std::int64_t) { return S_OK; }
HRESULT TITryPluginInterface::onRunFun(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) {
    return S_OK;
}

HRESULT TITryPluginInterface::onRequestAd(std::int64_t, std::int32_t, const char** url) {
    return com::safeCall(this, [&] {
        if (!url) throw ComError(com::E_POINTER, "onRequestAd");
        *url = m_adUrl.constData();
    });
}

HRESULT TITryPluginInterface::onPrepOrder(std::int64_t cookie, std::int64_t toUser, std::int32_t len,
                                          const std::uint8_t* data) {
    return com::safeCall(this, [&] {
        if (len <= 0) return;
        if (!data) throw ComError(com::E_POINTER, "onPrepOrder");
        if (len > contract::kMaxUserListFrame) {
            qWarning("onPrepOrder: frame of %d bytes dropped", len);
            throw ComError(com::E_INVALIDARG, "onPrepOrder: frame too long");
        }
        const QByteArray frame(reinterpret_cast<const char*>(data), len);
        try {
            m_room.onPrepOrder(cookie, toUser, frame);
        } catch (const std::exception& e) {
            // The relay's failures lose the frame, not the session.
            qWarning("onPrepOrder: frame of kind %d failed: %s", int(quint8(frame[0])), e.what());
        }
    });
}

}  // namespace velmora::hall
