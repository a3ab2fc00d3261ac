#pragma once
// The network shell of one room server: a listening TCP socket on one address, one LineFramer
// and one output queue per connection, and the core. Sockets only carry lines; every rule is
// in RoomServerCore.
//
// The sockets are multiplexed with one epoll set, watched by a single QSocketNotifier, so an
// event loop turn costs in proportion to the sockets that are ready, not to all connected ones
// (with a notifier per socket, poll() over 3,000 idle members dominated the relay latency).
// Runs on the thread that created it; not thread-safe.

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <unordered_map>

#include "server/room/lineframer.h"
#include "server/room/roomservercore.h"

class QSocketNotifier;

namespace velmora::server {

class RoomTcpServer final : public QObject, private PacketSink {
    Q_OBJECT
public:
    // Bytes queued for one client beyond which it counts as not reading and is dropped, so
    // that one stalled client cannot make the server hold unbounded memory.
    static constexpr qsizetype kMaxQueuedBytes = 4 * 1024 * 1024;
    // A connection the core closed gets this long to take its last packets.
    static constexpr int kCloseGraceMs = 5000;

    RoomTcpServer(const RoomDirectory& rooms, SessionDirectory& sessions, QString host,
                  quint16 port, Limits limits = {}, QObject* parent = nullptr);
    ~RoomTcpServer() override;

    // Listens on host:port (port 0 picks a free one, see serverPort()).
    bool listen();
    quint16 serverPort() const;
    QString errorString() const { return m_error; }
    RoomServerCore& core() { return m_core; }
    // Called once a second for every room whose member count changed.
    void setRoomCountReporter(std::function<void(qint32 roomId, int count)> reporter) {
        m_reportCount = std::move(reporter);
    }
    // Called once a second with every player whose game started, and the room's game id.
    void setPlayedReporter(std::function<void(qint64 userId, qint32 gameId)> reporter) {
        m_reportPlayed = std::move(reporter);
    }

private:
    struct Client {
        ConnectionId id = 0;
        int fd = -1;
        std::unique_ptr<LineFramer> framer;
        QByteArray out;
        qsizetype outOffset = 0;
        bool writeWatched = false;
        bool closing = false;  // the core is done with it: close once the queue is sent
        bool flushQueued = false;
    };

    void sendPacket(ConnectionId to, const hall::STRU_DATA& packet, const QString& key) override;
    void closeConnection(ConnectionId id) override;

    void onEpoll();
    void acceptConnections();
    void readClient(ConnectionId id);
    bool flush(ConnectionId id);  // false when the connection failed and is gone
    void setInterest(Client& c, bool writes);
    void flushPending();
    void dropClient(ConnectionId id, bool tellCore);
    void closeSocket(int fd);

    SteadyClock m_clock;
    RoomServerCore m_core;
    int m_listenFd = -1;
    int m_epollFd = -1;
    QSocketNotifier* m_notifier = nullptr;
    QTimer m_tick;
    QString m_error;
    std::function<void(qint32, int)> m_reportCount;
    std::function<void(qint64, qint32)> m_reportPlayed;
    std::unordered_map<ConnectionId, Client> m_clients;
    std::vector<ConnectionId> m_dirty;  // connections with queued output
    bool m_flushScheduled = false;
    bool m_inBatch = false;
    bool m_acceptPaused = false;
};

}  // namespace velmora::server
