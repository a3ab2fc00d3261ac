#pragma once
// Helpers of the tests that run the room client against a real room server on loopback:
// waiting on the event loop, and another player driven line by line as a hall would.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpSocket>
#include <functional>
#include <optional>

#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"

namespace velmora::hall::test {

// Spins the event loop until `done` or `ms` have passed; returns `done()`.
inline bool waitFor(const std::function<bool()>& done, int ms = 5000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

// Another member of the room, on its own connection with its own session key.
class RawPlayer {
public:
    RawPlayer(quint16 port, QString key) : m_key(std::move(key)) {
        m_socket.connectToHost(QStringLiteral("127.0.0.1"), port);
    }
    bool login(const QString& token, qint64 id) {
        if (!m_socket.waitForConnected(3000)) return false;
        m_socket.write(BuildLoginLine(1, token, id).toLatin1() + '\n');
        const auto reply = next();
        if (!reply) return false;
        m_fsocket = reply->fsocket;
        return reply->command == 1;
    }
    void send(qint32 command, const QString& body) {
        m_socket.write(BuildRequestLine(m_fsocket, ++m_seq, command, body, m_key).toLatin1() + '\n');
    }
    // The next packet that `match` accepts; others are skipped.
    std::optional<STRU_DATA> next(const std::function<bool(const STRU_DATA&)>& match = {}, int ms = 5000) {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < ms) {
            const qsizetype nl = m_buffer.indexOf('\n');
            if (nl >= 0) {
                const QByteArray line = m_buffer.left(nl).trimmed();
                m_buffer.remove(0, nl + 1);
                auto p = TryParseRoomPacket(UnscrambleText(QString::fromLatin1(line), m_key));
                if (p && (!match || match(*p))) return p;
                continue;
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            m_buffer += m_socket.readAll();
        }
        return std::nullopt;
    }

private:
    QString m_key;
    QTcpSocket m_socket;
    QByteArray m_buffer;
    qint32 m_fsocket = 0;
    qint32 m_seq = 1;
};

}  // namespace velmora::hall::test
