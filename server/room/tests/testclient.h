#pragma once
// A blocking room client for socket tests and the load benchmark's checks: logs in with the
// hall's login line, sends scrambled request lines, reads and parses server packets.

#include <QSemaphore>
#include <QTcpSocket>
#include <QThread>
#include <memory>
#include <optional>

#include "hall/foundation/roompacket.h"
#include "server/room/roomtcpserver.h"

namespace velmora::server::test {

// A room server running its own event loop on a thread, so that blocking clients can talk to it.
class ServerThread final : public QThread {
public:
    ServerThread(const RoomDirectory& rooms, SessionDirectory& sessions, quint16 port, Limits limits = {})
        : m_rooms(rooms), m_sessions(sessions), m_port(port), m_limits(limits) {}
    ~ServerThread() override { stop(); }
    bool startAndWait();
    void stop();

protected:
    void run() override;

private:
    const RoomDirectory& m_rooms;
    SessionDirectory& m_sessions;
    quint16 m_port;
    Limits m_limits;
    QSemaphore m_ready;
    bool m_listening = false;
};

// A port that was free a moment ago.
quint16 freeLoopbackPort();

class TestClient {
public:
    TestClient(quint16 port, QString token, qint64 userId, QString key);
    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }
    void sendRaw(const QByteArray& bytes);
    void login(int keyIndex = 4);
    void request(qint32 command, const QString& body = QString());
    // The next packet, within timeoutMs; nothing on time-out or when the server closed.
    std::optional<hall::STRU_DATA> next(int timeoutMs = 3000);
    // Packets until one matches (reply with that cmdname when reply, else broadcast command).
    std::optional<hall::STRU_DATA> waitFor(qint32 command, bool reply, int timeoutMs = 3000);
    // True when the server closes the connection within timeoutMs.
    bool closedByServer(int timeoutMs = 3000);
    qint32 connectionNumber() const { return m_fsocket; }

private:
    QTcpSocket m_socket;
    QString m_token;
    qint64 m_userId;
    QString m_key;
    qint32 m_fsocket = 0;
    qint32 m_seq = 1;
    QByteArray m_buffer;
};

}  // namespace velmora::server::test
