#pragma once
// Registering a game library when creating its plug-in by class id failed.

#include <QString>
#include <functional>

namespace velmora::hall {

struct RegisterGameDllOptions {
    // The regsvr stand-in, run when the library's own register entry point fails in this
    // process. Empty: AppPath + "velmora-regsvr".
    QString regsvrProgram;
    QString appPath;  // working folder of the regsvr run
    // Shows the failure message (caption "提示", error icon). Not called on success.
    std::function<void(const QString& message)> showError;
};

inline const QString kRegisterGameDllFailed =
    QStringLiteral("不能自动注册游戏，请使用管理员权限或是使用完整安装包安装游戏。");

// Loads the library, calls its DllRegisterServer and unloads it. When that fails in any way,
// runs the regsvr program with "/s" and the path and waits for it; true only when it exits with
// status 0. Otherwise shows kRegisterGameDllFailed and returns false.
bool RegisterGameDll(const QString& dllPath, const RegisterGameDllOptions& options = {});

}  // namespace velmora::hall
