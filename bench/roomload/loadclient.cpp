#include "loadclient.h"

#include <QHostAddress>
#include <chrono>

#include "hall/foundation/publicfunc.h"

namespace velmora::bench {

qint64 monotonicNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

LoadClient::LoadClient(qint64 userId, QString token, QString key, qint32 roomId, LoadStats& stats)
    : m_userId(userId), m_token(std::move(token)), m_key(std::move(key)), m_roomId(roomId), m_stats(stats) {
    connect(&m_socket, &QTcpSocket::readyRead, this, &LoadClient::onReadyRead);
    connect(&m_socket, &QTcpSocket::connected, this, [this] {
        m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);
        m_socket.write(hall::BuildLoginLine(static_cast<int>(m_userId % 10), m_token, m_userId).toLatin1() + '\n');
    });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this] { ++m_stats.failures; });
}

void LoadClient::connectTo(quint16 port) { m_socket.connectToHost(QHostAddress::LocalHost, port); }

void LoadClient::request(qint32 command, const QString& body) {
    m_socket.write(hall::BuildRequestLine(m_fsocket, ++m_seq, command, body, m_key).toLatin1() + '\n');
}

void LoadClient::sitDown(int table, int seat) {
    request(13, QStringLiteral("roomid=%1&tableid=%2&seatindex=%3").arg(m_roomId).arg(table).arg(seat));
}

void LoadClient::sendRelay(int frameBytes) {
    QByteArray frame(std::max(frameBytes, 10), '\x5A');
    frame[0] = 3;
    const qint64 now = monotonicNs();
    for (int i = 0; i < 8; ++i) frame[1 + i] = static_cast<char>((now >> (8 * i)) & 0xFF);
    request(20, QStringLiteral("msg=") + hall::HexEncodeBytes(frame));
}

void LoadClient::onReadyRead() {
    m_buffer += m_socket.readAll();
    qsizetype start = 0;
    for (;;) {
        const qsizetype lf = m_buffer.indexOf('\n', start);
        if (lf < 0) break;
        const QString line = QString::fromLatin1(m_buffer.constData() + start, lf - start);
        start = lf + 1;
        ++m_stats.lines;
        if (auto p = hall::TryParseRoomPacket(hall::UnscrambleText(line, m_key))) handle(*p);
    }
    m_buffer.remove(0, start);
}

void LoadClient::handle(const hall::STRU_DATA& p) {
    const qint64 name = p.datatype == 1 ? hall::BodyInt(p.data, QStringLiteral("cmdname")) : p.command;
    if (name == 20) {
        const QByteArray frame = hall::HexDecodeText(hall::BodyValue(p.data, QStringLiteral("msg")));
        if (frame.size() < 9) return;
        qint64 sent = 0;
        for (int i = 0; i < 8; ++i) sent |= qint64(static_cast<quint8>(frame[1 + i])) << (8 * i);
        m_stats.latenciesMs.push_back((monotonicNs() - sent) / 1e6);
        return;
    }
    if (p.datatype != 1) return;
    if (name == 10) {
        if (p.command != 1) return void(++m_stats.failures);
        m_fsocket = p.fsocket;
        ++m_stats.loggedIn;
        request(11, QStringLiteral("roomid=%1").arg(m_roomId));
    } else if (name == 11) {
        if (p.command != 1) return void(++m_stats.failures);
        m_inRoom = true;
        ++m_stats.entered;
    } else if (name == 13) {
        if (p.command != 1) return void(++m_stats.failures);
        ++m_stats.seated;
    }
}

}  // namespace velmora::bench
