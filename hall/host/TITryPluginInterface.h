#pragma once
// TITryPluginInterface: the hall's callback object handed to a plug-in (IHallInterfaceReq).
// It answers what needs no room itself (onGetHallVer, onGetAppPath, onFilterWord,
// onAskUserInfo, onRequestAd) and hands onPrepOrder and onClosedCOM to the room client; the
// remaining methods answer S_OK and do nothing. Every call runs in the safe-call form and holds a
// reference to this object meanwhile, so the room client may drop it from inside a call.

#include "contract/HallInterface_TLB.h"
#include "platform/com/comobject.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace velmora::hall {

// What the callback object needs of the room client (implemented by the plug-in host).
class IPluginRoomClient {
public:
    struct Member {
        QByteArray nameGbk;  // the room member's name in GBK
        int faceNum = 0;
    };
    virtual ~IPluginRoomClient() = default;
    // A frame from the plug-in, already copied; length at least 1.
    virtual void onPrepOrder(std::int64_t cookie, std::int64_t toUser, const QByteArray& frame) = 0;
    virtual void onClosedCOM(std::int64_t cookie) = 0;
    // A member of the current room, looked up by id.
    virtual std::optional<Member> findRoomMember(std::int64_t userId) const = 0;
    // The open plug-in, or null.
    virtual contract::IHallInterface* plugin() const = 0;
};

class TITryPluginInterface : public com::ComObject<contract::IHallInterfaceReq> {
public:
    // `appPath` is the hall's folder; `adUrl` the advertisement address onRequestAd answers.
    TITryPluginInterface(IPluginRoomClient& room, QString appPath, QString adUrl);

    using HRESULT = com::HRESULT;
    HRESULT onGetHallVer(std::int32_t* version) override;
    HRESULT onAskJoinCOM(std::int32_t, std::int32_t, std::int32_t) override;
    HRESULT onAnswerJoinCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                            std::int32_t, std::int32_t, std::int32_t) override;
    HRESULT onQuitCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override;
    HRESULT onCreatedCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                         std::int32_t, std::int32_t) override;
    HRESULT onFilterWord(std::int64_t cookie, const char* text, std::int32_t kind, bool* allowed) override;
    HRESULT onChangedCOMProperty(std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                 std::int32_t, std::int32_t) override;
    HRESULT onChangedCOMStatus(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override;
    HRESULT onAskUserInvite(std::int64_t cookie, std::int32_t, std::int32_t) override;
    HRESULT onAskUserInfo(std::int64_t cookie, std::int64_t userId) override;
    HRESULT onClosedCOM(std::int64_t cookie) override;
    HRESULT onDisplayUserInfo(std::int64_t cookie, std::int64_t userId) override;
    HRESULT onGetAppPath(std::int64_t cookie, char* path) override;
    HRESULT onGetPhotoFile(std::int32_t, std::int32_t, std::int32_t, std::int32_t) override;
    HRESULT onAddFriend(std::int64_t cookie, std::int64_t userId) override;
    HRESULT onRunFun(std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t) override;
    HRESULT onRequestAd(std::int64_t cookie, std::int32_t kind, const char** url) override;
    HRESULT onPrepOrder(std::int64_t cookie, std::int64_t toUser, std::int32_t len,
                        const std::uint8_t* data) override;

private:
    IPluginRoomClient& m_room;
    QString m_appPath;
    QByteArray m_adUrl;  // zero-terminated by QByteArray; handed out by onRequestAd
};

}  // namespace velmora::hall
