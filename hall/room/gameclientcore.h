#pragma once
// The room client's core (the state behind TfrmGameClient): entering a room, the connection
// with its login line, sending and receiving, the keep-alive, drops with their countdown and
// reconnect, leaving, and the dispatcher OverCommand for the commands that enter, leave and
// re-enter a room and track its members. Later commands register their own handlers.
//
// Single-threaded: every call comes from the hall's UI thread, one at a time.

#include <QHash>
#include <QString>
#include <functional>

#include "hall/foundation/localsettings.h"
#include "hall/foundation/roompacket.h"
#include "hall/gametree/gamerecords.h"
#include "hall/room/lineassembler.h"
#include "hall/room/roomports.h"
#include "hall/room/roomuser.h"

namespace velmora::hall {

class GameClientCore {
public:
    using Handler = std::function<void(const STRU_DATA& packet)>;

    static constexpr int kHousekeepingMs = 1000;
    static constexpr int kCountdownMs = 1000;
    static constexpr int kLoadingMs = 1500;

    GameClientCore(RoomTransport& transport, RoomClock& clock, RoomTimers& timers, RoomHost& host);

    // --- entering, sending, leaving
    void LoadDesktop(const STRU_GAMEROOM& room);
    void ConnectToServer();
    void SendData(const QString& text);
    void ReConnect(const QString& reason, int wait = 0);
    // The exit button.
    void requestExit();
    // Closing the window.
    void closeRoom();

    // --- events from the transport
    void onConnected();
    void onData(const QByteArray& data);
    void onSocketError(const QString& error);
    // The server closed the connection.
    void onDisconnected();

    // --- timers
    void onHousekeepingTimer();
    void onCountdownTimer();
    void onLoadingTimer();

    // --- the dispatcher
    void OverCommand(const STRU_DATA& packet);
    // Handlers of the commands that later parts of the room client own.
    void setReplyHandler(qint32 cmdname, Handler handler) { m_replyHandlers.insert(cmdname, std::move(handler)); }
    void setBroadcastHandler(qint32 command, Handler handler) { m_broadcastHandlers.insert(command, std::move(handler)); }
    void setGameStartHandler(Handler handler) { m_gameStart = std::move(handler); }

    // --- state, for the window and the other parts
    const STRU_GAMEROOM& thisroom() const { return m_room; }
    const STRU_GAMESETTING& thisGameSetting() const { return m_setting; }
    void setGameSetting(const STRU_GAMESETTING& s) { m_setting = s; }
    RoomMembers& members() { return m_members; }
    const RoomMembers& members() const { return m_members; }
    qint32 iDesk = 0;
    qint32 iSeat = 0;
    bool bInGaming = false;
    bool bGameStarted = false;
    qint64 adminId = 0;
    qint32 iSocket() const { return m_socket; }
    qint32 iSeq() const { return m_seq; }
    int noBodytime() const { return m_noBodytime; }
    bool bQuit() const { return m_quit; }
    bool bDrop() const { return m_drop; }
    bool bNewRoom() const { return m_newRoom; }
    bool bFirstConn() const { return m_firstConn; }
    int iConnectTimes() const { return m_connectTimes; }
    int iReConnectTime() const { return m_reconnectTime; }
    int iWaitConnectTime() const { return m_waitConnectTime; }
    bool splashVisible() const { return m_splashVisible; }
    bool timerRunning(RoomTimer t) const { return m_running.value(static_cast<int>(t), false); }
    bool connected() const { return m_transport.isOpen(); }
    // Lines received but not parsed (malformed), for diagnostics.
    int droppedLines() const { return m_droppedLines; }

private:
    void startTimer(RoomTimer t, int ms);
    void stopTimer(RoomTimer t);
    void setSplash(const QString& text);
    void showSplash(bool visible);
    bool proxyMode() const;
    QByteArray lineEnd() const;
    void handleLine(const QByteArray& line);
    void failRoomEntry(qint64 errcode);

    void onReply10(const STRU_DATA& p);
    void onReply11(const STRU_DATA& p);
    void onReply12(const STRU_DATA& p);
    void onBroadcast80(const STRU_DATA& p);
    void onBroadcast81(const STRU_DATA& p);
    void onBroadcastOnline(const STRU_DATA& p, bool offline);
    QString leaveTableRequest() const;

    RoomTransport& m_transport;
    RoomClock& m_clock;
    RoomTimers& m_timers;
    RoomHost& m_host;

    STRU_GAMEROOM m_room;
    STRU_GAMESETTING m_setting;
    RoomMembers m_members;
    LineAssembler m_lines;
    QString m_host_;
    quint16 m_port = 0;
    qint32 m_socket = 0;
    qint32 m_seq = 1;
    qint64 m_lastTime = 0;
    qint64 m_lastSendTime = 0;  // 0: nothing sent yet on this connection
    int m_noBodytime = 0;
    qint64 m_connectSeconds = 0;
    bool m_firstConn = true;
    bool m_drop = false;
    bool m_quit = false;
    bool m_newRoom = false;
    int m_connectTimes = 0;
    int m_waitConnectTime = 0;
    int m_reconnectTime = 0;
    bool m_splashVisible = true;
    int m_droppedLines = 0;
    QHash<int, bool> m_running;
    QHash<qint32, Handler> m_replyHandlers;
    QHash<qint32, Handler> m_broadcastHandlers;
    Handler m_gameStart;
};

}  // namespace velmora::hall
