// hallshots: runs the hall's start-up against a running stand-in service, logs in through the
// real login dialog, prints how long each stage took and saves pictures of both windows.
//   VELMORA_BOOTSTRAP_URL=... hallshots <account> <password> <output folder>
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/netsetting.h"
#include "hall/foundation/web/session.h"
#include "hall/shell/ui/gametree.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/tfrmlogin.h"
#include "hall/shell/ui/tfrmmain.h"
#include "platform/shell/shellpaths.h"

#include <QApplication>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QWebEngineView>
#include <cstdio>

using namespace velmora::hall;

namespace {

class Host : public SessionHost {
public:
    void showMessage(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    bool runNetSetting() override { return false; }
    void terminateApplication() override {}
};

void settle(int ms) {
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

template <typename F>
bool waitFor(F done, int ms = 30000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return done();
}

}  // namespace

int main(int argc, char** argv) {
    QElapsedTimer clock;
    clock.start();
    RegisterHallSchemes();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Velmora"));
    if (argc < 4) {
        std::fprintf(stderr, "usage: hallshots <account> <password> <output folder>\n");
        return 2;
    }
    HallContext& c = HallContext::instance();
    c.AppPath = velmora::platform::programFolder();
    c.DocumentsPath = velmora::platform::documentsFolder();
    velmora::platform::RegistryStore store(velmora::platform::RegistryStore::defaultPath());
    LoadNetSetting(store);
    Host host;
    if (!GetSession(host))
        return 1;
    TfrmLogin login(store);
    bool adLoaded = false;
    QObject::connect(login.WebAD, &QWebEngineView::loadFinished, [&](bool) { adLoaded = true; });
    login.show();
    waitFor([&] { return adLoaded; });
    const qint64 toLogin = clock.elapsed();
    std::printf("start-up to login dialog (session, dialog, advertisement loaded): %lld ms\n", toLogin);
    login.UserName->setEditText(QString::fromLocal8Bit(argv[1]));
    login.PassWord->setText(QString::fromLocal8Bit(argv[2]));
    settle(300);
    login.grab().save(QString::fromLocal8Bit(argv[3]) + QStringLiteral("/login.png"));

    QElapsedTimer loginClock;
    loginClock.start();
    login.btnLogin->click();
    if (!c.LoginOK)
        return 1;
    TfrmMain main;
    auto* tree = new GameTree(main);
    main.setGameTree(tree);
    bool treeLoaded = false;
    qint64 treeAt = 0;
    QElapsedTimer shown;
    QObject::connect(tree, &GameTree::treeLoaded, [&](TreeLoad) {
        treeLoaded = true;
        treeAt = shown.elapsed();
    });
    main.resize(1100, 700);
    shown.start();
    main.show();
    if (!waitFor([&] { return main.toolbarReady(); }))
        return 1;
    std::printf("login click to main window with the player in the toolbar: %lld ms\n",
                loginClock.elapsed());
    if (!waitFor([&] { return treeLoaded; }))
        return 1;
    std::printf("main window shown to the game tree loaded (200 ms start timer, both lists): %lld ms\n",
                treeAt);
    main.LoadOnline();
    // The rooms under the game, as after the player opened it.
    main.trvLeft->expandAll();
    settle(1500);
    main.grab().save(QString::fromLocal8Bit(argv[3]) + QStringLiteral("/main.png"));
    std::fflush(stdout);
    return 0;
}
