#pragma once
// The hall's start-up sequence: single instance, local settings, session bootstrap, login,
// main window, the re-login offer after an expired session, and the exit notice. The
// program supplies the windows and the platform through StartupHost; tests supply a fake.

#include "platform/registry/registrystore.h"

#include <QString>

namespace velmora::hall {

inline const QString kApplicationTitle = QStringLiteral("Velmora");
inline const QString kReloginCaption = QStringLiteral("Ardentil提示您");

class StartupHost {
public:
    virtual ~StartupHost() = default;
    // False when another instance of the hall holds the single-instance lock.
    virtual bool acquireSingleInstance() = 0;
    // Asks the running instance to flash and raise its window.
    virtual void activateRunningInstance() = 0;
    virtual void releaseSingleInstance() = 0;
    virtual QString programFolder() = 0;
    virtual QString documentsFolder() = 0;
    virtual platform::RegistryStore& registry() = 0;
    // The session bootstrap; false when the program must end.
    virtual bool getSession() = 0;
    // Shows the login dialog modally; it sets HallContext::LoginOK and CurrentUser.
    virtual void runLogin() = 0;
    // Shows the main window and runs the event loop until it has closed.
    virtual void runMainWindow() = 0;
    // The re-login box (Retry and Cancel); true for Retry.
    virtual bool askRelogin(const QString& text) = 0;
    // Starts the program file again, detached, in the program folder.
    virtual bool restartProgram() = 0;
    // GET of the exit notice; the reply and any failure are ignored.
    virtual void sendExitRequest(const QString& url) = 0;
};

enum class StartupEnd {
    SecondInstance,  // another instance runs: it was raised, nothing else happened
    NoSession,       // the bootstrap failed or ended the program
    LoginCancelled,
    Closed,          // the main window closed
    Restarted,       // the session had expired and the player chose to log in again
};

// Runs the whole sequence. Every end except SecondInstance sends the exit notice.
StartupEnd RunStartup(StartupHost& host);

// ExitMessage + CR + "重试重新登录，取消退出游戏".
QString ReloginText(const QString& exitMessage);
// exiturl + "?token=" + Token; empty when the service named no exit address.
QString ExitRequestUrl();

}  // namespace velmora::hall
