#pragma once
// Simulated halls for the load benchmark: non-blocking sockets on one epoll set, driven by the
// benchmark's own loop (no Qt socket per client, so 3,000 idle clients cost nothing per turn
// and the figures show the server rather than the client side). Each client logs in, enters a
// room, sits down and relays game data, timing every relay it receives.

#include <QByteArray>
#include <QString>
#include <memory>
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

class LoadClient {
public:
    LoadClient(int epollFd, quint32 token, qint64 userId, QString token_, QString key, qint32 roomId,
               LoadStats& stats);
    ~LoadClient();
    bool connectTo(quint16 port);
    void sitDown(int table, int seat);
    // A game frame of `frameBytes` bytes whose bytes 1 to 8 carry the send time.
    void sendRelay(int frameBytes);
    bool inRoom() const { return m_inRoom && m_fd >= 0; }
    void onEvents(quint32 events);

private:
    void handle(const hall::STRU_DATA& p);
    void request(qint32 command, const QString& body);
    void write(const QByteArray& bytes);
    void flush();
    void fail();

    int m_epollFd;
    quint32 m_token;
    int m_fd = -1;
    bool m_connected = false;
    bool m_writeWatched = false;
    qint64 m_userId;
    QString m_sessionToken;
    QString m_key;
    qint32 m_roomId;
    LoadStats& m_stats;
    qint32 m_fsocket = 0;
    qint32 m_seq = 1;
    QByteArray m_in;
    QByteArray m_out;
    bool m_inRoom = false;
};

// The clients and their epoll set.
class ClientPool {
public:
    ClientPool();
    ~ClientPool();
    LoadClient& add(qint64 userId, QString token, QString key, qint32 roomId, LoadStats& stats);
    LoadClient& operator[](size_t i) { return *m_clients[i]; }
    size_t size() const { return m_clients.size(); }
    // Waits up to timeoutMs for socket events and handles them.
    void poll(int timeoutMs);

private:
    int m_epollFd;
    std::vector<std::unique_ptr<LoadClient>> m_clients;
};

}  // namespace velmora::bench
