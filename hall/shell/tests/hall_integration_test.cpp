// The hall's forms against the real stand-in web service (velmora-server --demo), headless.
#include <gtest/gtest.h>

#include "hall/account/frmregister.h"
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "hall/foundation/web/session.h"
#include "hall/shell/core/hallseams.h"
#include "hall/shell/core/loginmodel.h"
#include "hall/shell/ui/gametree.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/tfrmieclient.h"
#include "hall/shell/ui/tfrmiedialog.h"
#include "hall/shell/ui/tfrmlogin.h"
#include "hall/shell/ui/tfrmmain.h"
#include "platform/registry/registrystore.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabWidget>
#include <QTest>
#include <QTreeView>
#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>
#include <functional>

using namespace velmora::hall;

// Failure messages show texts, not their UTF-16 units.
void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace {

bool waitFor(const std::function<bool()>& done, int ms = 20000) {
    QDeadlineTimer deadline(ms);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

class RecordingMessages : public MessagePresenter {
public:
    QStringList texts;
    bool sayYes = false;  // Yes/No questions: Yes, else No
    QMessageBox::StandardButton show(QWidget*, const QString& text, const QString&,
                                     QMessageBox::Icon, QMessageBox::StandardButtons buttons) override {
        texts << text;
        if (buttons & QMessageBox::Yes)
            return sayYes ? QMessageBox::Yes : QMessageBox::No;
        return buttons & QMessageBox::Cancel ? QMessageBox::Cancel : QMessageBox::Ok;
    }
};

class QuietSessionHost : public SessionHost {
public:
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
    bool runNetSetting() override { return false; }
    void terminateApplication() override {}
};

// One server, one application, temporary config and documents for the whole program.
class HallEnvironment : public ::testing::Environment {
public:
    static inline QTemporaryDir* home = nullptr;
    static inline QProcess* server = nullptr;
    static inline quint16 port = 0;
    static inline QApplication* app = nullptr;

    void SetUp() override {
        home = new QTemporaryDir;
        qputenv("HOME", home->path().toUtf8());
        qputenv("XDG_CONFIG_HOME", (home->path() + "/config").toUtf8());
        qputenv("XDG_DATA_HOME", (home->path() + "/data").toUtf8());
        qputenv("XDG_RUNTIME_DIR", (home->path() + "/run").toUtf8());
        const QByteArray bin = qgetenv("VELMORA_BIN_DIR");
        qputenv("VELMORA_APP_DIR", bin + "/");
        {
            QTcpServer probe;
            probe.listen(QHostAddress::LocalHost, 0);
            port = probe.serverPort();
        }
        qputenv("VELMORA_BOOTSTRAP_URL",
                QStringLiteral("http://127.0.0.1:%1/info/getsession.php").arg(port).toUtf8());
        server = new QProcess;
        server->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        server->start(QString::fromUtf8(bin) + "/velmora-server",
                      {"--data", home->path() + "/server", "--web",
                       QStringLiteral("127.0.0.1:%1").arg(port), "--demo"});
        server->waitForStarted(10000);
        server->waitForReadyRead(20000);  // it prints its address once listening

        RegisterHallSchemes();
        static int argc = 1;
        static char name[] = "hall_integration_test";
        static char* argv[] = {name, nullptr};
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
        app = new QApplication(argc, argv);
        QApplication::setApplicationName(QStringLiteral("Velmora"));
    }

    void TearDown() override {
        delete app;
        if (server) {
            server->terminate();
            server->waitForFinished(5000);
            delete server;
        }
        delete home;
    }
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new HallEnvironment);

class HallTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(HallEnvironment::server->state(), QProcess::Running);
        HallContext::reset();
        HallContext& c = HallContext::instance();
        c.AppPath = qEnvironmentVariable("VELMORA_APP_DIR");
        c.DocumentsPath = HallEnvironment::home->path() + QStringLiteral("/docs/");
        QuietSessionHost host;
        ASSERT_TRUE(GetSession(host)) << host.messages.join(QLatin1Char('\n')).toStdString();
        SetMessagePresenter(&messages);
    }
    void TearDown() override { SetMessagePresenter(nullptr); }

    RecordingMessages messages;
    velmora::platform::RegistryStore store{velmora::platform::RegistryStore::defaultPath()};
};

}  // namespace

TEST_F(HallTest, AWrongPasswordShowsTheMessageAndTheRightOneOpensTheMainWindow) {
    TfrmLogin login(store);
    login.show();
    EXPECT_EQ(login.windowTitle(), QStringLiteral("登录到Velmora"));
    login.UserName->setEditText(QStringLiteral("alice"));
    login.PassWord->setText(QStringLiteral("wrong"));
    login.btnLogin->click();
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("登录失败，请检查你的用户名密码是否正确。")});
    EXPECT_FALSE(HallContext::instance().LoginOK);
    EXPECT_TRUE(login.isVisible());
    EXPECT_TRUE(login.btnLogin->isEnabled());

    login.PassWord->setText(QStringLiteral("velmora"));
    login.btnLogin->click();
    ASSERT_TRUE(HallContext::instance().LoginOK) << messages.texts.join('\n').toStdString();
    EXPECT_FALSE(login.isVisible());
    const STRU_USERINFO& user = HallContext::instance().CurrentUser;
    EXPECT_EQ(user.UserName, QStringLiteral("alice"));
    EXPECT_GE(user.UserID, 10001);
    EXPECT_EQ(store.readString(kRegistryUserKey, QStringLiteral("user0")), QStringLiteral("alice"));

    TfrmMain main;
    main.show();
    ASSERT_TRUE(waitFor([&] { return main.toolbarReady(); }));
    QString shown;
    bool answered = false;
    auto ask = [&] {
        answered = false;
        main.WebToolbar->page()->runJavaScript(
            QStringLiteral("document.getElementById('username').innerText"),
            [&](const QVariant& v) {
                shown = v.toString();
                answered = true;
            });
        return waitFor([&] { return answered; });
    };
    ASSERT_TRUE(ask());
    EXPECT_EQ(shown, QString::number(user.UserID) + QStringLiteral("(alice)"));
    EXPECT_EQ(main.windowTitle(), QStringLiteral("Velmora"));

    main.LoadOnline();
    EXPECT_TRUE(main.pnlOnline->text().startsWith(QStringLiteral("当前在线人数：")));
    EXPECT_NE(main.pnlOnline->text(), QStringLiteral("当前在线人数："));
    EXPECT_TRUE(main.isVisible());

    // Closing writes lastroomid = "0" for the player.
    main.close();
    EXPECT_EQ(ReadLastRoom(PlayerSettingPath(HallContext::instance().DocumentsPath, user.UserID)).roomId, 0);
    EXPECT_TRUE(QFile::exists(PlayerSettingPath(HallContext::instance().DocumentsPath, user.UserID)));
}

TEST_F(HallTest, TheRememberedPasswordLogsInAgainWithThePlaceholder) {
    {
        TfrmLogin first(store);
        first.UserName->setEditText(QStringLiteral("bob"));
        first.PassWord->setText(QStringLiteral("velmora"));
        first.chbSaveLogin->setChecked(true);
        first.btnLogin->click();
        ASSERT_TRUE(HallContext::instance().LoginOK);
    }
    HallContext::instance().LoginOK = false;
    QuietSessionHost host;
    ASSERT_TRUE(GetSession(host));
    TfrmLogin again(store);
    EXPECT_EQ(again.UserName->currentText(), QStringLiteral("bob"));
    EXPECT_EQ(again.PassWord->text(), kPasswordPlaceholder);
    again.btnLogin->click();
    EXPECT_TRUE(HallContext::instance().LoginOK) << messages.texts.join('\n').toStdString();
    EXPECT_EQ(HallContext::instance().CurrentUser.UserName, QStringLiteral("bob"));
}

TEST_F(HallTest, AnExpiredSessionClosesTheMainWindowWithTheMessage) {
    HallContext& c = HallContext::instance();
    c.LoginOK = true;
    c.CurrentUser.UserID = 10003;
    c.CurrentUser.UserName = QStringLiteral("carol");
    c.Token = QStringLiteral("no-such-token");
    TfrmMain main;
    main.show();
    bool closed = false;
    QObject::connect(&main, &TfrmMain::closed, [&] { closed = true; });
    main.LoadOnline();
    EXPECT_TRUE(closed);
    EXPECT_EQ(c.ExitMessage, QStringLiteral("您的登录信息已经过期，或是长时间不能从服务器获取数据，请检查网络！"));
}

// A login service that answers only after the dialog has been cancelled.
class SlowLoginServer : public QTcpServer {
public:
    int requests = 0;
    SlowLoginServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* s = nextPendingConnection()) {
                connect(s, &QTcpSocket::readyRead, s, [this, s] {
                    if (!s->readAll().contains("HTTP/1.1"))
                        return;
                    ++requests;
                    QTimer::singleShot(600, s, [s] {
                        const QByteArray body =
                            "<login><errid>200</errid><id>MTAwMDQ=</id><username>ZGF2ZQ==</username></login>";
                        s->write("HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n"
                                 "Content-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
                        s->disconnectFromHost();
                    });
                });
            }
        });
    }
};

TEST_F(HallTest, CancelWhileTheLoginIsPendingIgnoresTheLateReply) {
    SlowLoginServer slow;
    ASSERT_TRUE(slow.listen(QHostAddress::LocalHost, 0));
    HallContext& c = HallContext::instance();
    c.ServiceValues.insert(QStringLiteral("loginurl"),
                           QStringLiteral("http://127.0.0.1:%1/login").arg(slow.serverPort()));
    c.ServiceValues.remove(QStringLiteral("exiturl"));
    TfrmLogin login(store);
    login.show();
    login.UserName->setEditText(QStringLiteral("dave"));
    login.PassWord->setText(QStringLiteral("velmora"));
    QTimer::singleShot(150, &login, [&] { login.btnCancel->click(); });
    login.btnLogin->click();  // returns once the late reply has come in
    EXPECT_EQ(slow.requests, 1);
    EXPECT_FALSE(c.LoginOK);
    EXPECT_EQ(c.CurrentUser.UserID, 0);
    EXPECT_TRUE(c.CurrentUser.UserName.isEmpty());
    EXPECT_EQ(login.result(), QDialog::Rejected);
    EXPECT_TRUE(messages.texts.isEmpty());
}

// Records what a dialog page asked of the room.
class FakeRoom : public IRoomClient {
public:
    QStringList sent;
    QList<qint64> profiles;
    bool bInGaming() const override { return false; }
    void DeletePluginClient() override {}
    void btnExitClick() override {}
    bool SendRoomCommand(const QString& line) override {
        sent << line;
        return true;
    }
    void LoadUserInfo(qint64 id) override { profiles << id; }
    qint32 currentRoomId() const override { return 0; }
    void LoadDesktop(const STRU_GAMEROOM& room) override { desktops << room; }
    QList<STRU_GAMEROOM> desktops;
};

TEST_F(HallTest, ADialogPageLinkReachesTheRoomAsWrittenAndClosesTheDialog) {
    // The link text would not survive QUrl: a numeric host, "/" between digits.
    QTemporaryDir pages;
    QFile page(pages.path() + QStringLiteral("/friend.htm"));
    ASSERT_TRUE(page.open(QIODevice::WriteOnly));
    page.write("<html><body><a id='f' href='addfriend://1/0/0/0/2'>add</a>"
               "<a id='p' href='PROP://Rose|10002'>prop</a></body></html>");
    page.close();
    for (const char* id : {"f", "p"}) {
        FakeRoom room;
        bool closedCalled = false;
        TfrmIEDialog dialog(&room, [&] { closedCalled = true; });
        dialog.show();
        bool loaded = false;
        QObject::connect(dialog.Web1, &QWebEngineView::loadFinished, [&](bool) { loaded = true; });
        dialog.navigate(QUrl::fromLocalFile(page.fileName()).toString());
        ASSERT_TRUE(waitFor([&] { return loaded; }));
        dialog.page()->runJavaScript(QStringLiteral("document.getElementById('%1').click()").arg(id));
        ASSERT_TRUE(waitFor([&] { return closedCalled; })) << id;
        if (QByteArray(id) == "f") {
            EXPECT_EQ(room.profiles, QList<qint64>{10002});
            EXPECT_EQ(room.sent, QStringList{QStringLiteral("19|recvid=10002&msg=addfriend")});
        } else {
            EXPECT_EQ(room.sent, QStringList{QStringLiteral("17|msg=.prop%7CRose%7C10002")});
        }
    }
}

namespace {

void loginAs(velmora::platform::RegistryStore& store, const QString& name) {
    TfrmLogin login(store);
    login.UserName->setEditText(name);
    login.PassWord->setText(QStringLiteral("velmora"));
    login.btnLogin->click();
}

// What the window system delivers for a double-click: press, release, double-click, release
// (QTest::mouseDClick alone sends only the third).
void doubleClick(QTreeView* view, const QModelIndex& index) {
    view->scrollTo(index);
    const QPoint at = view->visualRect(index).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, at);
}

bool matches(const QModelIndex& index, const QString& pattern) {
    return QRegularExpression(QStringLiteral("^") + pattern + QStringLiteral("$"))
        .match(index.data().toString())
        .hasMatch();
}

// A main window with its game tree, waiting for the one-shot load.
struct TreeWindow {
    TfrmMain main;
    GameTree* tree = new GameTree(main);
    bool loaded = false;
    TreeLoad result = TreeLoad::NoGameList;
    explicit TreeWindow(IRoomClient* room) {
        main.setGameTree(tree);
        main.setRoomClient(room, new QLabel(QStringLiteral("room client")));
        QObject::connect(tree, &GameTree::treeLoaded, [this](TreeLoad r) {
            loaded = true;
            result = r;
        });
    }
    bool showAndLoad() {
        main.show();
        return waitFor([this] { return loaded; });
    }
    bool gameTabShown() const {
        return main.Tab1->isTabVisible(main.Tab1->indexOf(main.sGamePage));
    }
};

class OldPlugin : public InstalledGames {
public:
    bool exists(const QString&) const override { return true; }
    QString fileVersion(const QString&) const override { return QStringLiteral("1.0.0.1"); }
};

}  // namespace

TEST_F(HallTest, TheTreeShowsTheDemoListsAndARoomDoubleClickReachesTheRoomClient) {
    loginAs(store, QStringLiteral("alice"));
    ASSERT_TRUE(HallContext::instance().LoginOK) << messages.texts.join('\n').toStdString();
    FakeRoom room;
    TreeWindow w(&room);
    EXPECT_FALSE(w.gameTabShown());
    ASSERT_TRUE(w.showAndLoad());
    EXPECT_EQ(w.result, TreeLoad::Loaded);
    EXPECT_FALSE(w.main.pnlSplash->isVisible());
    EXPECT_TRUE(w.main.pnlOnline->text().startsWith(QStringLiteral("当前在线人数：")));

    QTreeView* view = w.main.trvLeft;
    QAbstractItemModel* model = view->model();
    ASSERT_EQ(model->rowCount(), 2);
    const QModelIndex recent = model->index(0, 0);
    const QModelIndex category = model->index(1, 0);
    EXPECT_EQ(recent.data().toString(), QStringLiteral("最近玩过的游戏"));
    EXPECT_TRUE(matches(category, QStringLiteral("棋牌游戏\\(\\d+\\)"))) << category.data().toString().toStdString();
    ASSERT_EQ(model->rowCount(category), 1);
    const QModelIndex game = model->index(0, 0, category);
    EXPECT_TRUE(matches(game, QStringLiteral("斗地主\\(\\d+\\)"))) << game.data().toString().toStdString();
    EXPECT_EQ(game.data(Qt::ToolTipRole).toString(), QStringLiteral("三人斗地主：叫分、抢地主、明牌，炸弹翻倍"));
    ASSERT_EQ(model->rowCount(game), 3);
    const char* rooms[] = {"新手房", "中级房", "抢地主房"};
    for (int row = 0; row < 3; ++row)
        EXPECT_TRUE(matches(model->index(row, 0, game), QString::fromUtf8(rooms[row]) + QStringLiteral("\\(\\d+\\)")));
    ASSERT_EQ(model->rowCount(recent), 1);
    EXPECT_EQ(model->rowCount(model->index(0, 0, recent)), 3);
    for (const QModelIndex& index : {recent, category, game, model->index(0, 0, game)})
        EXPECT_FALSE(index.data(Qt::DecorationRole).value<QIcon>().isNull()) << index.data().toString().toStdString();
    // The lists' wishes: the category and the recently played group open, the game closed.
    EXPECT_TRUE(view->isExpanded(recent));
    EXPECT_TRUE(view->isExpanded(category));
    EXPECT_FALSE(view->isExpanded(game));

    // A double-click that expands the game opens nothing.
    doubleClick(view, game);
    QTest::qWait(300);
    EXPECT_TRUE(view->isExpanded(game));
    EXPECT_FALSE(w.main.HomePage->Web1->url().toString().contains(QStringLiteral("help.php")));

    // The room: the plug-in built beside the hall passes the file and version checks.
    doubleClick(view, model->index(0, 0, game));
    ASSERT_TRUE(waitFor([&] { return !room.desktops.isEmpty(); }, 5000)) << messages.texts.join('\n').toStdString();
    const STRU_GAMEROOM& entered = room.desktops.front();
    EXPECT_EQ(entered.id, 101);
    EXPECT_EQ(entered.serverip, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(entered.serverport, 18101);
    EXPECT_EQ(entered.templates, QStringLiteral("table.htm"));
    EXPECT_EQ(entered.parent.dllfile, QStringLiteral("libquellmark.so"));
    EXPECT_EQ(entered.parent.GUID, QStringLiteral("{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}"));
    EXPECT_EQ(entered.parent.version, QStringLiteral("1.3.64.65"));
    EXPECT_TRUE(w.gameTabShown());
    EXPECT_EQ(w.main.Tab1->currentWidget(), w.main.sGamePage);
    EXPECT_EQ(w.main.Tab1->tabText(w.main.Tab1->indexOf(w.main.sGamePage)), QStringLiteral("斗地主 - 新手房"));
    EXPECT_TRUE(w.main.bCreateClient);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('\n').toStdString();

    // Double-clicking the open game closes it and shows its page on the home tab, which is
    // not activated.
    doubleClick(view, game);
    ASSERT_TRUE(waitFor([&] {
        return w.main.HomePage->Web1->url().toString().contains(QStringLiteral("/game/help.php?id=1"));
    }));
    EXPECT_EQ(w.main.Tab1->currentWidget(), w.main.sGamePage);

    // The online refresh keeps the counted texts.
    w.main.LoadOnline();
    EXPECT_TRUE(matches(game, QStringLiteral("斗地主\\(\\d+\\)"))) << game.data().toString().toStdString();
    EXPECT_TRUE(matches(model->index(0, 0, game), QStringLiteral("新手房\\(\\d+\\)")));
}

TEST_F(HallTest, TheLastRoomOfAnUncleanExitIsEnteredOnlyThroughTheEntryChecks) {
    loginAs(store, QStringLiteral("carol"));
    ASSERT_TRUE(HallContext::instance().LoginOK) << messages.texts.join('\n').toStdString();
    const HallContext& c = HallContext::instance();
    const QString settings = PlayerSettingPath(c.DocumentsPath, c.CurrentUser.UserID);
    const QString question = QStringLiteral("上次你没有正常退出游戏，现在要回到原来的房间吗？");
    struct Round {
        const char* what;
        bool yes;
        bool oldPlugin;
        bool entered;
        qint64 lastRoomAfter;
        QString lastMessage;
    };
    const Round rounds[] = {
        {"yes", true, false, true, 105, question},
        {"yes, but the plug-in is outdated", true, true, false, 105,
         QStringLiteral("当前游戏需要升级才能游戏，确定要升级吗？")},
        {"no", false, false, false, 0, question},
    };
    for (const Round& r : rounds) {
        ASSERT_TRUE(WriteLastRoom(settings, 105, QDateTime::currentDateTime().addSecs(-3600)));
        messages.texts.clear();
        messages.sayYes = r.yes;
        FakeRoom room;
        OldPlugin old;
        TreeWindow w(&room);
        if (r.oldPlugin)
            w.tree->setInstalledGames(&old);
        ASSERT_TRUE(w.showAndLoad()) << r.what;
        ASSERT_FALSE(messages.texts.isEmpty()) << r.what;
        EXPECT_EQ(messages.texts.front(), question) << r.what;
        EXPECT_EQ(messages.texts.back(), r.lastMessage) << r.what;
        EXPECT_EQ(room.desktops.size(), r.entered ? 1 : 0) << r.what;
        if (r.entered) {
            EXPECT_EQ(room.desktops.front().id, 105);
            EXPECT_EQ(w.main.Tab1->tabText(w.main.Tab1->indexOf(w.main.sGamePage)), QStringLiteral("斗地主 - 抢地主房"));
        }
        EXPECT_EQ(w.gameTabShown(), r.entered) << r.what;
        EXPECT_EQ(ReadLastRoom(settings).roomId, r.lastRoomAfter) << r.what;
        w.main.hide();
    }
    messages.sayYes = false;
}

TEST_F(HallTest, ARegistrationFillsTheLoginDialogForTheFirstLogin) {
    TfrmLogin login(store);
    login.show();
    login.rbtUserID->setChecked(true);
    login.UserName->setEditText(QStringLiteral("10001"));
    login.PassWord->setText(QStringLiteral("something"));
    login.chbSaveLogin->setChecked(true);
    const QString name = QStringLiteral("t%1").arg(QDateTime::currentMSecsSinceEpoch() % 100000000);
    bool driven = false;
    QStringList prompts;
    // Runs inside the registration dialog's modal loop.
    QTimer::singleShot(0, &login, [&] {
        auto* form = qobject_cast<TfrmRegister*>(QApplication::activeModalWidget());
        if (!form)
            return;
        form->setPrompts([&](const QString& text, MessageIcon) { prompts << text; },
                         [](const QString&) { return true; });
        form->chbAgree->setChecked(true);
        form->btnNext->click();
        form->UserName->setText(name);
        form->PassWord->setText(QStringLiteral("secret123"));
        form->RePasswd->setText(QStringLiteral("secret123"));
        form->NickName->setText(QStringLiteral("n") + name);
        form->btnNext->click();
        form->btnNext->click();
        driven = true;
        if (form->isVisible())  // the wizard did not finish: end it, the test fails below
            form->reject();
    });
    login.btnRegister->click();
    ASSERT_TRUE(driven);
    ASSERT_EQ(prompts.size(), 1) << prompts.join('\n').toStdString();
    EXPECT_TRUE(prompts.front().startsWith(QStringLiteral("注册成功"))) << prompts.front().toStdString();
    EXPECT_EQ(login.UserName->currentText(), name);
    EXPECT_TRUE(login.rbtUserName->isChecked());
    EXPECT_TRUE(login.PassWord->text().isEmpty());
    EXPECT_FALSE(login.chbSaveLogin->isChecked());
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join('\n').toStdString();

    // The new account logs in with the password typed once more.
    login.PassWord->setText(QStringLiteral("secret123"));
    login.btnLogin->click();
    EXPECT_TRUE(HallContext::instance().LoginOK) << messages.texts.join('\n').toStdString();
    EXPECT_EQ(HallContext::instance().CurrentUser.UserName, name);
}
