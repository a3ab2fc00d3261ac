#include "hall/room/roomsocket.h"

#include <QNetworkProxy>

#include "hall/room/socks4.h"

namespace velmora::hall {
namespace {
constexpr int kSocketBuffer = 65536;
}

RoomSocket::RoomSocket(QObject* parent) : QObject(parent) {}

RoomSocket::~RoomSocket() { close(); }

bool RoomSocket::open(const QString& host, quint16 port, const NetSetting& proxy) {
    close();
    if (host.isEmpty() || port == 0) return false;
    ++m_generation;
    auto* socket = new QTcpSocket(this);
    m_socket = socket;
    m_ready = false;
    m_socks4 = false;
    m_socks4Reply.clear();
    m_targetHost = host;
    m_targetPort = port;
    socket->setReadBufferSize(0);
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    socket->setSocketOption(QAbstractSocket::SendBufferSizeSocketOption, kSocketBuffer);
    socket->setSocketOption(QAbstractSocket::ReceiveBufferSizeSocketOption, kSocketBuffer);
    connect(socket, &QTcpSocket::connected, this, &RoomSocket::onSocketConnected);
    connect(socket, &QTcpSocket::readyRead, this, &RoomSocket::onReadyRead);
    connect(socket, &QTcpSocket::errorOccurred, this, &RoomSocket::onError);
    connect(socket, &QTcpSocket::disconnected, this, &RoomSocket::onDisconnected);

    QString connectHost = host;
    quint16 connectPort = port;
    if (!proxy.ProxyOn) {
        socket->setProxy(QNetworkProxy::NoProxy);
    } else {
        bool ok = false;
        const int proxyPort = proxy.port.trimmed().toInt(&ok);
        const auto pport = static_cast<quint16>(ok && proxyPort > 0 && proxyPort < 65536 ? proxyPort : 0);
        switch (proxy.ProxyType) {
        case 0:
            socket->setProxy(QNetworkProxy(QNetworkProxy::HttpProxy, proxy.server, pport, proxy.username, proxy.pass));
            break;
        case 1:
            socket->setProxy(QNetworkProxy(QNetworkProxy::Socks5Proxy, proxy.server, pport, proxy.username, proxy.pass));
            break;
        case 2:
            socket->setProxy(QNetworkProxy::NoProxy);
            m_socks4 = true;
            m_socksUser = proxy.username;
            connectHost = proxy.server;
            connectPort = pport;
            break;
        default:
            socket->setProxy(QNetworkProxy::NoProxy);
            break;
        }
        if (connectHost.isEmpty() || connectPort == 0) {
            close();
            return false;
        }
    }
    socket->connectToHost(connectHost, connectPort);
    return true;
}

void RoomSocket::close() {
    if (!m_socket) return;
    QTcpSocket* socket = m_socket;
    m_socket = nullptr;
    ++m_generation;
    m_ready = false;
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

bool RoomSocket::isOpen() const {
    return m_socket && m_ready && m_socket->state() == QAbstractSocket::ConnectedState;
}

bool RoomSocket::writeLine(const QByteArray& lineWithEnd, QString* error) {
    if (!isOpen()) {
        if (error) *error = QStringLiteral("not connected");
        return false;
    }
    if (m_socket->write(lineWithEnd) != lineWithEnd.size()) {
        if (error) *error = m_socket->errorString();
        return false;
    }
    return true;
}

void RoomSocket::onSocketConnected() {
    if (!m_socks4) {
        m_ready = true;
        if (m_events.connected) m_events.connected();
        return;
    }
    const auto request = Socks4ConnectRequest(m_targetHost, m_targetPort, m_socksUser);
    if (!request) {
        if (m_events.error) m_events.error(QStringLiteral("SOCKS4: the room server address cannot be sent"));
        return;
    }
    m_socket->write(*request);
}

void RoomSocket::onReadyRead() {
    if (!m_socket) return;
    if (m_socks4 && !m_ready) {
        m_socks4Reply += m_socket->read(8 - m_socks4Reply.size());
        switch (ParseSocks4Reply(m_socks4Reply)) {
        case Socks4Reply::Incomplete:
            return;
        case Socks4Reply::Granted:
            m_ready = true;
            if (m_events.connected) m_events.connected();
            break;
        case Socks4Reply::Refused:
        case Socks4Reply::Malformed:
            if (m_events.error) m_events.error(QStringLiteral("SOCKS4 proxy refused the connection"));
            return;
        }
        if (!m_socket || m_socket->bytesAvailable() == 0) return;
    }
    const QByteArray data = m_socket->readAll();
    if (!data.isEmpty() && m_events.data) m_events.data(data);
}

void RoomSocket::onError() {
    if (!m_socket) return;
    const QString text = m_socket->errorString();
    if (m_socket->error() == QAbstractSocket::RemoteHostClosedError) return;  // onDisconnected tells
    if (m_events.error) m_events.error(text);
}

void RoomSocket::onDisconnected() {
    if (!m_socket) return;
    if (m_events.disconnected) m_events.disconnected();
}

}  // namespace velmora::hall
