#include "server/room/roomtcpserver.h"

#include <QLoggingCategory>
#include <QSocketNotifier>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/epoll.h>
#include <sys/socket.h>
#include <unistd.h>

Q_DECLARE_LOGGING_CATEGORY(lcRoomServer)

namespace velmora::server {
namespace {

constexpr quint64 kListenToken = 0;
constexpr int kReadChunk = 65536;
constexpr int kEventsPerTurn = 256;

}  // namespace

RoomTcpServer::RoomTcpServer(const RoomDirectory& rooms, SessionDirectory& sessions, QString host,
                             quint16 port, Limits limits, QObject* parent)
    : QObject(parent), m_core(rooms, sessions, m_clock, *this, host, port, limits) {
    m_tick.setInterval(1000);
    connect(&m_tick, &QTimer::timeout, this, [this] {
        m_core.tick();
        flushPending();
        if (m_acceptPaused) {
            m_acceptPaused = false;
            epoll_event ev{};
            ev.events = EPOLLIN;
            ev.data.u64 = kListenToken;
            ::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_listenFd, &ev);
        }
        const auto changes = m_core.takeRoomCountChanges();
        if (m_reportCount)
            for (const auto& [roomId, count] : changes) m_reportCount(roomId, count);
        const auto played = m_core.takeGamesPlayed();
        if (m_reportPlayed)
            for (const auto& [userId, gameId] : played) m_reportPlayed(userId, gameId);
    });
}

RoomTcpServer::~RoomTcpServer() {
    for (auto& [id, c] : m_clients) closeSocket(c.fd);
    m_clients.clear();
    if (m_listenFd >= 0) ::close(m_listenFd);
    if (m_epollFd >= 0) ::close(m_epollFd);
}

bool RoomTcpServer::listen() {
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(m_core.port());
    if (::inet_pton(AF_INET, m_core.host().toLatin1().constData(), &addr.sin_addr) != 1) {
        m_error = QStringLiteral("not an IPv4 address: %1").arg(m_core.host());
        return false;
    }
    m_epollFd = ::epoll_create1(EPOLL_CLOEXEC);
    m_listenFd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int one = 1;
    if (m_epollFd < 0 || m_listenFd < 0 ||
        ::setsockopt(m_listenFd, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) != 0 ||
        ::bind(m_listenFd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0 ||
        ::listen(m_listenFd, 1024) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    epoll_event ev{};
    ev.events = EPOLLIN;
    ev.data.u64 = kListenToken;
    ::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, m_listenFd, &ev);
    m_notifier = new QSocketNotifier(m_epollFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &RoomTcpServer::onEpoll);
    m_tick.start();
    return true;
}

quint16 RoomTcpServer::serverPort() const {
    sockaddr_in addr{};
    socklen_t len = sizeof addr;
    if (m_listenFd < 0 || ::getsockname(m_listenFd, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
        return 0;
    return ntohs(addr.sin_port);
}

void RoomTcpServer::onEpoll() {
    epoll_event events[kEventsPerTurn];
    const int n = ::epoll_wait(m_epollFd, events, kEventsPerTurn, 0);
    m_inBatch = true;
    for (int i = 0; i < n; ++i) {
        const quint64 token = events[i].data.u64;
        if (token == kListenToken) {
            acceptConnections();
            continue;
        }
        const auto id = static_cast<ConnectionId>(token);
        const auto it = m_clients.find(id);
        if (it == m_clients.end()) continue;
        const quint32 ev = events[i].events;
        if (ev & (EPOLLIN | EPOLLRDHUP | EPOLLHUP | EPOLLERR)) readClient(id);
        if ((ev & EPOLLOUT) && m_clients.count(id)) flush(id);
    }
    m_inBatch = false;
    flushPending();
}

void RoomTcpServer::acceptConnections() {
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if (errno == EAGAIN || errno == EWOULDBLOCK) return;
            // Out of descriptors or memory: the listener would stay readable and spin, so it
            // rests until the next tick.
            qCWarning(lcRoomServer) << "accept failed:" << std::strerror(errno) << "- pausing";
            ::epoll_ctl(m_epollFd, EPOLL_CTL_DEL, m_listenFd, nullptr);
            m_acceptPaused = true;
            return;
        }
        const int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
        const ConnectionId id = m_core.openConnection();
        Client c;
        c.id = id;
        c.fd = fd;
        c.framer = std::make_unique<LineFramer>(m_core.limits().maxLine);
        epoll_event ev{};
        ev.events = EPOLLIN | EPOLLRDHUP;
        ev.data.u64 = static_cast<quint64>(static_cast<quint32>(id));
        if (::epoll_ctl(m_epollFd, EPOLL_CTL_ADD, fd, &ev) != 0) {
            ::close(fd);
            m_core.connectionLost(id);
            continue;
        }
        m_clients[id] = std::move(c);
    }
}

void RoomTcpServer::readClient(ConnectionId id) {
    char buffer[kReadChunk];
    bool peerGone = false;
    QByteArray received;
    for (;;) {
        auto it = m_clients.find(id);
        if (it == m_clients.end()) return;
        const ssize_t n = ::read(it->second.fd, buffer, sizeof buffer);
        if (n > 0) {
            received.append(buffer, n);
            if (n < static_cast<ssize_t>(sizeof buffer) || received.size() >= 4 * kReadChunk) break;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        peerGone = true;  // end of stream or a socket error
        break;
    }
    auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    if (!it->second.closing && !received.isEmpty()) {
        LineFramer& framer = *it->second.framer;
        const std::vector<QString> lines = framer.feed(received);
        const bool overflowed = framer.overflowed();
        for (const QString& line : lines) {
            const auto c = m_clients.find(id);
            if (c == m_clients.end() || c->second.closing) break;  // closed by an earlier line
            m_core.receiveLine(id, line);
        }
        const auto c = m_clients.find(id);
        if (overflowed && c != m_clients.end() && !c->second.closing)
            m_core.closeForViolation(id, "line without line end");
    }
    if (peerGone) dropClient(id, true);
}

void RoomTcpServer::sendPacket(ConnectionId to, const hall::STRU_DATA& packet,
                               const QString& key) {
    const auto it = m_clients.find(to);
    if (it == m_clients.end() || it->second.closing) return;
    Client& c = it->second;
    const bool wasEmpty = c.out.size() == c.outOffset;
    c.out.append(hall::BuildPacketLine(packet, key).toLatin1());
    c.out.append('\n');
    if (c.out.size() - c.outOffset > kMaxQueuedBytes) {
        qCWarning(lcRoomServer) << "connection" << to << "does not read; dropped";
        c.out.clear();
        c.outOffset = 0;
        // Deferred: the core is in the middle of a call and must not be re-entered.
        QMetaObject::invokeMethod(this, [this, to] {
            if (m_clients.count(to)) m_core.closeForViolation(to, "not reading");
        }, Qt::QueuedConnection);
        return;
    }
    if (wasEmpty && !c.flushQueued) {
        c.flushQueued = true;
        m_dirty.push_back(to);
    }
    if (!m_inBatch && !m_flushScheduled) {
        m_flushScheduled = true;
        QMetaObject::invokeMethod(this, [this] { flushPending(); }, Qt::QueuedConnection);
    }
}

void RoomTcpServer::flushPending() {
    m_flushScheduled = false;
    std::vector<ConnectionId> dirty;
    dirty.swap(m_dirty);
    for (const ConnectionId id : dirty) {
        const auto it = m_clients.find(id);
        if (it == m_clients.end()) continue;
        it->second.flushQueued = false;
        flush(id);
    }
}

bool RoomTcpServer::flush(ConnectionId id) {
    auto it = m_clients.find(id);
    if (it == m_clients.end()) return false;
    Client& c = it->second;
    while (c.outOffset < c.out.size()) {
        const ssize_t n = ::send(c.fd, c.out.constData() + c.outOffset,
                                 static_cast<size_t>(c.out.size() - c.outOffset), MSG_NOSIGNAL);
        if (n > 0) {
            c.outOffset += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (!c.writeWatched) setInterest(c, true);
            return true;
        }
        dropClient(id, true);
        return false;
    }
    c.out.clear();
    c.outOffset = 0;
    if (c.writeWatched) setInterest(c, false);
    if (c.closing) {
        dropClient(id, false);
        return false;
    }
    return true;
}

// A closing connection is no longer read: only its output and its hang-up matter.
void RoomTcpServer::setInterest(Client& c, bool writes) {
    c.writeWatched = writes;
    epoll_event ev{};
    ev.events = (c.closing ? 0u : EPOLLIN | EPOLLRDHUP) | (writes ? EPOLLOUT : 0u);
    ev.data.u64 = static_cast<quint64>(static_cast<quint32>(c.id));
    ::epoll_ctl(m_epollFd, EPOLL_CTL_MOD, c.fd, &ev);
}

void RoomTcpServer::closeConnection(ConnectionId id) {
    const auto it = m_clients.find(id);
    if (it == m_clients.end() || it->second.closing) return;
    Client& c = it->second;
    c.closing = true;
    if (c.out.size() == c.outOffset) {
        dropClient(id, false);
        return;
    }
    setInterest(c, true);
    if (!flush(id)) return;
    if (m_clients.count(id))
        QTimer::singleShot(kCloseGraceMs, this, [this, id] { dropClient(id, false); });
}

// Forgets the connection and closes its socket; tellCore when the core does not know yet.
void RoomTcpServer::dropClient(ConnectionId id, bool tellCore) {
    const auto it = m_clients.find(id);
    if (it == m_clients.end()) return;
    const int fd = it->second.fd;
    const bool coreKnows = !it->second.closing;
    m_clients.erase(it);
    closeSocket(fd);
    if (tellCore && coreKnows) m_core.connectionLost(id);
}

void RoomTcpServer::closeSocket(int fd) {
    if (m_epollFd >= 0) ::epoll_ctl(m_epollFd, EPOLL_CTL_DEL, fd, nullptr);
    ::close(fd);
}

}  // namespace velmora::server
