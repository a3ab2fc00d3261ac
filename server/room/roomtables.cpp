// Seating and watching, leaving a table, ready, game start and game over.
#include <algorithm>

#include "hall/foundation/publicfunc.h"
#include "server/room/roomservercore.h"

namespace velmora::server {

using hall::BodyInt;
using hall::BodyValue;

RoomServerCore::Table* RoomServerCore::tableOf(Room& room, int number) {
    if (number < 1 || number > static_cast<int>(room.tables.size())) return nullptr;
    return &room.tables[static_cast<size_t>(number - 1)];
}

namespace {
bool tableEmpty(const std::vector<qint64>& seats, const std::vector<qint64>& watchers) {
    return watchers.empty() && std::all_of(seats.begin(), seats.end(), [](qint64 id) { return id == 0; });
}
}  // namespace

// Request 13 (sit down) and 15 (watch the player on a seat).
void RoomServerCore::sitDown(const Request& r, bool watch) {
    Member* m = memberInRoom(r);
    if (!m) return;
    Room& room = *roomFor(m->roomId);
    const qint64 number = BodyInt(r.body, QStringLiteral("tableid"), 0);
    const qint64 seat = BodyInt(r.body, QStringLiteral("seatindex"), -1);
    Table* table = number <= room.info.tableCount ? tableOf(room, static_cast<int>(number)) : nullptr;
    if (!table || seat < 0 || seat >= room.info.seatCount) return fail(r, err::kNoSuchSeat);
    const qint64 userId = r.conn->userId;
    const auto s = static_cast<size_t>(seat);
    if (m->status >= kReady) return fail(r, err::kSeatTaken);
    if (!watch && m->table == number && m->seat == seat && m->status == kSeated)
        return reply(r, QStringLiteral("roomid=%1&tableid=%2&seatindex=%3&passcode=%4")
                            .arg(m->roomId).arg(number).arg(seat).arg(table->password.isEmpty() ? 0 : 1));
    if (watch) {
        if (table->seats[s] == 0 || table->seats[s] == userId) return fail(r, err::kNoSuchSeat);
        if (!room.info.watchEnabled && r.conn->profile.vipLevel <= 1)
            return fail(r, err::kWatchForbidden);
    } else if (table->seats[s] != 0) {
        return fail(r, err::kSeatTaken);
    }
    // The table counts as unoccupied when nobody but the player is there; the first comer
    // then sets the password, everybody else must know it.
    std::vector<qint64> others = table->watchers;
    others.erase(std::remove(others.begin(), others.end(), userId), others.end());
    std::vector<qint64> seats = table->seats;
    std::replace(seats.begin(), seats.end(), userId, qint64(0));
    const bool unoccupied = tableEmpty(seats, others);
    const QString passcode = BodyValue(r.body, QStringLiteral("passcode"));
    if (!unoccupied && !table->password.isEmpty() && passcode != table->password)
        return fail(r, err::kWrongPassword);

    int oldTable = 0;
    bool oldPasswordCleared = false;
    if (m->table > 0) {  // moving without leaving first: leave the old place now
        oldTable = m->table;
        leaveTableSilently(room, userId, *m, &oldPasswordCleared);
    }
    if (unoccupied && !watch) table->password = passcode.left(64);
    m->table = static_cast<int>(number);
    m->seat = static_cast<int>(seat);
    m->status = watch ? kWatching : kSeated;
    if (watch) table->watchers.push_back(userId);
    else table->seats[s] = userId;
    const int hasPassword = table->password.isEmpty() ? 0 : 1;
    reply(r, QStringLiteral("roomid=%1&tableid=%2&seatindex=%3&passcode=%4")
                 .arg(m->roomId).arg(number).arg(seat).arg(hasPassword));
    if (oldTable > 0) announceUnseated(room, userId, oldTable, oldPasswordCleared);
    QString body = QStringLiteral("playerid=%1&roomid=%2&tableid=%3&seatindex=%4&state=%5")
                       .arg(userId).arg(m->roomId).arg(number).arg(seat).arg(m->status);
    if (hasPassword) body += QStringLiteral("&msg=passcode");
    broadcastRoom(room, userId, cmd::kMemberSeated, body);
}

void RoomServerCore::leaveTable(const Request& r) {
    Member* m = memberInRoom(r);
    if (!m) return;
    const qint64 number = BodyInt(r.body, QStringLiteral("tableid"), 0);
    if (m->table < 1 || m->table != number) return fail(r, err::kNotAtTable);
    Room& room = *roomFor(m->roomId);
    bool passwordCleared = false;
    leaveTableSilently(room, r.conn->userId, *m, &passwordCleared);
    const Table& table = room.tables[static_cast<size_t>(number - 1)];
    reply(r, QStringLiteral("roomid=%1&tableid=%2&passcode=%3")
                 .arg(room.info.id).arg(number).arg(table.password.isEmpty() ? 0 : 1));
    announceUnseated(room, r.conn->userId, static_cast<int>(number), passwordCleared);
}

// Takes the member off its table without telling anybody. Leaving while playing ends the game
// at the table (the others go back to seated, as the hall does on broadcast 83).
void RoomServerCore::leaveTableSilently(Room& room, qint64 userId, Member& m,
                                        bool* passwordCleared) {
    *passwordCleared = false;
    Table* table = tableOf(room, m.table);
    if (table) {
        if (m.status >= kSeated) {
            std::replace(table->seats.begin(), table->seats.end(), userId, qint64(0));
            if (table->playing) {
                table->playing = false;
                table->keptData.clear();
                for (const qint64 id : table->seats)
                    if (id != 0 && m_members.at(id).status == kPlaying) m_members.at(id).status = kSeated;
            }
            if (table->adminId == userId) table->adminId = 0;
        } else {
            auto& w = table->watchers;
            w.erase(std::remove(w.begin(), w.end(), userId), w.end());
        }
        if (tableEmpty(table->seats, table->watchers)) {
            *passwordCleared = !table->password.isEmpty();
            table->password.clear();
            table->keptData.clear();
            table->adminId = 0;
        }
    }
    m.table = 0;
    m.seat = -1;
    m.status = kIdle;
}

void RoomServerCore::announceUnseated(Room& room, qint64 userId, int table, bool passwordCleared) {
    QString body = QStringLiteral("playerid=%1&roomid=%2&tableid=%3&state=%4")
                       .arg(userId).arg(room.info.id).arg(table).arg(int(kIdle));
    if (passwordCleared) body += QStringLiteral("&msg=passcode");
    broadcastRoom(room, userId, cmd::kMemberUnseated, body);
}

void RoomServerCore::ready(const Request& r) {
    Member* m = memberOf(r.conn->userId);
    if (!m || m->table < 1 || m->status < kSeated) return fail(r, err::kNotSeated);
    Room& room = *roomFor(m->roomId);
    if (m->status == kPlaying) return fail(r, err::kSeatTaken);
    const bool changed = m->status == kSeated;
    m->status = kReady;
    reply(r, QStringLiteral("roomid=%1&tableid=%2").arg(room.info.id).arg(m->table));
    if (!changed) return;
    broadcastRoom(room, r.conn->userId, cmd::kReady,
                  QStringLiteral("playerid=%1&roomid=%2&tableid=%3")
                      .arg(r.conn->userId).arg(room.info.id).arg(m->table));
    startGameIfReady(room, m->table);
}

// Every seat taken and ready: the game starts. The game host ("adminid") is the player on the
// lowest seat whose connection is up. Everybody in the room learns it, since the hall shows
// play on every table.
void RoomServerCore::startGameIfReady(Room& room, int number) {
    Table* table = tableOf(room, number);
    if (!table || table->playing) return;
    for (const qint64 id : table->seats)
        if (id == 0 || m_members.at(id).status != kReady) return;
    table->playing = true;
    table->keptData.clear();
    table->adminId = 0;
    for (const qint64 id : table->seats) {
        Member& m = m_members.at(id);
        m.status = kPlaying;
        if (table->adminId == 0 && m.conn != 0) table->adminId = id;
        // Collected until the shell takes them (once a second); a core without a shell that
        // takes them stops collecting rather than growing without end.
        if (m_played.size() < kMaxPlayedBacklog) m_played.emplace_back(id, room.info.gameId);
    }
    if (table->adminId == 0) table->adminId = table->seats.front();
    const QString body = QStringLiteral("cmdname=%1&roomid=%2&tableid=%3&adminid=%4")
                             .arg(cmd::kGameStartName).arg(room.info.id).arg(number).arg(table->adminId);
    for (const qint64 id : room.members) {
        const Member& m = m_members.at(id);
        if (m.conn != 0) send(m.conn, 1, 0, kResultGameStart, body);
    }
}

// Every plug-in of the table reports the end; the first report ends the game and is broadcast,
// the later ones are confirmed to their senders only.
void RoomServerCore::gameOver(const Request& r) {
    Member* m = memberOf(r.conn->userId);
    if (!m || m->table < 1 || m->status < kSeated) return fail(r, err::kNotSeated);
    Room& room = *roomFor(m->roomId);
    Table& table = room.tables[static_cast<size_t>(m->table - 1)];
    if (!table.playing && m->status != kSeated) return fail(r, err::kNoGame);
    const bool ended = table.playing;
    if (ended) {
        table.playing = false;
        for (const qint64 id : table.seats)
            if (id != 0 && m_members.at(id).status == kPlaying) m_members.at(id).status = kSeated;
    }
    reply(r, QStringLiteral("roomid=%1&tableid=%2").arg(room.info.id).arg(m->table));
    if (ended)
        broadcastRoom(room, r.conn->userId, cmd::kGameOver,
                      QStringLiteral("playerid=%1&roomid=%2&tableid=%3")
                          .arg(r.conn->userId).arg(room.info.id).arg(m->table));
}

}  // namespace velmora::server
