// roomshots: the hall against a running velmora-server (web service and room servers), through
// the real forms: session, login dialog, main window with its game tree, then a room opened as
// a double-click on it would. Prints how long entering took and saves a picture of the main
// window with the room window on its game tab.
//   VELMORA_BOOTSTRAP_URL=... roomshots <account> <password> <room id> <picture.png>
#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <cstdio>

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/netsetting.h"
#include "hall/foundation/web/session.h"
#include "hall/room/ui/roommembermodel.h"
#include "hall/room/ui/tfrmgameclient.h"
#include "hall/shell/ui/gametree.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/tfrmlogin.h"
#include "hall/shell/ui/tfrmmain.h"
#include "platform/shell/shellpaths.h"

using namespace velmora::hall;

namespace {

class Host : public SessionHost {
public:
    void showMessage(const QString& text) override {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    bool runNetSetting() override { return false; }
    void terminateApplication() override {}
};

// Messages are printed, never waited for.
class PrintedMessages : public MessagePresenter {
public:
    QMessageBox::StandardButton show(QWidget*, const QString& text, const QString& caption,
                                     QMessageBox::Icon, QMessageBox::StandardButtons) override {
        std::fprintf(stderr, "message [%s]: %s\n", qPrintable(caption), qPrintable(text));
        return QMessageBox::Ok;
    }
};

template <typename F>
bool waitFor(F done, int ms = 30000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

}  // namespace

int main(int argc, char** argv) {
    RegisterHallSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    if (argc < 5) {
        std::fprintf(stderr, "usage: roomshots <account> <password> <room id> <picture.png>\n");
        return 2;
    }
    PrintedMessages messages;
    SetMessagePresenter(&messages);
    HallContext& c = HallContext::instance();
    c.AppPath = velmora::platform::programFolder();
    c.DocumentsPath = velmora::platform::documentsFolder();
    velmora::platform::RegistryStore store(velmora::platform::RegistryStore::defaultPath());
    LoadNetSetting(store);
    Host host;
    if (!GetSession(host)) return 1;
    TfrmLogin login(store);
    login.show();
    login.UserName->setEditText(QString::fromLocal8Bit(argv[1]));
    login.PassWord->setText(QString::fromLocal8Bit(argv[2]));
    login.btnLogin->click();
    if (!c.LoginOK) {
        std::fprintf(stderr, "login failed\n");
        return 1;
    }
    login.hide();

    TfrmMain main;
    auto* tree = new GameTree(main);
    main.setGameTree(tree);
    auto* room = new TfrmGameClient;
    room->onRoomOnline = [tree](qint32 id, qint32 count) { tree->SetRoomOnline(id, count); };
    main.setRoomClient(room, room);
    bool treeLoaded = false;
    QObject::connect(tree, &GameTree::treeLoaded, [&](TreeLoad) { treeLoaded = true; });
    main.resize(1280, 760);
    main.show();
    if (!waitFor([&] { return treeLoaded; })) return 1;

    const qint32 roomId = QByteArray(argv[3]).toInt();
    NodeId node = kNoNode;
    for (const STRU_GAMEROOM& r : tree->catalog().rooms())
        if (r.id == roomId) node = r.obj;
    if (node == kNoNode) {
        std::fprintf(stderr, "room %d is not in the game tree\n", roomId);
        return 1;
    }
    QElapsedTimer entering;
    entering.start();
    tree->openNode(node);
    if (!waitFor(
            [&] { return room->currentRoomId() == roomId && !room->core().splashVisible(); })) {
        std::fprintf(stderr, "room %d not entered: %s\n", roomId,
                     qPrintable(room->lblSplash->text()));
        return 1;
    }
    std::printf("room %d entered (connect, login line, enter, 1.5 s loading): %lld ms\n", roomId,
                entering.elapsed());
    if (!waitFor([&] { return room->memberModel().rowCount() > 0; }, 5000)) return 1;
    std::printf("members listed: %d, game tab active: %s\n", room->memberModel().rowCount(),
                main.Tab1->currentWidget() == main.sGamePage ? "yes" : "no");
    waitFor([] { return false; }, 1000);
    main.grab().save(QString::fromLocal8Bit(argv[4]));
    room->btnExitClick();
    waitFor([&] { return room->isHidden(); }, 5000);
    std::printf("room left: window %s\n", room->isHidden() ? "hidden" : "still shown");
    std::fflush(stdout);
    return 0;
}
