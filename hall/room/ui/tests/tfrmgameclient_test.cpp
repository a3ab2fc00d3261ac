// The room window against the real room server stand-in on loopback (offscreen): the member
// list fills, the exit button leaves the room, failures reach the player through the message
// seam, a seat kept over a drop ends in "创建游戏失败。" while plug-ins are not hosted.
#include "hall/room/ui/tfrmgameclient.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableView>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTimer>

#include "hall/foundation/localsettings.h"
#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"
#include "hall/room/ui/roommembermodel.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/tfrmgamesetting.h"
#include "platform/ini/inifile.h"
#include "server/room/roomdirectory.h"
#include "server/room/roomtcpserver.h"
#include "server/room/sessiondirectory.h"
#include "hall/room/tests/roomtestsupport.h"

using namespace velmora;
using namespace velmora::hall;
using velmora::hall::test::RawPlayer;
using velmora::hall::test::waitFor;

namespace {

QApplication& app() {
    static int argc = 1;
    static char name[] = "tfrmgameclient";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing the application down during static destruction crashes Qt.
    static auto* instance = new QApplication(argc, argv);
    return *instance;
}

const QString kAliceKey = QStringLiteral("AliceK3y");
const QString kBobKey = QStringLiteral("B0bKey99");

struct RecordedMessage {
    QString text, caption;
};

class RecordingPresenter : public MessagePresenter {
public:
    QList<RecordedMessage> shown;
    QMessageBox::StandardButton show(QWidget*, const QString& text, const QString& caption,
                                     QMessageBox::Icon, QMessageBox::StandardButtons) override {
        shown.append({text, caption});
        return QMessageBox::Ok;
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& m : shown) out << m.text;
        return out;
    }
};

// The web service as the window sees it: profiles in the room format, drop reports.
struct FakeWeb {
    QStringList requests;
    bool profilesDown = false;
    QString operator()(const QString& url, const QString& method, const QString& form, int, int) {
        requests << method + QLatin1Char(' ') + url +
                        (form.isEmpty() ? QString() : QLatin1Char(' ') + form);
        if (!url.endsWith(QStringLiteral("/user/userinfo.php"))) return QStringLiteral("OK");
        if (profilesDown) return QString();
        const QString ids = form.section(QLatin1Char('&'), 0, 0).section(QLatin1Char('='), 1);
        QStringList lines;
        for (const QString& id : ids.split(QLatin1Char(','))) {
            const QString name =
                id == QStringLiteral("10001") ? QStringLiteral("爱丽丝") : QStringLiteral("bob");
            lines << id + QLatin1Char('|') + UrlEncodeText(name) +
                         QStringLiteral("|3|%E5%A5%B3|1500|127.0.0.1|0||0|0|0|42|7|3|1|2|0");
        }
        return lines.join(QStringLiteral("\r\n"));
    }
};

class TfrmGameClientTest : public ::testing::Test {
protected:
    QTemporaryDir docs;
    server::MemoryRoomDirectory rooms;
    server::MemorySessionDirectory sessions;
    std::unique_ptr<server::RoomTcpServer> roomServer;
    quint16 port = 0;
    RecordingPresenter messages;
    std::shared_ptr<FakeWeb> web = std::make_shared<FakeWeb>();
    std::unique_ptr<TfrmGameClient> window;
    QList<QPair<qint32, qint32>> onlineCounts;

    void SetUp() override {
        app();
        {
            server::MemoryRoomDirectory none;
            server::RoomTcpServer probe(none, sessions, QStringLiteral("127.0.0.1"), 0);
            ASSERT_TRUE(probe.listen());
            port = probe.serverPort();
        }
        server::RoomInfo info;
        info.id = 12;
        info.title = QStringLiteral("新手房");
        info.serverPort = port;
        info.tableCount = 10;
        rooms.addRoom(info);
        sessions.addSession(QStringLiteral("tok-alice"),
                            {10001, kAliceKey, {10001, QStringLiteral("alice")}});
        sessions.addSession(QStringLiteral("tok-bob"),
                            {10002, kBobKey, {10002, QStringLiteral("bob")}});
        roomServer = std::make_unique<server::RoomTcpServer>(rooms, sessions,
                                                             QStringLiteral("127.0.0.1"), port);
        ASSERT_TRUE(roomServer->listen());

        HallContext::reset();
        auto& c = HallContext::instance();
        c.Token = QStringLiteral("tok-alice");
        c.EncodeKey = kAliceKey;
        c.CurrentUser.UserID = 10001;
        c.DocumentsPath = docs.path() + QStringLiteral("/");
        c.ServiceValues.insert(QStringLiteral("userinfourl"),
                               QStringLiteral("http://127.0.0.1:18080/user/userinfo.php"));
        SetMessagePresenter(&messages);

        auto fake = web;
        window = std::make_unique<TfrmGameClient>(
            nullptr, [fake](const QString& u, const QString& m, const QString& f, int r, int t) {
                return (*fake)(u, m, f, r, t);
            });
        window->onRoomOnline = [this](qint32 room, qint32 count) {
            onlineCounts.append({room, count});
        };
        window->resize(1000, 640);
    }
    void TearDown() override {
        window.reset();
        SetMessagePresenter(nullptr);
        HallContext::reset();
    }

    STRU_GAMEROOM room(qint32 id) const {
        STRU_GAMEROOM r;
        r.id = id;
        r.title = QStringLiteral("新手房");
        r.serverip = QStringLiteral("127.0.0.1");
        r.serverport = port;
        r.tablenum = 10;
        r.showdesk = true;
        r.showuserinfo = true;
        r.goldmultiple = 1;
        r.parent.id = 1;
        r.parent.title = QStringLiteral("斗地主");
        r.parent.parent.title = QStringLiteral("棋牌游戏");
        return r;
    }
    QString playerFolder() const { return PlayerFolder(docs.path(), 10001); }
    QString lastRoomId() const {
        return platform::IniFile(PlayerSettingPath(docs.path(), 10001))
            .readString(QStringLiteral("GAME"), QStringLiteral("lastroomid"), QString());
    }
    // The row of `id` in the member list, -1 when none.
    int rowOf(const QString& id) const {
        const RoomMemberModel& m = window->memberModel();
        for (int r = 0; r < m.rowCount(); ++r)
            if (m.data(m.index(r, 0)).toString() == id) return r;
        return -1;
    }
};

TEST_F(TfrmGameClientTest, EntersSeesTheOtherMemberAndLeavesWithTheExitButton) {
    RawPlayer bob(port, kBobKey);
    ASSERT_TRUE(bob.login(QStringLiteral("tok-bob"), 10002));
    bob.send(11, QStringLiteral("roomid=12"));
    ASSERT_TRUE(bob.next([](const STRU_DATA& p) { return p.datatype == 1; }));

    // Pictures of the player's folder: only its own *.bmp and *.png go when the room closes.
    QDir().mkpath(playerFolder() + QStringLiteral("sub"));
    for (const char* name : {"10002.png", "old.BMP", "notes.txt", "sub/keep.png"}) {
        QFile f(playerFolder() + QString::fromLatin1(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    window->LoadDesktop(room(12));
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("斗地主 - 新手房"));
    EXPECT_EQ(window->lblTitle->text(), QStringLiteral("  棋牌游戏->斗地主->新手房"));
    EXPECT_TRUE(window->pnlSplash->isVisible());
    EXPECT_FALSE(window->pnlRight->isEnabled());
    EXPECT_EQ(lastRoomId(), QStringLiteral("12"));
    EXPECT_EQ(window->memberModel().columnCount(), 9);  // the room has gold

    ASSERT_TRUE(waitFor([&] { return !window->core().splashVisible(); }))
        << window->lblSplash->text().toStdString();
    EXPECT_FALSE(window->pnlSplash->isVisible());
    EXPECT_TRUE(window->pnlRight->isEnabled());
    EXPECT_TRUE(window->btnJoin->isEnabled());
    ASSERT_TRUE(waitFor([&] { return rowOf(QStringLiteral("10002")) >= 0; }, 1500));
    const RoomMemberModel& model = window->memberModel();
    const int bobRow = rowOf(QStringLiteral("10002"));
    EXPECT_EQ(model.data(model.index(bobRow, 1)).toString(), QStringLiteral("bob"));
    EXPECT_EQ(model.data(model.index(bobRow, 2)).toString(), QStringLiteral("空闲"));
    EXPECT_EQ(model.data(model.index(bobRow, 3)).toString(), QStringLiteral("1500"));
    ASSERT_TRUE(waitFor([&] { return rowOf(QStringLiteral("10001")) >= 0; }, 1500));
    EXPECT_EQ(model.data(model.index(rowOf(QStringLiteral("10001")), 1)).toString(),
              QStringLiteral("爱丽丝"));
    EXPECT_EQ(window->ltvUserList->model()->rowCount(), 2);
    EXPECT_EQ(onlineCounts.value(0), qMakePair(12, 1));
    EXPECT_TRUE(web->requests.value(0).contains(
        QStringLiteral("userid=10001,10002&token=tok-alice&gameid=1")))
        << web->requests.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(window->SendRoomCommand(QStringLiteral("50|")));

    // Bob leaves the room: his row goes.
    bob.send(12, QStringLiteral("roomid=12"));
    EXPECT_TRUE(waitFor([&] { return rowOf(QStringLiteral("10002")) < 0; }, 3000));
    EXPECT_EQ(model.rowCount(), 1);

    QSignalSpy hidden(window.get(), &TfrmGameClient::roomWindowHidden);
    window->btnExit->click();
    ASSERT_TRUE(waitFor([&] { return hidden.count() == 1; }));
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->currentRoomId(), 0);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(lastRoomId(), QStringLiteral("0"));
    EXPECT_EQ(onlineCounts.value(1), qMakePair(12, 0));
    EXPECT_FALSE(window->SendRoomCommand(QStringLiteral("50|")));
    QStringList left = QDir(playerFolder()).entryList(QDir::Files);
    left.sort();
    EXPECT_EQ(left, (QStringList{"notes.txt", "setting.ini"}));
    EXPECT_TRUE(QFile::exists(playerFolder() + QStringLiteral("sub/keep.png")));
    EXPECT_TRUE(messages.shown.isEmpty()) << messages.texts().join(QLatin1Char('|')).toStdString();
}

TEST_F(TfrmGameClientTest, AFailedProfileLookupKeepsTheRoomConnected) {
    web->profilesDown = true;
    RawPlayer bob(port, kBobKey);
    ASSERT_TRUE(bob.login(QStringLiteral("tok-bob"), 10002));
    bob.send(11, QStringLiteral("roomid=12"));
    ASSERT_TRUE(bob.next([](const STRU_DATA& p) { return p.datatype == 1; }));
    window->LoadDesktop(room(12));
    ASSERT_TRUE(waitFor([&] { return !window->core().splashVisible(); }));
    ASSERT_TRUE(waitFor([&] { return rowOf(QStringLiteral("10002")) >= 0; }, 1500));
    ASSERT_TRUE(waitFor([&] { return !web->requests.isEmpty(); }));
    QCoreApplication::processEvents(QEventLoop::AllEvents, 300);
    EXPECT_FALSE(window->core().bDrop());
    EXPECT_FALSE(window->core().timerRunning(RoomTimer::Countdown));
    EXPECT_TRUE(window->core().connected());
    for (const QString& r : web->requests) EXPECT_FALSE(r.contains(QStringLiteral("logdrop"))) << r.toStdString();
    EXPECT_EQ(window->memberModel().data(window->memberModel().index(rowOf(QStringLiteral("10002")), 2)).toString(),
              QStringLiteral("空闲"));
}

TEST_F(TfrmGameClientTest, AFailedRoomEntryIsToldWithTheHintCaptionAndClosesTheWindow) {
    window->LoadDesktop(room(99));  // not on this server
    ASSERT_TRUE(waitFor([&] { return messages.shown.size() >= 2 && window->isHidden(); }));
    EXPECT_EQ(messages.texts(), (QStringList{"服务器不可用，或是没有找到要进入的房间。", "1301"}));
    for (const RecordedMessage& m : messages.shown) EXPECT_EQ(m.caption, QStringLiteral("提示"));
    EXPECT_EQ(window->currentRoomId(), 0);
}

TEST_F(TfrmGameClientTest, ASeatKeptOverADropEndsInCreationFailureWhilePluginsAreNotHosted) {
    RawPlayer bob(port, kBobKey);
    ASSERT_TRUE(bob.login(QStringLiteral("tok-bob"), 10002));
    bob.send(11, QStringLiteral("roomid=12"));
    window->LoadDesktop(room(12));
    ASSERT_TRUE(waitFor([&] { return !window->core().splashVisible(); }));
    ASSERT_TRUE(window->SendRoomCommand(QStringLiteral("13|roomid=12&tableid=3&seatindex=1")));
    ASSERT_TRUE(bob.next([](const STRU_DATA& p) { return p.datatype == 2 && p.command == 82; }));

    window->session().socket().close();
    window->core().onDisconnected();
    // Back on the same seat, the plug-in cannot be created: the design's failure path.
    ASSERT_TRUE(
        waitFor([&] { return messages.texts().contains(QStringLiteral("创建游戏失败。")); }, 10000))
        << messages.texts().join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(bob.next([](const STRU_DATA& p) {
        return p.datatype == 2 && p.command == 83 &&
               BodyInt(p.data, QStringLiteral("playerid")) == 10001;
    }));
    EXPECT_FALSE(window->bInGaming());
    ASSERT_TRUE(
        waitFor([&] { return web->requests.filter(QStringLiteral("logdrop.php")).size() == 2; }));
    const QStringList drops = web->requests.filter(QStringLiteral("logdrop.php"));
    EXPECT_TRUE(drops[0].startsWith(QStringLiteral(
        "GET http://127.0.0.1:18080/logdrop.php?drop=0&userid=10001&modefunc=ClientSocket1Error")));
    EXPECT_EQ(drops[1],
              QStringLiteral("GET http://127.0.0.1:18080/logdrop.php?drop=1&userid=10001"));
}

TEST_F(TfrmGameClientTest, SettingsButtonEditsACopyThatOnlyOkKeeps) {
    window->LoadDesktop(room(12));
    ASSERT_TRUE(waitFor([&] { return !window->core().splashVisible(); }));
    ASSERT_FALSE(window->core().thisGameSetting().sameip);
    struct Case {
        bool ok;
        bool expectSameIp;
    };
    for (const Case c : {Case{false, false}, Case{true, true}}) {
        QTimer::singleShot(0, [c] {
            auto* dialog = qobject_cast<TfrmGameSetting*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_EQ(dialog->windowTitle(), QStringLiteral("游戏设置"));
            dialog->chkIP->setChecked(true);
            if (c.ok)
                dialog->Button1->click();
            else
                dialog->Button2->click();
        });
        window->btnSetting->click();
        EXPECT_EQ(window->core().thisGameSetting().sameip, c.expectSameIp) << c.ok;
    }
}

}  // namespace
