#include "server/room/roomservercore.h"

#include <QLoggingCategory>
#include <chrono>
#include <limits>

#include "hall/foundation/publicfunc.h"

Q_LOGGING_CATEGORY(lcRoomServer, "velmora.roomserver")

namespace velmora::server {
namespace {

using hall::STRU_DATA;

std::optional<STRU_DATA> parseRequest(const QString& text) { return hall::TryParseRequestPacket(text); }

}  // namespace

qint64 SteadyClock::nowMs() const {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

RoomServerCore::RoomServerCore(const RoomDirectory& rooms, SessionDirectory& sessions,
                               const Clock& clock, PacketSink& sink, QString host, quint16 port,
                               Limits limits)
    : m_directory(rooms),
      m_sessions(sessions),
      m_clock(clock),
      m_sink(sink),
      m_host(std::move(host)),
      m_port(port),
      m_limits(limits) {}

ConnectionId RoomServerCore::openConnection() {
    // Numbers count up and wrap after 2^31 connections, skipping any still in use.
    auto advance = [this] {
        m_nextId = m_nextId == std::numeric_limits<ConnectionId>::max() ? 1 : m_nextId + 1;
    };
    while (m_connections.count(m_nextId)) advance();
    const ConnectionId id = m_nextId;
    advance();
    Connection c;
    c.id = id;
    c.openedMs = c.lastLineMs = c.refillMs = m_clock.nowMs();
    c.tokens = m_limits.lineBurst;
    m_connections[id] = c;
    return id;
}

bool RoomServerCore::takeToken(Connection& c) {
    const qint64 now = m_clock.nowMs();
    c.tokens = std::min<double>(m_limits.lineBurst,
                                c.tokens + (now - c.refillMs) * m_limits.linesPerSecond / 1000.0);
    c.refillMs = now;
    if (c.tokens < 1.0) return false;
    c.tokens -= 1.0;
    return true;
}

void RoomServerCore::receiveLine(ConnectionId id, const QString& wireLine) {
    const auto it = m_connections.find(id);
    if (it == m_connections.end()) return;
    Connection& c = it->second;
    c.lastLineMs = m_clock.nowMs();
    if (!takeToken(c)) {
        endConnection(id, true, "flood");
        return;
    }
    if (wireLine.size() > m_limits.maxLine) {
        endConnection(id, true, "line too long");
        return;
    }
    if (!c.loggedIn) {
        handleLogin(c, wireLine);
        return;
    }
    const auto request = parseRequest(hall::UnscrambleText(wireLine, c.key));
    if (!request) return badLine(c, "malformed line");
    if (request->datatype != 0) return badLine(c, "not a request");
    if (request->fsocket != c.id) return badLine(c, "wrong connection number");
    if (request->seq <= c.lastSeq) return badLine(c, "sequence number out of order");
    c.lastSeq = request->seq;
    dispatch(c, *request);
}

void RoomServerCore::handleLogin(Connection& c, const QString& wire) {
    const auto login = hall::ParseLoginLine(wire);
    if (!login) {
        endConnection(c.id, true, "malformed login line");
        return;
    }
    const auto session = m_sessions.findSession(login->token);
    if (!session || session->encodeKey.isEmpty()) {
        // Without a session there is no key the hall could read a reply with.
        endConnection(c.id, true, "unknown token");
        return;
    }
    if (session->userId != login->userId) {
        c.key = session->encodeKey;
        send(c.id, 1, 1, kResultFailed,
             QStringLiteral("cmdname=10&errcode=%1").arg(err::kLoginFailed));
        endConnection(c.id, true, "user id does not match the session");
        return;
    }
    const ConnectionId id = c.id;
    // A second login of the same player replaces the first connection, which counts as a drop
    // (the place is then held and restored at once below).
    for (auto& [otherId, other] : m_connections) {
        if (otherId != id && other.loggedIn && other.userId == session->userId) {
            endConnection(otherId, true, "replaced by a new login");
            break;
        }
    }
    Connection& conn = m_connections.at(id);
    conn.loggedIn = true;
    conn.userId = session->userId;
    conn.key = session->encodeKey;
    conn.profile = session->profile;
    conn.profile.userId = session->userId;

    Member* held = memberOf(conn.userId);
    if (held && held->conn == 0) {
        held->profile = conn.profile;
        restorePlace(conn, *held);
        return;
    }
    send(id, 1, 1, kResultOk, QStringLiteral("cmdname=10&dropon=0"));
}

void RoomServerCore::dispatch(Connection& c, const hall::STRU_DATA& p) {
    const Request r{&c, p.seq, p.command, p.data};
    if (p.data.size() > m_limits.maxBody) {
        fail(r, err::kBodyTooLong);
        return badLine(c, "body too long");
    }
    if (p.command != cmd::kEnterRoom && p.command != cmd::kKeepAlive) {
        if (Member* m = memberOf(c.userId)) m->restorePending = false;
    }
    switch (p.command) {
    case cmd::kEnterRoom: return enterRoom(r);
    case cmd::kLeaveRoom: return leaveRoom(r);
    case cmd::kSitDown: return sitDown(r, false);
    case cmd::kWatch: return sitDown(r, true);
    case cmd::kLeaveTable: return leaveTable(r);
    case cmd::kReady: return ready(r);
    case cmd::kRoomChat: return roomChat(r);
    case cmd::kTableChat: return tableChat(r);
    case cmd::kInvite: return invite(r);
    case cmd::kGameData: return relayGameData(r);
    case cmd::kGameOver: return gameOver(r);
    case cmd::kScores: return reportScores(r);
    case cmd::kKeepGameData: return keepGameData(r);
    case cmd::kAskGameData: return askGameData(r);
    case cmd::kKeepAlive: return;
    default:
        fail(r, err::kUnknownCommand);
        return badLine(c, "unknown command");
    }
}

void RoomServerCore::badLine(Connection& c, const char* reason) {
    qCInfo(lcRoomServer) << "connection" << c.id << "user" << c.userId << "line refused:" << reason;
    if (++c.badLines > m_limits.maxBadLines) endConnection(c.id, true, "too many refused lines");
}

void RoomServerCore::endConnection(ConnectionId id, bool closeSocket, const char* reason) {
    const auto it = m_connections.find(id);
    if (it == m_connections.end()) return;
    const qint64 userId = it->second.loggedIn ? it->second.userId : 0;
    qCInfo(lcRoomServer) << "connection" << id << "user" << userId << "ends:" << reason;
    m_connections.erase(it);
    if (closeSocket) m_sink.closeConnection(id);
    if (userId == 0) return;
    Member* m = memberOf(userId);
    if (m && m->conn == id) holdOrRemove(userId);
}

void RoomServerCore::connectionLost(ConnectionId id) { endConnection(id, false, "peer closed"); }

void RoomServerCore::closeForViolation(ConnectionId id, const char* reason) {
    endConnection(id, true, reason);
}

void RoomServerCore::tick() {
    const qint64 now = m_clock.nowMs();
    std::vector<ConnectionId> stale;
    for (const auto& [id, c] : m_connections) {
        if (!c.loggedIn && now - c.openedMs > m_limits.loginTimeoutMs) stale.push_back(id);
        else if (c.loggedIn && now - c.lastLineMs > m_limits.idleTimeoutMs) stale.push_back(id);
    }
    for (const ConnectionId id : stale) endConnection(id, true, "silent");
    std::vector<qint64> expired;
    for (const auto& [userId, m] : m_members)
        if (m.conn == 0 && m.heldUntilMs <= now) expired.push_back(userId);
    for (const qint64 userId : expired) removeFromRoom(userId);
}

// ---- sending

void RoomServerCore::send(ConnectionId to, qint32 datatype, qint32 seq, qint32 command,
                          const QString& body) {
    const auto it = m_connections.find(to);
    if (it == m_connections.end()) return;
    m_sink.sendPacket(to, STRU_DATA{datatype, to, seq, command, body}, it->second.key);
}

void RoomServerCore::reply(const Request& r, const QString& body) {
    send(r.conn->id, 1, r.seq, kResultOk, QStringLiteral("cmdname=%1&").arg(r.command) + body);
}

void RoomServerCore::fail(const Request& r, int errcode) {
    send(r.conn->id, 1, r.seq, kResultFailed,
         QStringLiteral("cmdname=%1&errcode=%2").arg(r.command).arg(errcode));
}

void RoomServerCore::sendToMember(qint64 userId, qint32 datatype, qint32 command,
                                  const QString& body) {
    const auto it = m_members.find(userId);
    if (it != m_members.end() && it->second.conn != 0)
        send(it->second.conn, datatype, 0, command, body);
}

void RoomServerCore::broadcastRoom(const Room& room, qint64 except, qint32 command,
                                   const QString& body) {
    for (const qint64 userId : room.members)
        if (userId != except) sendToMember(userId, 2, command, body);
}

void RoomServerCore::broadcastTable(const Room&, const Table& table, qint64 except,
                                    qint32 command, const QString& body) {
    for (const qint64 userId : table.seats)
        if (userId != 0 && userId != except) sendToMember(userId, 2, command, body);
    for (const qint64 userId : table.watchers)
        if (userId != except) sendToMember(userId, 2, command, body);
}

// ---- read access

std::optional<MemberView> RoomServerCore::member(qint64 userId) const {
    const auto it = m_members.find(userId);
    if (it == m_members.end()) return std::nullopt;
    const Member& m = it->second;
    return MemberView{userId, m.roomId, m.table, m.seat, m.status, m.conn != 0};
}

int RoomServerCore::memberCount(qint32 roomId) const {
    const auto it = m_rooms.find(roomId);
    return it == m_rooms.end() ? 0 : static_cast<int>(it->second.members.size());
}

namespace {
template <typename Rooms>
auto* findTable(Rooms& rooms, qint32 roomId, int table) {
    const auto it = rooms.find(roomId);
    if (it == rooms.end() || table < 1 || table > static_cast<int>(it->second.tables.size()))
        return static_cast<decltype(&it->second.tables[0])>(nullptr);
    return &it->second.tables[static_cast<size_t>(table - 1)];
}
}  // namespace

QString RoomServerCore::keptGameData(qint32 roomId, int table) const {
    const auto* t = findTable(m_rooms, roomId, table);
    return t ? t->keptData : QString();
}

QString RoomServerCore::lastScores(qint32 roomId, int table) const {
    const auto* t = findTable(m_rooms, roomId, table);
    return t ? t->lastScores : QString();
}

qint64 RoomServerCore::tableAdmin(qint32 roomId, int table) const {
    const auto* t = findTable(m_rooms, roomId, table);
    return t ? t->adminId : 0;
}

bool RoomServerCore::tablePlaying(qint32 roomId, int table) const {
    const auto* t = findTable(m_rooms, roomId, table);
    return t && t->playing;
}

}  // namespace velmora::server
