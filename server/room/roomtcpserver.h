#pragma once
// The network shell of one room server: a QTcpServer on one address, one LineFramer per
// connection, and the core. Sockets only carry lines; every rule is in RoomServerCore.

#include <QHostAddress>
#include <QObject>
#include <QTimer>
#include <memory>
#include <unordered_map>

#include "server/room/lineframer.h"
#include "server/room/roomservercore.h"

class QTcpServer;
class QTcpSocket;

namespace velmora::server {

class RoomTcpServer final : public QObject, private PacketSink {
    Q_OBJECT
public:
    // Bytes queued for one client beyond which it counts as not reading and is dropped, so
    // that one stalled client cannot make the server hold unbounded memory.
    static constexpr qint64 kMaxQueuedBytes = 4 * 1024 * 1024;

    RoomTcpServer(const RoomDirectory& rooms, SessionDirectory& sessions, QString host,
                  quint16 port, Limits limits = {}, QObject* parent = nullptr);
    ~RoomTcpServer() override;

    // Listens on host:port (port 0 picks a free one, see serverPort()).
    bool listen();
    quint16 serverPort() const;
    QString errorString() const;
    RoomServerCore& core() { return m_core; }

private:
    struct Client {
        QTcpSocket* socket = nullptr;
        std::unique_ptr<LineFramer> framer;
    };

    void sendPacket(ConnectionId to, const hall::STRU_DATA& packet, const QString& key) override;
    void closeConnection(ConnectionId id) override;
    void acceptConnections();
    void readClient(ConnectionId id);
    void clientGone(ConnectionId id);

    SteadyClock m_clock;
    RoomServerCore m_core;
    QTcpServer* m_server;
    QTimer m_tick;
    std::unordered_map<ConnectionId, Client> m_clients;
};

}  // namespace velmora::server
