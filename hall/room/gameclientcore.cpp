#include "hall/room/gameclientcore.h"

#include "hall/foundation/debuglog.h"
#include "hall/foundation/publicfunc.h"

namespace velmora::hall {
namespace {
HallContext& ctx() { return HallContext::instance(); }
}  // namespace

GameClientCore::GameClientCore(RoomTransport& transport, RoomClock& clock, RoomTimers& timers,
                               RoomHost& host)
    : m_transport(transport), m_clock(clock), m_timers(timers), m_host(host) {}

void GameClientCore::startTimer(RoomTimer t, int ms) {
    m_running.insert(static_cast<int>(t), true);
    m_timers.start(t, ms);
}

void GameClientCore::stopTimer(RoomTimer t) {
    m_running.insert(static_cast<int>(t), false);
    m_timers.stop(t);
}

void GameClientCore::setSplash(const QString& text) { m_host.setSplashText(text); }

void GameClientCore::showSplash(bool visible) {
    m_splashVisible = visible;
    m_host.setSplashVisible(visible);
}

bool GameClientCore::proxyMode() const { return ctx().Net.ProxyOn; }

QByteArray GameClientCore::lineEnd() const { return proxyMode() ? QByteArray("\r\n") : QByteArray("\n"); }

void GameClientCore::LoadDesktop(const STRU_GAMEROOM& room) {
    m_room = room;
    m_host.setCaptions(room.parent.title + QStringLiteral(" - ") + room.title,
                       QStringLiteral("  ") + room.parent.parent.title + QStringLiteral("->") +
                           room.parent.title + QStringLiteral("->") + room.title);
    if (m_host.pluginOpen()) m_host.closePlugin();
    for (RoomTimer t : {RoomTimer::Housekeeping, RoomTimer::Countdown, RoomTimer::Loading}) stopTimer(t);
    m_host.clearMemberList();
    m_members.clearPlaces();

    const QString settingPath = PlayerSettingPath(ctx().DocumentsPath, ctx().CurrentUser.UserID);
    m_setting = ReadGameSetting(settingPath);
    m_host.writeLastRoom(room.id);

    bGameStarted = false;
    m_host.prepareRoomView();
    setSplash(QStringLiteral("正在连接服务器，请稍候....."));
    showSplash(true);
    m_quit = false;
    m_reconnectTime = 0;
    m_firstConn = true;
    m_host.setRoomEnabled(false);

    if (m_transport.isOpen() && m_host_ == room.serverip && m_port == room.serverport) {
        // Same server: change rooms on the open connection. That connection has succeeded, so
        // a later failure is a drop to recover from, not a first connection that failed.
        m_firstConn = false;
        m_newRoom = true;
        SendData(QStringLiteral("11|roomid=") + QString::number(room.id));
        m_members.self().User.UserID = ctx().CurrentUser.UserID;
        m_members.self().status = kStatusIdle;
        return;
    }
    ConnectToServer();
}

void GameClientCore::ConnectToServer() {
    const bool proxy = proxyMode();
    if (m_transport.isOpen()) m_transport.close();
    m_lines.clear();
    m_host_ = m_room.serverip;
    m_port = static_cast<quint16>(m_room.serverport);
    // The drop flag stays set until the connection is up, so that the end of a drop is reported
    // on every kind of connection.
    if (!m_transport.open(m_host_, m_port, ctx().Net)) {
        m_host.showMessage(proxy ? QStringLiteral("不能连接到服务器，请检查网络是否连接，代理服务器是否有效！")
                                 : QStringLiteral("不能连接到服务器，请检查网络！"));
        closeRoom();
        return;
    }
    m_members.self().User.UserID = ctx().CurrentUser.UserID;
    m_members.self().status = kStatusIdle;
}

void GameClientCore::onConnected() {
    m_socket = 0;
    m_seq = 1;
    if (m_noBodytime == 0) m_noBodytime = 5;
    const int k = qBound(0, m_clock.randomKeyIndex(), 9);
    const QString login = BuildLoginLine(k, ctx().Token, ctx().CurrentUser.UserID);
    QString error;
    if (!m_transport.writeLine(login.toLatin1() + lineEnd(), &error)) {
        ReConnect(QStringLiteral("IdTCPClient1Connected_writeLn"));
        return;
    }
    m_lastSendTime = m_clock.monotonicMs();
    m_lastTime = m_lastSendTime;
    m_connectTimes = 0;
    setSplash(QStringLiteral("已连接服务器，加载中....."));
    m_firstConn = false;
    m_lines.clear();
    if (m_drop) {
        m_drop = false;
        m_host.reportDrop(QStringLiteral("drop=1&userid=") + QString::number(ctx().CurrentUser.UserID));
    }
}

void GameClientCore::SendData(const QString& text) {
    if (m_quit || text.isEmpty() || timerRunning(RoomTimer::Countdown)) return;
    if (!m_transport.isOpen()) {
        ReConnect(QStringLiteral("SendData_socknotconnected"));
        return;
    }
    ++m_seq;
    const QString line = ScrambleText(QStringLiteral("0|") + QString::number(m_socket) + QLatin1Char('_') +
                                      QString::number(m_seq) + QLatin1Char('|') + text);
    m_lastSendTime = m_clock.monotonicMs();
    QString error;
    if (!m_transport.writeLine(line.toLatin1() + lineEnd(), &error)) {
        ReConnect(proxyMode() ? QStringLiteral("SendData_0_") + UrlEncodeText(error)
                              : QStringLiteral("SendData_ClientSocket"));
    }
}

void GameClientCore::onData(const QByteArray& data) {
    bool overflow = false;
    const QList<QByteArray> lines = m_lines.feed(data, &overflow);
    for (const QByteArray& line : lines) {
        handleLine(line);
        if (m_quit && !m_transport.isOpen()) return;  // the room closed while dispatching
    }
    m_lastTime = m_clock.monotonicMs();
    if (overflow) {
        qWarning("room server sent %lld bytes without a line end; connection dropped",
                 static_cast<long long>(LineAssembler::kMaxPendingBytes));
        m_transport.close();
        ReConnect(QStringLiteral("ReadData_LineTooLong"));
    }
}

void GameClientCore::handleLine(const QByteArray& line) {
    const auto packet = TryParseRoomPacket(UnscrambleText(QString::fromLatin1(line)));
    if (!packet) {
        ++m_droppedLines;
        return;
    }
    if (packet->datatype > 0) OverCommand(*packet);
}

void GameClientCore::onSocketError(const QString& error) {
    if (m_quit) return;
    if (m_firstConn) {
        qWarning("room server %s:%u unreachable: %s", qPrintable(m_host_), m_port, qPrintable(error));
        m_host.showMessage(QStringLiteral("不能连接到游戏服务器，请稍后重试.."));
        closeRoom();
        return;
    }
    m_transport.close();
    ReConnect(QStringLiteral("ClientSocket1Error"));
}

void GameClientCore::onDisconnected() {
    // A connection the server closed counts as a socket error right away, on every kind of
    // connection, instead of waiting for the next send to find it.
    if (m_quit || timerRunning(RoomTimer::Countdown)) return;
    m_transport.close();
    if (m_firstConn) {
        onSocketError(QStringLiteral("closed by the server"));
        return;
    }
    ReConnect(QStringLiteral("ClientSocket1Error"));
}

void GameClientCore::onHousekeepingTimer() {
    ++m_connectSeconds;
    if (m_lastSendTime > 0) {
        const qint64 idleSeconds = (m_clock.monotonicMs() - m_lastSendTime) / 1000;
        if (idleSeconds > m_noBodytime && m_socket > 0) SendData(QStringLiteral("50|"));
        if (m_noBodytime < 15) ++m_noBodytime;
    }
    if (m_connectSeconds % 50 == 0) {
        m_host.writeLastRoomTime();
        m_host.fetchShouts();
    }
    if (m_connectSeconds % 2 == 0) m_host.refreshMemberStatus();
}

void GameClientCore::ReConnect(const QString& reason, int wait) {
    if (m_quit) return;
    if (m_connectTimes == 0) wait = 5;
    ++m_connectTimes;
    if (!timerRunning(RoomTimer::Countdown)) {
        m_waitConnectTime = wait;
        if (!m_splashVisible) {
            m_host.reloadTablesPage();
            m_host.clearMemberList();
            m_members.clearPlaces();
            if (m_connectTimes > 1)
                m_host.appendChat(m_clock.localNow().toString(QStringLiteral("hh:mm:ss: ")) +
                                  QStringLiteral("<font color=\"red\">掉线了...</font><br />"));
        }
        startTimer(RoomTimer::Countdown, kCountdownMs);
        stopTimer(RoomTimer::Housekeeping);
        if (m_members.self().status > kStatusWatching && m_host.pluginOpen()) {
            if (m_members.self().status == kStatusPlaying)
                m_host.tellPlugin(kPluginMsgOnlineState, 1, ctx().CurrentUser.UserID);
            else
                m_host.closePlugin();
        }
        if (!m_firstConn) {
            setSplash(QStringLiteral("掉线了，正在重新连接服务器"));
            if (m_connectTimes > 1 || !proxyMode()) showSplash(true);
        }
    }
    if (!m_drop) {
        m_drop = true;
        m_host.reportDrop(QStringLiteral("drop=0&userid=") + QString::number(ctx().CurrentUser.UserID) +
                          QStringLiteral("&modefunc=") + reason);
    }
}

void GameClientCore::onCountdownTimer() {
    stopTimer(RoomTimer::Housekeeping);
    ++m_waitConnectTime;
    if (m_waitConnectTime > 4) {
        stopTimer(RoomTimer::Countdown);
        ++m_reconnectTime;
        setSplash(QStringLiteral("正在连接服务器...."));
        m_noBodytime = 1;
        ConnectToServer();
        return;
    }
    setSplash(QStringLiteral("等待重新连接(") + QString::number(5 - m_waitConnectTime) + QStringLiteral(").."));
}

void GameClientCore::requestExit() {
    if (m_host.pluginOpen()) {
        m_host.showMessage(QStringLiteral("请您先退出游戏再退出房间！"));
        return;
    }
    stopTimer(RoomTimer::Housekeeping);
    if (m_quit) {
        closeRoom();
        return;
    }
    // While the reconnect countdown runs nothing can be sent, so no reply 12 would ever close
    // the room: it closes at once, as when not connected.
    if (m_transport.isOpen() && !timerRunning(RoomTimer::Countdown)) {
        SendData(QStringLiteral("12|roomid=") + QString::number(m_room.id));
        m_quit = true;
        return;
    }
    closeRoom();
}

void GameClientCore::closeRoom() {
    m_host.writeLastRoom(0);
    const qint32 roomId = m_room.id;
    m_room.id = 0;
    m_quit = true;
    m_transport.close();
    for (RoomTimer t : {RoomTimer::Housekeeping, RoomTimer::Countdown, RoomTimer::Loading}) stopTimer(t);
    m_host.clearMemberList();
    if (m_room.onlinecount > 0) {
        --m_room.onlinecount;
        m_host.roomOnlineChanged(roomId, m_room.onlinecount);
    }
    m_host.deletePlayerPictures();
    m_members.clearAll();
    m_host.hideRoomWindow();
}

}  // namespace velmora::hall
