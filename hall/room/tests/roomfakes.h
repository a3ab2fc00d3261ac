#pragma once
// Fakes of the room client's ports: a transport that records lines, a hand-driven clock and
// timers, and a host that records what the window would have done.
#include <QHash>
#include <QStringList>
#include <map>

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"
#include "hall/room/gameclientcore.h"

namespace velmora::hall::test {

struct FakeTransport : RoomTransport {
    bool openResult = true;
    bool opened = false;
    bool failWrites = false;
    int opens = 0;
    QString host;
    quint16 port = 0;
    QList<QByteArray> written;
    bool open(const QString& h, quint16 p, const NetSetting&) override {
        ++opens;
        host = h;
        port = p;
        return openResult;
    }
    void close() override { opened = false; }
    bool isOpen() const override { return opened; }
    bool writeLine(const QByteArray& line, QString* error) override {
        if (failWrites || !opened) {
            if (error) *error = QStringLiteral("broken pipe");
            return false;
        }
        written.append(line);
        return true;
    }
    // The requests written so far, unscrambled, without the "0|fsocket_seq|" prefix.
    QStringList requests() const {
        QStringList out;
        for (const QByteArray& line : written) {
            const QString text = UnscrambleText(QString::fromLatin1(line.trimmed()));
            if (!text.startsWith(QStringLiteral("0|"))) continue;  // the login line
            out << text.section(QLatin1Char('|'), 2);
        }
        return out;
    }
};

struct FakeClock : RoomClock {
    qint64 ms = 1000;
    int key = 3;
    qint64 monotonicMs() const override { return ms; }
    QDateTime localNow() const override { return QDateTime(QDate(2026, 12, 11), QTime(20, 15, 30)); }
    int randomKeyIndex() override { return key; }
};

struct FakeTimers : RoomTimers {
    std::map<RoomTimer, int> running;
    void start(RoomTimer t, int ms) override { running[t] = ms; }
    void stop(RoomTimer t) override { running.erase(t); }
    bool isRunning(RoomTimer t) const { return running.count(t) > 0; }
};

struct FakeHost : RoomHost {
    QStringList log;  // one entry per call that matters to the tests
    QStringList messages;
    QStringList chat;
    QStringList drops;
    QList<qint64> profiles;
    bool plugin = false;
    bool pluginOpens = true;
    bool splash = true;
    QString splashText;
    bool hidden = false;
    QList<QList<qint64>> pluginMessages;

    void setCaptions(const QString& c, const QString& t) override { log << QStringLiteral("caption ") + c + QStringLiteral(" / ") + t; }
    void setSplashText(const QString& text) override { splashText = text; }
    void setSplashVisible(bool v) override { splash = v; }
    void setRoomEnabled(bool e) override { log << (e ? QStringLiteral("enabled") : QStringLiteral("disabled")); }
    void prepareRoomView() override {}
    void showMessage(const QString& text) override { messages << text; }
    void hideRoomWindow() override { hidden = true; }
    void reloadTablesPage() override { log << QStringLiteral("reloadTables"); }
    void clearMemberList() override {}
    void refreshMemberList() override { log << QStringLiteral("refreshList"); }
    void refreshMemberStatus() override {}
    void appendChat(const QString& html) override { chat << html; }
    void fetchProfile(qint64 id, bool refresh) override {
        profiles << id;
        log << QStringLiteral("profile %1 %2").arg(id).arg(refresh);
    }
    void fetchAllProfiles() override { log << QStringLiteral("allProfiles"); }
    void fetchShouts() override { log << QStringLiteral("shouts"); }
    void reportDrop(const QString& q) override { drops << q; }
    void roomOnlineChanged(qint32 id, qint32 n) override { log << QStringLiteral("online %1 %2").arg(id).arg(n); }
    void writeLastRoom(qint32 id) override { log << QStringLiteral("lastroom %1").arg(id); }
    void writeLastRoomTime() override { log << QStringLiteral("lastroomtime"); }
    void deletePlayerPictures() override {}
    bool pluginOpen() const override { return plugin; }
    bool openPlugin() override {
        log << QStringLiteral("openPlugin");
        plugin = pluginOpens;
        return pluginOpens;
    }
    void closePlugin() override {
        log << QStringLiteral("closePlugin");
        plugin = false;
    }
    void tellPlugin(int type, int code, qint64 id) override { pluginMessages.append({type, code, id}); }
    void sendTableListToPlugin() override { log << QStringLiteral("tableList"); }
};

// A room client with fakes, logged in as player 10001 with a session key.
class RoomClientFixture {
public:
    FakeTransport transport;
    FakeClock clock;
    FakeTimers timers;
    FakeHost host;
    GameClientCore core{transport, clock, timers, host};

    static STRU_GAMEROOM room(qint32 id = 12, const QString& ip = QStringLiteral("127.0.0.1"), qint32 port = 18101) {
        STRU_GAMEROOM r;
        r.id = id;
        r.title = QStringLiteral("新手房");
        r.serverip = ip;
        r.serverport = port;
        r.onlinecount = 4;
        r.parent.title = QStringLiteral("斗地主");
        r.parent.parent.title = QStringLiteral("棋牌游戏");
        return r;
    }

    static void session(const QString& documents) {
        HallContext::reset();
        auto& c = HallContext::instance();
        c.Token = QStringLiteral("tok123");
        c.EncodeKey = QStringLiteral("Qm7vTz2K");
        c.CurrentUser.UserID = 10001;
        c.CurrentUser.UserName = QStringLiteral("alice");
        c.DocumentsPath = documents;
    }

    // Server packets as the room server writes them.
    void receive(qint32 datatype, qint32 command, const QString& body, qint32 fsocket = 7) {
        core.onData(BuildPacketLine(STRU_DATA{datatype, fsocket, 1, command, body}).toLatin1() + '\n');
    }
    void reply(qint32 cmdname, qint32 result, const QString& rest = QString()) {
        receive(1, result, QStringLiteral("cmdname=") + QString::number(cmdname) + (rest.isEmpty() ? QString() : QLatin1Char('&') + rest));
    }
    void broadcast(qint32 command, const QString& body) { receive(2, command, body); }

    // LoadDesktop, connection up, login accepted, room entered and loaded.
    void enterRoom(const STRU_GAMEROOM& r = room()) {
        core.LoadDesktop(r);
        transport.opened = true;
        core.onConnected();
        reply(10, 1);
        reply(11, 1);
        core.onLoadingTimer();
    }
};

}  // namespace velmora::hall::test
