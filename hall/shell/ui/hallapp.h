#pragma once
// The program around the start-up sequence: the platform and the windows the sequence and
// the session bootstrap ask for.

#include "hall/foundation/web/session.h"
#include "hall/shell/core/startup.h"
#include "hall/shell/ui/singleinstance.h"
#include "platform/registry/registrystore.h"

#include <QPointer>
#include <functional>
#include <vector>

namespace velmora::hall {

class TfrmMain;

class HallApp : public StartupHost, public SessionHost {
public:
    HallApp();
    ~HallApp() override;

    // StartupHost
    bool acquireSingleInstance() override;
    void activateRunningInstance() override;
    void releaseSingleInstance() override;
    QString programFolder() override;
    QString documentsFolder() override;
    platform::RegistryStore& registry() override { return m_registry; }
    bool getSession() override;
    void runLogin() override;
    void runMainWindow() override;
    bool askRelogin(const QString& text) override;
    bool restartProgram() override;
    void sendExitRequest(const QString& url) override;

    // SessionHost
    void showMessage(const QString& text) override;
    bool runNetSetting() override;
    void terminateApplication() override;

    // Runs `hook` on every main window right after it is created and before it is shown: the
    // program gives it its game tree and its room client there.
    void onMainWindow(std::function<void(TfrmMain&)> hook) { m_mainHooks.push_back(std::move(hook)); }

private:
    platform::RegistryStore m_registry;
    SingleInstance m_instance;
    QPointer<TfrmMain> m_main;
    std::vector<std::function<void(TfrmMain&)>> m_mainHooks;
};

}  // namespace velmora::hall
