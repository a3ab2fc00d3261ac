#pragma once
// What the plug-in's COM object (TPluginInterface50) needs of the plug-in window and of the
// share component on it. The window owns the share; the COM object owns the window.

#include "contract/HallInterface_TLB.h"

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

namespace velmora::plugin {

// The session values InitializePlugin hands to the share. Texts are still GBK.
struct SessionParams {
    QByteArray caption;
    QByteArray homeUrl;
    std::int64_t cookie = 0;
    std::uint64_t ownWindow = 0;
    std::int64_t ownUserId = 0;
    QByteArray ownNickName;
    std::uint16_t ownFaceNum = 0;
    std::int32_t videoPort = 0;
    std::int32_t videoRoom = 0;
    QByteArray videoServer;
    QByteArray dataDir;
};

class IPluginShare {
public:
    virtual ~IPluginShare() = default;
    virtual std::int32_t interfaceVersion() const = 0;
    // Keeps the hall's reference (releasing an earlier one) and asks onGetHallVer.
    virtual void setHallInterface(contract::IHallInterfaceReq* hall) = 0;
    virtual void initialize(const SessionParams& params) = 0;
    virtual void finalize() = 0;
    // Name: GBK, at most 24 bytes. False when the id is not a member (nothing changes).
    virtual bool setUserName(std::int64_t userId, const QByteArray& name, std::uint16_t faceNum) = 0;
    // A line without sender for the table chat.
    virtual void showChatText(const QByteArray& text) = 0;
    // A frame from the hall, already copied; handled completely before the call returns.
    virtual void prepCommand(const QByteArray& frame) = 0;
};

// The plug-in window as the COM object sees it.
class IPluginClientForm {
public:
    virtual ~IPluginClientForm() = default;
    // The form's share component, or null when it has none.
    virtual IPluginShare* share() = 0;
    virtual void setCaption(const QByteArray& captionGbk) = 0;
    virtual void show() = 0;
    // Puts the window on top of the others, shows it and restores it when minimized.
    virtual void bringToFront() = 0;
    virtual std::uint64_t windowHandle() const = 0;
};

// The plug-in registers its form class by name when the library loads; the COM object looks
// "TFormPluginClient" up at creation.
using PluginFormFactory = std::function<std::unique_ptr<IPluginClientForm>()>;
void registerPluginFormClass(const QString& name, PluginFormFactory factory);
void unregisterPluginFormClass(const QString& name);
PluginFormFactory findPluginFormClass(const QString& name);

inline const QString kPluginFormClass = QStringLiteral("TFormPluginClient");

}  // namespace velmora::plugin
