#pragma once
// The room client's core on Qt: the socket, the three timers and the system clock around a
// GameClientCore. The window (TfrmGameClient) owns one and implements RoomHost.

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

#include "hall/room/gameclientcore.h"
#include "hall/room/roomsocket.h"

namespace velmora::hall {

class SystemRoomClock : public RoomClock {
public:
    SystemRoomClock() { m_start.start(); }
    qint64 monotonicMs() const override { return m_start.elapsed() + 1; }
    QDateTime localNow() const override { return QDateTime::currentDateTime(); }
    int randomKeyIndex() override;

private:
    QElapsedTimer m_start;
};

class RoomSession : public QObject, private RoomTimers {
    Q_OBJECT
public:
    explicit RoomSession(RoomHost& host, QObject* parent = nullptr);
    ~RoomSession() override;

    GameClientCore& core() { return *m_core; }
    RoomSocket& socket() { return m_socket; }

private:
    void start(RoomTimer timer, int intervalMs) override;
    void stop(RoomTimer timer) override;
    QTimer& timer(RoomTimer t);
    void deliver(std::function<void()> event);

    RoomSocket m_socket;
    SystemRoomClock m_clock;
    QTimer m_housekeeping;
    QTimer m_countdown;
    QTimer m_loading;
    std::unique_ptr<GameClientCore> m_core;
};

}  // namespace velmora::hall
