#include "hall/room/roomsession.h"

#include <QRandomGenerator>

namespace velmora::hall {

int SystemRoomClock::randomKeyIndex() { return static_cast<int>(QRandomGenerator::global()->bounded(10)); }

RoomSession::RoomSession(RoomHost& host, QObject* parent)
    : QObject(parent), m_core(std::make_unique<GameClientCore>(m_socket, m_clock, static_cast<RoomTimers&>(*this), host)) {
    m_loading.setSingleShot(true);
    connect(&m_housekeeping, &QTimer::timeout, this, [this] { m_core->onHousekeepingTimer(); });
    connect(&m_countdown, &QTimer::timeout, this, [this] { m_core->onCountdownTimer(); });
    connect(&m_loading, &QTimer::timeout, this, [this] { m_core->onLoadingTimer(); });
    m_socket.setEvents({
        [this] { deliver([this] { m_core->onConnected(); }); },
        [this](const QByteArray& data) { m_core->onData(data); },
        [this](const QString& error) { deliver([this, error] { m_core->onSocketError(error); }); },
        [this] { deliver([this] { m_core->onDisconnected(); }); },
    });
}

void RoomSession::deliver(std::function<void()> event) {
    // Socket events reach the core through queued calls: the core may close the socket while
    // handling one, and must never do so under the socket's own signal emission. An event of a
    // connection that has been closed or replaced meanwhile is dropped.
    const quint64 generation = m_socket.generation();
    QMetaObject::invokeMethod(
        this,
        [this, generation, event = std::move(event)] {
            if (m_socket.generation() == generation) event();
        },
        Qt::QueuedConnection);
}

RoomSession::~RoomSession() {
    m_socket.setEvents({});
    m_socket.close();
}

QTimer& RoomSession::timer(RoomTimer t) {
    switch (t) {
    case RoomTimer::Housekeeping:
        return m_housekeeping;
    case RoomTimer::Countdown:
        return m_countdown;
    case RoomTimer::Loading:
        break;
    }
    return m_loading;
}

void RoomSession::start(RoomTimer t, int intervalMs) { timer(t).start(intervalMs); }

void RoomSession::stop(RoomTimer t) { timer(t).stop(); }

}  // namespace velmora::hall
