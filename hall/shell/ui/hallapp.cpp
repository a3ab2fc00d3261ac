#include "hall/shell/ui/hallapp.h"

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/tfrmlogin.h"
#include "hall/shell/ui/tfrmmain.h"
#include "hall/shell/ui/tfrmnetsetting.h"
#include "platform/shell/shellpaths.h"

#include <QApplication>
#include <QEventLoop>
#include <QIcon>
#include <QProcess>

namespace velmora::hall {

HallApp::HallApp()
    : m_registry(platform::RegistryStore::defaultPath()), m_instance(kApplicationTitle) {
    m_instance.onRaise = [this] {
        QWidget* window = m_main ? static_cast<QWidget*>(m_main) : QApplication::activeModalWidget();
        if (!window)
            return;
        window->showNormal();
        window->raise();
        window->activateWindow();
        QApplication::alert(window);
    };
}

HallApp::~HallApp() = default;

bool HallApp::acquireSingleInstance() { return m_instance.acquire(); }
void HallApp::activateRunningInstance() { m_instance.signalRunning(); }
void HallApp::releaseSingleInstance() { m_instance.release(); }
QString HallApp::programFolder() { return platform::programFolder(); }
QString HallApp::documentsFolder() { return platform::documentsFolder(); }

bool HallApp::getSession() {
    QApplication::setWindowIcon(QIcon(HallContext::instance().AppPath + QStringLiteral("images/velmora.png")));
    return GetSession(*this);
}

void HallApp::runLogin() {
    TfrmLogin login(m_registry);
    login.exec();
}

void HallApp::runMainWindow() {
    TfrmMain* main = new TfrmMain;
    m_main = main;
    main->setWindowIcon(QApplication::windowIcon());
    for (const auto& hook : m_mainHooks)
        hook(*main);
    QEventLoop loop;
    QObject::connect(main, &TfrmMain::closed, &loop, &QEventLoop::quit);
    main->showMaximized();
    loop.exec();
    QApplication::processEvents();
    delete main;
}

bool HallApp::askRelogin(const QString& text) {
    return ShowMessage(nullptr, text, kReloginCaption, QMessageBox::Warning,
                       QMessageBox::Retry | QMessageBox::Cancel) == QMessageBox::Retry;
}

bool HallApp::restartProgram() {
    return QProcess::startDetached(QApplication::applicationFilePath(), {},
                                   HallContext::instance().AppPath);
}

void HallApp::sendExitRequest(const QString& url) {
    HttpRequest(url, QStringLiteral("GET"), QString(), kDefaultRetries, kDefaultTimeoutMs);
}

void HallApp::showMessage(const QString& text) { ShowHint(nullptr, text); }

bool HallApp::runNetSetting() {
    TfrmNetSetting dialog(m_registry);
    return dialog.exec() == 1;
}

void HallApp::terminateApplication() { QApplication::exit(0); }

}  // namespace velmora::hall
