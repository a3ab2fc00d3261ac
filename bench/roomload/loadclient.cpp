#include "loadclient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <chrono>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "hall/foundation/publicfunc.h"

namespace velmora::bench {

qint64 monotonicNs() {
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

LoadClient::LoadClient(int epollFd, quint32 token, qint64 userId, QString sessionToken, QString key,
                       qint32 roomId, LoadStats& stats)
    : m_epollFd(epollFd),
      m_token(token),
      m_userId(userId),
      m_sessionToken(std::move(sessionToken)),
      m_key(std::move(key)),
      m_roomId(roomId),
      m_stats(stats) {}

LoadClient::~LoadClient() {
    if (m_fd >= 0) ::close(m_fd);
}

bool LoadClient::connectTo(quint16 port) {
    m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_fd < 0) return fail(), false;
    const int one = 1;
    ::setsockopt(m_fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(port);
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(m_fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 && errno != EINPROGRESS)
        return fail(), false;
    epoll_event ev{};
    ev.events = EPOLLIN | EPOLLOUT;
    ev.data.u32 = m_token;
    m_writeWatched = true;
    ::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_fd, &ev);
    // The login line waits in the output until the connection is up.
    m_out = hall::BuildLoginLine(static_cast<int>(m_userId % 10), m_sessionToken, m_userId).toLatin1() + '\n';
    return true;
}

void LoadClient::fail() {
    ++m_stats.failures;
    if (m_fd >= 0) {
        ::epoll_ctl(m_epollFd, EPOLL_CTL_DEL, m_fd, nullptr);
        ::close(m_fd);
        m_fd = -1;
    }
}

void LoadClient::request(qint32 command, const QString& body) {
    write(hall::BuildRequestLine(m_fsocket, ++m_seq, command, body, m_key).toLatin1() + '\n');
}

void LoadClient::write(const QByteArray& bytes) {
    if (m_fd < 0) return;
    m_out += bytes;
    if (m_connected) flush();
}

void LoadClient::flush() {
    while (!m_out.isEmpty()) {
        const ssize_t n = ::send(m_fd, m_out.constData(), static_cast<size_t>(m_out.size()), MSG_NOSIGNAL);
        if (n > 0) {
            m_out.remove(0, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        return fail();
    }
    const bool want = !m_out.isEmpty();
    if (want != m_writeWatched) {
        m_writeWatched = want;
        epoll_event ev{};
        ev.events = EPOLLIN | (want ? EPOLLOUT : 0u);
        ev.data.u32 = m_token;
        ::epoll_ctl(m_epollFd, EPOLL_CTL_MOD, m_fd, &ev);
    }
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

void LoadClient::onEvents(quint32 events) {
    if (m_fd < 0) return;
    if (events & (EPOLLERR | EPOLLHUP)) return fail();
    if (events & EPOLLOUT) {
        m_connected = true;
        flush();
        if (m_fd < 0) return;
    }
    if (!(events & EPOLLIN)) return;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
        if (n > 0) {
            m_in.append(buffer, n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        return fail();
    }
    qsizetype start = 0;
    for (;;) {
        const qsizetype lf = m_in.indexOf('\n', start);
        if (lf < 0) break;
        const QString line = QString::fromLatin1(m_in.constData() + start, lf - start);
        start = lf + 1;
        ++m_stats.lines;
        if (auto p = hall::TryParseRoomPacket(hall::UnscrambleText(line, m_key))) handle(*p);
    }
    m_in.remove(0, start);
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

ClientPool::ClientPool() : m_epollFd(::epoll_create1(EPOLL_CLOEXEC)) {}

ClientPool::~ClientPool() {
    m_clients.clear();
    if (m_epollFd >= 0) ::close(m_epollFd);
}

LoadClient& ClientPool::add(qint64 userId, QString token, QString key, qint32 roomId, LoadStats& stats) {
    const auto index = static_cast<quint32>(m_clients.size());
    m_clients.push_back(std::make_unique<LoadClient>(m_epollFd, index, userId, std::move(token),
                                                     std::move(key), roomId, stats));
    return *m_clients.back();
}

void ClientPool::poll(int timeoutMs) {
    epoll_event events[512];
    const int n = ::epoll_wait(m_epollFd, events, 512, timeoutMs);
    for (int i = 0; i < n; ++i) {
        const quint32 index = events[i].data.u32;
        if (index < m_clients.size()) m_clients[index]->onEvents(events[i].events);
    }
}

}  // namespace velmora::bench
