#include "hall/shell/core/startup.h"

#include "hall/foundation/debuglog.h"
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "hall/foundation/web/netsetting.h"

namespace velmora::hall {

QString ReloginText(const QString& exitMessage) {
    return exitMessage + QLatin1Char('\r') + QStringLiteral("重试重新登录，取消退出游戏");
}

QString ExitRequestUrl() {
    const HallContext& context = HallContext::instance();
    const QString exitUrl = context.url(QStringLiteral("exiturl"));
    if (exitUrl.isEmpty())
        return {};
    return exitUrl + QStringLiteral("?token=") + context.Token;
}

StartupEnd RunStartup(StartupHost& host) {
    if (!host.acquireSingleInstance()) {
        host.activateRunningInstance();
        return StartupEnd::SecondInstance;
    }
    HallContext& context = HallContext::instance();
    context.ProgramVersion = QStringLiteral("1.3.64.51");
    context.AppPath = host.programFolder();
    context.DocumentsPath = host.documentsFolder();
    context.DebugLogOn = false;
    context.LoginOK = false;
    context.UpdateTime = ReadUpdateTime(context.AppPath + kGameIniName, context.ProgramVersion);
    LoadNetSetting(host.registry());
    context.ExitMessage.clear();

    StartupEnd end = StartupEnd::NoSession;
    if (host.getSession()) {
        host.runLogin();
        if (!context.LoginOK) {
            end = StartupEnd::LoginCancelled;
        } else {
            if (context.DebugLogOn)
                OpenDebugLogs(context.AppPath);
            host.runMainWindow();
            if (context.DebugLogOn)
                CloseDebugLogs();
            end = StartupEnd::Closed;
            if (!context.ExitMessage.isEmpty() && host.askRelogin(ReloginText(context.ExitMessage))) {
                host.releaseSingleInstance();
                host.restartProgram();
                end = StartupEnd::Restarted;
            }
        }
    }
    const QString exitUrl = ExitRequestUrl();
    if (!exitUrl.isEmpty())
        host.sendExitRequest(exitUrl);
    return end;
}

}  // namespace velmora::hall
