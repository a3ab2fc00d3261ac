// velmora: the hall program.
#include "hall/shell/core/startup.h"
#include "hall/shell/ui/hallapp.h"
#include "hall/shell/ui/gametree.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/tfrmmain.h"

#include <QApplication>
#include <unistd.h>

int main(int argc, char** argv) {
    // The web engine refuses to start its sandbox as root; the hall pages are the operator's
    // own, so running them unsandboxed there is the lesser evil.
    if (::geteuid() == 0 && qEnvironmentVariableIsEmpty("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    velmora::hall::RegisterHallSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(velmora::hall::kApplicationTitle);
    QApplication::setQuitOnLastWindowClosed(false);
    velmora::hall::HallApp hall;
    // The game tree lives as long as its main window (a child of it).
    hall.onMainWindow([](velmora::hall::TfrmMain& main) {
        main.setGameTree(new velmora::hall::GameTree(main));
    });
    velmora::hall::RunStartup(hall);
    return 0;
}
