#pragma once
// The two interfaces between the hall and a game plug-in. The hall and every plug-in compile
// this one declaration: the virtual functions are the slots, in this order, after the three of
// IUnknown. Every method uses the safe-call form (velmora::com::safeCall): it answers S_OK unless
// an error escaped its body. Text parameters are zero-terminated GBK; frames are byte strings
// whose first byte is their kind (PluginPublic50.h), owned by the caller and valid only during
// the call.

#include "platform/com/unknown.h"

#include <cstdint>

namespace velmora::contract {

using com::HRESULT;

// The video parameters of InitializePlugin, passed by value.
struct TVideoInfo {
    std::int32_t Port = 0;
    std::int32_t Room = 0;  // room id * 10000 + table number
    const char* Server = nullptr;
};

// Size of the buffer onGetAppPath fills, terminating zero included.
inline constexpr int kAppPathBufferSize = 260;

class IHallInterfaceReq;

// Implemented by the plug-in, called by the hall.
class IHallInterface : public com::IUnknown {
public:
    static constexpr com::IID kIid{0x8C4D2B71, 0x3E5A, 0x4F96, {0xA0, 0xB1, 0x52, 0xC7, 0xD8, 0xE9, 0xF0, 0x13}};

    virtual HRESULT GetPluginVersion(std::int32_t* version) = 0;                           // 1
    virtual HRESULT SetHallInterface(IHallInterfaceReq* req) = 0;                          // 2
    virtual HRESULT InitializePlugin(std::int64_t cookie, const char* caption,             // 3
                                     const char* homeUrl, const void* userInfo,
                                     const char* userName, std::int32_t faceNum,
                                     std::int64_t reserved, TVideoInfo video,
                                     const char* dataDir, std::int32_t reserved2) = 0;
    virtual HRESULT Reserved4(std::int32_t, std::int32_t, std::int32_t, std::int32_t,     // 4
                              std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual HRESULT Reserved5(std::int32_t, std::int32_t, std::int32_t, std::int32_t,     // 5
                              std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                              std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual HRESULT Reserved6(std::int32_t, std::int32_t, std::int32_t, std::int32_t,     // 6
                              std::int32_t, std::int32_t) = 0;
    virtual HRESULT Reserved7(std::int32_t, std::int32_t, std::int32_t, std::int32_t,     // 7
                              std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual HRESULT FinalizePlugin(std::int32_t unused) = 0;                               // 8
    virtual HRESULT ShowPlugin(std::int32_t state) = 0;                                    // 9
    virtual HRESULT SetUserName(const std::int64_t* userId, const char* name,              // 10
                                std::int32_t faceNum, std::int32_t, std::int32_t) = 0;
    virtual HRESULT Reserved11(std::int32_t, std::int32_t, std::int32_t) = 0;              // 11
    virtual HRESULT ShowChatText(std::int32_t len, const char* text) = 0;                  // 12
    virtual HRESULT PrepCommand(std::int32_t len, const std::uint8_t* data) = 0;           // 13

protected:
    ~IHallInterface() = default;
};

// Implemented by the hall (TITryPluginInterface), called by the plug-in. Cookie is the value
// the hall passed to InitializePlugin, echoed unread.
class IHallInterfaceReq : public com::IUnknown {
public:
    static constexpr com::IID kIid{0x8C4D2B72, 0x3E5A, 0x4F96, {0xA0, 0xB1, 0x52, 0xC7, 0xD8, 0xE9, 0xF0, 0x13}};

    virtual HRESULT onGetHallVer(std::int32_t* version) = 0;                               // 1
    virtual HRESULT onAskJoinCOM(std::int32_t, std::int32_t, std::int32_t) = 0;            // 2
    virtual HRESULT onAnswerJoinCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t, // 3
                                    std::int32_t, std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual HRESULT onQuitCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t,      // 4
                              std::int32_t) = 0;
    virtual HRESULT onCreatedCOM(std::int32_t, std::int32_t, std::int32_t, std::int32_t,   // 5
                                 std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual HRESULT onFilterWord(std::int64_t cookie, const char* text, std::int32_t kind, // 6
                                 bool* allowed) = 0;
    virtual HRESULT onChangedCOMProperty(std::int32_t, std::int32_t, std::int32_t,         // 7
                                         std::int32_t, std::int32_t, std::int32_t) = 0;
    virtual HRESULT onChangedCOMStatus(std::int32_t, std::int32_t, std::int32_t,           // 8
                                       std::int32_t) = 0;
    virtual HRESULT onAskUserInvite(std::int64_t cookie, std::int32_t, std::int32_t) = 0;  // 9
    virtual HRESULT onAskUserInfo(std::int64_t cookie, std::int64_t userId) = 0;           // 10
    virtual HRESULT onClosedCOM(std::int64_t cookie) = 0;                                  // 11
    virtual HRESULT onDisplayUserInfo(std::int64_t cookie, std::int64_t userId) = 0;       // 12
    // `path` is a buffer of kAppPathBufferSize bytes.
    virtual HRESULT onGetAppPath(std::int64_t cookie, char* path) = 0;                     // 13
    virtual HRESULT onGetPhotoFile(std::int32_t, std::int32_t, std::int32_t,               // 14
                                   std::int32_t) = 0;
    virtual HRESULT onAddFriend(std::int64_t cookie, std::int64_t userId) = 0;             // 15
    virtual HRESULT onRunFun(std::int32_t, std::int32_t, std::int32_t, std::int32_t,       // 16
                             std::int32_t) = 0;
    // *url points to text owned by the hall object, valid while that object lives.
    virtual HRESULT onRequestAd(std::int64_t cookie, std::int32_t kind, const char** url) = 0; // 17
    virtual HRESULT onPrepOrder(std::int64_t cookie, std::int64_t toUser, std::int32_t len, // 18
                                const std::uint8_t* data) = 0;

protected:
    ~IHallInterfaceReq() = default;
};

}  // namespace velmora::contract
