#include "testclient.h"

#include <QDeadlineTimer>
#include <QTcpServer>

#include "hall/foundation/publicfunc.h"

namespace velmora::server::test {

bool ServerThread::startAndWait() {
    start();
    m_ready.acquire();
    return m_listening;
}

void ServerThread::stop() {
    if (!isRunning()) return;
    quit();
    wait();
}

void ServerThread::run() {
    RoomTcpServer server(m_rooms, m_sessions, QStringLiteral("127.0.0.1"), m_port, m_limits);
    m_listening = server.listen();
    m_ready.release();
    if (m_listening) exec();
}

quint16 freeLoopbackPort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

TestClient::TestClient(quint16 port, QString token, qint64 userId, QString key)
    : m_token(std::move(token)), m_userId(userId), m_key(std::move(key)) {
    m_socket.connectToHost(QHostAddress::LocalHost, port);
    m_socket.waitForConnected(3000);
}

void TestClient::sendRaw(const QByteArray& bytes) {
    m_socket.write(bytes);
    m_socket.waitForBytesWritten(3000);
}

void TestClient::login(int keyIndex) {
    sendRaw(hall::BuildLoginLine(keyIndex, m_token, m_userId).toLatin1() + '\n');
    if (const auto reply = waitFor(10, true)) m_fsocket = reply->fsocket;
}

void TestClient::request(qint32 command, const QString& body) {
    sendRaw(hall::BuildRequestLine(m_fsocket, ++m_seq, command, body, m_key).toLatin1() + '\n');
}

std::optional<hall::STRU_DATA> TestClient::next(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        const qsizetype lf = m_buffer.indexOf('\n');
        if (lf >= 0) {
            const QString line = QString::fromLatin1(m_buffer.left(lf));
            m_buffer.remove(0, lf + 1);
            if (auto p = hall::TryParseRoomPacket(hall::UnscrambleText(line, m_key))) return p;
            continue;
        }
        if (m_socket.state() != QAbstractSocket::ConnectedState && m_socket.bytesAvailable() == 0)
            return std::nullopt;
        if (m_socket.bytesAvailable() == 0 &&
            !m_socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            return std::nullopt;
        m_buffer += m_socket.readAll();
        if (deadline.hasExpired() && m_buffer.indexOf('\n') < 0) return std::nullopt;
    }
}

std::optional<hall::STRU_DATA> TestClient::waitFor(qint32 command, bool reply, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        auto p = next(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        if (!p) return std::nullopt;
        if (reply && p->datatype == 1 &&
            hall::BodyInt(p->data, QStringLiteral("cmdname"), -1) == command)
            return p;
        if (!reply && p->datatype == 2 && p->command == command) return p;
    }
    return std::nullopt;
}

bool TestClient::closedByServer(int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (m_socket.state() == QAbstractSocket::ConnectedState && !deadline.hasExpired()) {
        if (m_socket.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime()))))
            m_socket.readAll();
    }
    return m_socket.state() != QAbstractSocket::ConnectedState;
}

}  // namespace velmora::server::test
