#pragma once
// TCustomPluginShare: the plug-in's door to the hall. This is its hall-facing core: the hall
// reference and version, the session values, the folder from onGetAppPath, the inbound frame
// copy and count, the members' names, and the session's end. Frame dispatch by kind, the
// table's members and game state, the panels and the game view build on it
// (processCommand() and the hooks below).

#include "plugin/framework/pluginshare.h"

#include "contract/PluginPublic50.h"
#include "platform/com/comptr.h"

#include <vector>

namespace velmora::plugin {

class TCustomPluginShare : public IPluginShare {
public:
    TCustomPluginShare() = default;
    ~TCustomPluginShare() override;

    std::int32_t interfaceVersion() const override { return m_interfaceVersion; }
    void setHallInterface(contract::IHallInterfaceReq* hall) override;
    void initialize(const SessionParams& params) override;
    void finalize() override;
    bool setUserName(std::int64_t userId, const QByteArray& name, std::uint16_t faceNum) override;
    void showChatText(const QByteArray& text) override;
    void prepCommand(const QByteArray& frame) override;

    // Sends one frame up with onPrepOrder (target 0: the table). Nothing without a hall; a
    // failure of the hall raises com::ComError.
    void sendFrame(const QByteArray& frame, std::int64_t target = 0);

    contract::IHallInterfaceReq* hall() const { return m_hall.get(); }
    std::int32_t hallVersion() const { return m_hallVersion; }
    const SessionParams& session() const { return m_session; }
    const QString& hallDir() const { return m_hallDir; }
    bool finalized() const { return m_finalized; }
    int commandCount() const { return m_commandCount; }
    std::vector<contract::STRU_PLUGIN_USERINFO>& members() { return m_members; }

    // Events (set by the form and its panels).
    std::function<void()> onSetInterface;
    std::function<void(const QByteArray&)> onChatText;  // text without sender
    std::function<void()> onFinalize;

protected:
    // Dispatches one inbound frame; the frame stays valid only during the call.
    virtual void processCommand(const QByteArray& frame);

private:
    std::int32_t m_interfaceVersion = 1;
    com::ComPtr<contract::IHallInterfaceReq> m_hall;
    std::int32_t m_hallVersion = 0;
    SessionParams m_session;
    QString m_hallDir;
    bool m_finalized = false;
    int m_commandCount = 0;
    std::vector<contract::STRU_PLUGIN_USERINFO> m_members;
};

// A plug-in form without a window: owns one share, keeps caption and visibility. It stands in
// for the plug-in window until that exists, and serves hosts that run the plug-in headless.
class HeadlessPluginForm : public IPluginClientForm {
public:
    HeadlessPluginForm() : m_share(std::make_unique<TCustomPluginShare>()) {}
    IPluginShare* share() override { return m_share.get(); }
    void setCaption(const QByteArray& captionGbk) override { m_caption = captionGbk; }
    void show() override { m_visible = true; }
    void bringToFront() override {
        m_visible = true;
        ++m_raised;
    }
    std::uint64_t windowHandle() const override { return 0; }

    const QByteArray& caption() const { return m_caption; }
    bool visible() const { return m_visible; }
    int raised() const { return m_raised; }
    TCustomPluginShare* customShare() const { return m_share.get(); }

private:
    std::unique_ptr<TCustomPluginShare> m_share;
    QByteArray m_caption;
    bool m_visible = false;
    int m_raised = 0;
};

}  // namespace velmora::plugin
