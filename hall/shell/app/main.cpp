// velmora: the hall program.
#include "hall/room/ui/tfrmgameclient.h"
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
    // The game tree and the room window live as long as their main window (children of it).
    hall.onMainWindow([](velmora::hall::TfrmMain& main) {
        auto* tree = new velmora::hall::GameTree(main);
        main.setGameTree(tree);
        auto* room = new velmora::hall::TfrmGameClient;  // setRoomClient puts it on the game page
        room->onRoomOnline = [tree](qint32 roomId, qint32 count) { tree->SetRoomOnline(roomId, count); };
        // Leaving the room hides the game tab with the window.
        QObject::connect(room, &velmora::hall::TfrmGameClient::roomWindowHidden, &main,
                         &velmora::hall::TfrmMain::hideGamePage);
        main.setRoomClient(room, room);
    });
    velmora::hall::RunStartup(hall);
    return 0;
}
