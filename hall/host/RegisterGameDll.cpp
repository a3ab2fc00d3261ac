#include "RegisterGameDll.h"

#include "platform/com/registerlibrary.h"

#include <QDebug>
#include <QDir>
#include <QProcess>

namespace velmora::hall {

bool RegisterGameDll(const QString& dllPath, const RegisterGameDllOptions& options) {
    const com::RegisterOutcome direct = com::registerLibrary(dllPath);
    if (direct.ok()) return true;
    qWarning().noquote() << "RegisterGameDll:" << direct.message;

    // The second attempt goes through the separate program, as the original did through the
    // shell. Its exit status decides: a program that could not start or that failed is a
    // failure, never a success.
    QString program = options.regsvrProgram;
    if (program.isEmpty()) program = QDir(options.appPath).filePath(QStringLiteral("velmora-regsvr"));
    QProcess regsvr;
    if (!options.appPath.isEmpty()) regsvr.setWorkingDirectory(options.appPath);
    regsvr.start(program, {QStringLiteral("/s"), dllPath});
    const bool ran = regsvr.waitForStarted(10000) && regsvr.waitForFinished(30000);
    if (ran && regsvr.exitStatus() == QProcess::NormalExit && regsvr.exitCode() == 0) return true;
    if (regsvr.state() != QProcess::NotRunning) {
        regsvr.kill();
        regsvr.waitForFinished(1000);
    }
    if (options.showError) options.showError(kRegisterGameDllFailed);
    return false;
}

}  // namespace velmora::hall
