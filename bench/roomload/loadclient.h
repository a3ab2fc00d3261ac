#pragma once
// One simulated hall for the load benchmark: an event-driven socket that logs in, enters a
// room, sits down and relays game data, timing every relay it receives.

#include <QObject>
#include <QTcpSocket>
#include <functional>
#include <vector>

#include "hall/foundation/roompacket.h"

namespace velmora::bench {

struct LoadStats {
    int loggedIn = 0;
    int entered = 0;
    int seated = 0;
    int failures = 0;
    qint64 lines = 0;
    std::vector<double> latenciesMs;  // one sample per delivered relay (reply or broadcast)
};

qint64 monotonicNs();

class LoadClient final : public QObject {
    Q_OBJECT
public:
    LoadClient(qint64 userId, QString token, QString key, qint32 roomId, LoadStats& stats);
    void connectTo(quint16 port);
    void sitDown(int table, int seat);
    // A game frame of `frameBytes` bytes whose first 8 carry the send time.
    void sendRelay(int frameBytes);
    bool inRoom() const { return m_inRoom; }
    bool connected() const { return m_socket.state() == QAbstractSocket::ConnectedState; }

private:
    void onReadyRead();
    void handle(const hall::STRU_DATA& p);
    void request(qint32 command, const QString& body);

    QTcpSocket m_socket;
    qint64 m_userId;
    QString m_token;
    QString m_key;
    qint32 m_roomId;
    LoadStats& m_stats;
    qint32 m_fsocket = 0;
    qint32 m_seq = 1;
    QByteArray m_buffer;
    bool m_inRoom = false;
};

}  // namespace velmora::bench
