#include "server/room/roomtcpserver.h"

#include <QLoggingCategory>
#include <QTcpServer>
#include <QTcpSocket>

Q_DECLARE_LOGGING_CATEGORY(lcRoomServer)

namespace velmora::server {

RoomTcpServer::RoomTcpServer(const RoomDirectory& rooms, SessionDirectory& sessions, QString host,
                             quint16 port, Limits limits, QObject* parent)
    : QObject(parent),
      m_core(rooms, sessions, m_clock, *this, host, port, limits),
      m_server(new QTcpServer(this)) {
    m_server->setMaxPendingConnections(1024);
    connect(m_server, &QTcpServer::newConnection, this, &RoomTcpServer::acceptConnections);
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, [this] { m_core.tick(); });
}

RoomTcpServer::~RoomTcpServer() {
    for (auto& [id, client] : m_clients) {
        client.socket->disconnect(this);
        client.socket->abort();
    }
}

bool RoomTcpServer::listen() {
    QHostAddress address(m_core.host());
    if (address.isNull()) address = QHostAddress::LocalHost;
    if (!m_server->listen(address, m_core.port())) return false;
    m_tick.start();
    return true;
}

quint16 RoomTcpServer::serverPort() const { return m_server->serverPort(); }
QString RoomTcpServer::errorString() const { return m_server->errorString(); }

void RoomTcpServer::acceptConnections() {
    while (QTcpSocket* socket = m_server->nextPendingConnection()) {
        socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        const ConnectionId id = m_core.openConnection();
        m_clients[id] = Client{socket, std::make_unique<LineFramer>(m_core.limits().maxLine)};
        connect(socket, &QTcpSocket::readyRead, this, [this, id] { readClient(id); });
        connect(socket, &QTcpSocket::disconnected, this, [this, id] { clientGone(id); });
        connect(socket, &QTcpSocket::errorOccurred, this, [this, id] { clientGone(id); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }
}

void RoomTcpServer::readClient(ConnectionId id) {
    auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    LineFramer& framer = *it->second.framer;
    const std::vector<QString> lines = framer.feed(it->second.socket->readAll());
    const bool overflowed = framer.overflowed();
    for (const QString& line : lines) {
        if (!m_clients.count(id)) return;  // closed by an earlier line
        m_core.receiveLine(id, line);
    }
    if (overflowed && m_clients.count(id)) m_core.closeForViolation(id, "line without line end");
}

void RoomTcpServer::clientGone(ConnectionId id) {
    const auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    QTcpSocket* socket = it->second.socket;
    m_clients.erase(it);
    m_core.connectionLost(id);
    if (socket->state() != QAbstractSocket::UnconnectedState) socket->abort();
    socket->deleteLater();
}

void RoomTcpServer::sendPacket(ConnectionId to, const hall::STRU_DATA& packet,
                               const QString& key) {
    const auto it = m_clients.find(to);
    if (it == m_clients.end()) return;
    QTcpSocket* socket = it->second.socket;
    QByteArray line = hall::BuildPacketLine(packet, key).toLatin1();
    line.append('\n');
    socket->write(line);
    if (socket->bytesToWrite() > kMaxQueuedBytes) {
        qCWarning(lcRoomServer) << "connection" << to << "does not read; dropped";
        // Deferred: the core is in the middle of a call and must not be re-entered.
        QMetaObject::invokeMethod(this, [this, to] {
            if (m_clients.count(to)) m_core.closeForViolation(to, "not reading");
        }, Qt::QueuedConnection);
    }
}

void RoomTcpServer::closeConnection(ConnectionId id) {
    const auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    QTcpSocket* socket = it->second.socket;
    m_clients.erase(it);
    socket->disconnect(this);
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    socket->disconnectFromHost();  // sends what is queued first
    if (socket->state() == QAbstractSocket::UnconnectedState) {
        socket->deleteLater();
        return;
    }
    // A peer that never reads would keep the socket open: give it five seconds.
    QTimer::singleShot(5000, socket, [socket] { socket->abort(); socket->deleteLater(); });
}

}  // namespace velmora::server
