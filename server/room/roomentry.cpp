// Entering and leaving rooms, the member list, drops and restored places.
#include <QLoggingCategory>
#include <algorithm>

#include "hall/foundation/publicfunc.h"
#include "server/room/roomservercore.h"

Q_DECLARE_LOGGING_CATEGORY(lcRoomServer)

namespace velmora::server {

namespace {
constexpr int kMaxTables = 1000;
constexpr int kMaxSeats = 10;
}  // namespace

RoomServerCore::Room* RoomServerCore::roomFor(qint32 roomId) {
    const auto it = m_rooms.find(roomId);
    if (it != m_rooms.end()) return &it->second;
    const auto info = m_directory.findRoom(roomId);
    if (!info || info->serverPort != m_port || info->serverHost != m_host) return nullptr;
    Room room;
    room.info = *info;
    room.info.tableCount = std::clamp(info->tableCount, 0, kMaxTables);
    room.info.seatCount = std::clamp(info->seatCount, 1, kMaxSeats);
    room.info.maxMembers = std::max(info->maxMembers, 0);
    room.tables.resize(static_cast<size_t>(room.info.tableCount));
    for (auto& t : room.tables) t.seats.assign(static_cast<size_t>(room.info.seatCount), 0);
    return &m_rooms.emplace(roomId, std::move(room)).first->second;
}

RoomServerCore::Member* RoomServerCore::memberOf(qint64 userId) {
    const auto it = m_members.find(userId);
    return it == m_members.end() ? nullptr : &it->second;
}

RoomServerCore::Member* RoomServerCore::memberInRoom(const Request& r) {
    Member* m = memberOf(r.conn->userId);
    if (!m || m->roomId != hall::BodyInt(r.body, QStringLiteral("roomid"), 0)) {
        fail(r, err::kNotInRoom);
        return nullptr;
    }
    return m;
}

QString RoomServerCore::memberBody(qint64 userId, const Member& m) const {
    return QStringLiteral("playerid=%1&roomid=%2&state=%3&tableid=%4&seatindex=%5")
        .arg(userId)
        .arg(m.roomId)
        .arg(m.status)
        .arg(m.table)
        .arg(m.seat);
}

// Every member as broadcast 80 (the newcomer included), then 82 with "msg=passcode" for the
// members of password-protected tables, since 80 cannot carry the table's password flag.
void RoomServerCore::sendMemberList(ConnectionId to, const Room& room) {
    for (const qint64 userId : room.members)
        send(to, 2, 0, cmd::kMemberEntered, memberBody(userId, m_members.at(userId)));
    for (const qint64 userId : room.members) {
        const Member& m = m_members.at(userId);
        if (m.table < 1 || room.tables[static_cast<size_t>(m.table - 1)].password.isEmpty())
            continue;
        send(to, 2, 0, cmd::kMemberSeated,
             QStringLiteral("playerid=%1&roomid=%2&tableid=%3&seatindex=%4&state=%5&msg=passcode")
                 .arg(userId)
                 .arg(m.roomId)
                 .arg(m.table)
                 .arg(m.seat)
                 .arg(m.status));
    }
}

void RoomServerCore::enterRoom(const Request& r) {
    const qint32 roomId = static_cast<qint32>(hall::BodyInt(r.body, QStringLiteral("roomid"), 0));
    Room* room = roomFor(roomId);
    if (!room) return fail(r, err::kNoSuchRoom);
    const qint64 userId = r.conn->userId;
    Member* current = memberOf(userId);
    if (current && current->roomId == roomId) {
        current->restorePending = false;
        fail(r, err::kAlreadyInRoom);  // the hall goes on loading: give it the members again
        return sendMemberList(r.conn->id, *room);
    }
    if (static_cast<int>(room->members.size()) >= room->info.maxMembers)
        return fail(r, err::kRoomFull);
    if (current) {
        // A room change on the same connection: the hall expects reply 12 for the room it
        // leaves, unless its place there was only restored after a drop and never confirmed.
        if (!current->restorePending)
            send(r.conn->id, 1, r.seq, kResultOk,
                 QStringLiteral("cmdname=12&roomid=%1").arg(current->roomId));
        removeFromRoom(userId);
    }
    Member m;
    m.profile = r.conn->profile;
    m.conn = r.conn->id;
    m.roomId = roomId;
    m_members[userId] = m;
    room->members.push_back(userId);
    m_countChanged.insert(roomId);
    reply(r, QStringLiteral("roomid=%1").arg(roomId));
    sendMemberList(r.conn->id, *room);
    broadcastRoom(*room, userId, cmd::kMemberEntered, memberBody(userId, m_members.at(userId)));
}

void RoomServerCore::leaveRoom(const Request& r) {
    Member* m = memberInRoom(r);
    if (!m) return;
    reply(r, QStringLiteral("roomid=%1").arg(m->roomId));
    removeFromRoom(r.conn->userId);
}

// Takes the member off its table (83) and out of the room (81), and forgets it.
void RoomServerCore::removeFromRoom(qint64 userId) {
    Member* m = memberOf(userId);
    if (!m) return;
    Room* room = roomFor(m->roomId);
    if (room) {
        if (m->table > 0) {
            const int table = m->table;
            bool passwordCleared = false;
            leaveTableSilently(*room, userId, *m, &passwordCleared);
            announceUnseated(*room, userId, table, passwordCleared);
        }
        auto& list = room->members;
        list.erase(std::remove(list.begin(), list.end(), userId), list.end());
        m_countChanged.insert(m->roomId);
        broadcastRoom(*room, userId, cmd::kMemberLeft,
                      QStringLiteral("playerid=%1&roomid=%2").arg(userId).arg(m->roomId));
    }
    m_members.erase(userId);
}

// A seated player's place survives a drop for Limits::holdMs; idle members and watchers
// leave at once, since nothing at a table depends on them.
void RoomServerCore::holdOrRemove(qint64 userId) {
    Member* m = memberOf(userId);
    if (!m) return;
    if (m->status < kSeated) return removeFromRoom(userId);
    m->conn = 0;
    m->heldUntilMs = m_clock.nowMs() + m_limits.holdMs;
    m->restorePending = false;
    if (Room* room = roomFor(m->roomId))
        broadcastRoom(*room, userId, cmd::kMemberOffline,
                      QStringLiteral("playerid=%1&roomid=%2&tableid=%3")
                          .arg(userId)
                          .arg(m->roomId)
                          .arg(m->table));
}

void RoomServerCore::restorePlace(Connection& c, Member& m) {
    const qint64 userId = c.userId;
    m.conn = c.id;
    m.heldUntilMs = 0;
    m.restorePending = true;
    Room* room = roomFor(m.roomId);
    const qint64 admin =
        room && m.table > 0 ? room->tables[static_cast<size_t>(m.table - 1)].adminId : 0;
    send(c.id, 1, 1, kResultOk,
         QStringLiteral("cmdname=10&dropon=1&roomid=%1&tableid=%2&seatindex=%3&state=%4&adminid=%5")
             .arg(m.roomId)
             .arg(m.table)
             .arg(m.seat)
             .arg(m.status)
             .arg(admin));
    if (!room) return;
    sendMemberList(c.id, *room);
    broadcastRoom(*room, userId, cmd::kMemberOnline,
                  QStringLiteral("playerid=%1&roomid=%2&tableid=%3")
                      .arg(userId)
                      .arg(m.roomId)
                      .arg(m.table));
}

std::vector<std::pair<qint32, int>> RoomServerCore::takeRoomCountChanges() {
    std::vector<std::pair<qint32, int>> out;
    for (const qint32 roomId : m_countChanged) out.emplace_back(roomId, memberCount(roomId));
    m_countChanged.clear();
    return out;
}

std::vector<std::pair<qint64, qint32>> RoomServerCore::takeGamesPlayed() {
    std::vector<std::pair<qint64, qint32>> out;
    out.swap(m_played);
    return out;
}

}  // namespace velmora::server
