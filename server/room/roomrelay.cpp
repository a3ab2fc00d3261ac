// Room and table chat, invitations, game data relay, scores and kept game data.
#include <QSet>

#include "hall/foundation/publicfunc.h"
#include "server/room/roomservercore.h"

namespace velmora::server {

using hall::BodyInt;
using hall::BodyValue;

namespace {

bool isHexText(const QString& text) {
    if (text.isEmpty() || text.size() % 2 != 0) return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (!((u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F') || (u >= u'a' && u <= u'f')))
            return false;
    }
    return true;
}

bool isInteger(const QString& text) {
    bool ok = false;
    text.toLongLong(&ok);
    return ok;
}

}  // namespace

RoomServerCore::Member* RoomServerCore::memberAtTable(const Request& r, int minStatus) {
    Member* m = memberOf(r.conn->userId);
    if (!m || m->table < 1) {
        fail(r, err::kNotAtTable);
        return nullptr;
    }
    if (m->status < minStatus) {
        fail(r, err::kNotSeated);
        return nullptr;
    }
    return m;
}

void RoomServerCore::roomChat(const Request& r) {
    Member* m = memberOf(r.conn->userId);
    if (!m) return fail(r, err::kNotInRoom);
    Room& room = *roomFor(m->roomId);
    if (!room.info.chatEnabled) return fail(r, err::kChatDisabled);
    const QString msg = BodyValue(r.body, QStringLiteral("msg"));
    if (msg.isEmpty() || msg.size() > m_limits.maxChat) return fail(r, err::kMalformedBody);
    // Mute and kick are honoured by every hall that receives them; only members with the VIP
    // level the hall demands may send them at all.
    const QString text = hall::UrlDecodeText(msg);
    const int vip = r.conn->profile.vipLevel;
    if ((text.startsWith(QLatin1String(".point|"), Qt::CaseInsensitive) && vip < 1) ||
        (text.startsWith(QLatin1String(".kick|"), Qt::CaseInsensitive) && vip < 2))
        return fail(r, err::kNotPermitted);
    reply(r, QStringLiteral("msg=") + msg);
    broadcastRoom(room, r.conn->userId, cmd::kRoomChat,
                  QStringLiteral("playerid=%1&roomid=%2&msg=").arg(r.conn->userId).arg(room.info.id) + msg);
    if (text.startsWith(QLatin1String(".kick|"), Qt::CaseInsensitive)) kick(*m, text.mid(6).trimmed().toLongLong());
}

// The kicked member's hall closes itself on the kick line; the server takes it out of the room
// at once (its place is not held) and closes its connection once the line is sent.
void RoomServerCore::kick(const Member& sender, qint64 targetId) {
    const Member* target = memberOf(targetId);
    if (!target || target->roomId != sender.roomId || target->profile.userId == sender.profile.userId) return;
    const ConnectionId conn = target->conn;
    removeFromRoom(targetId);
    if (conn != 0) endConnection(conn, true, "kicked");
}

void RoomServerCore::tableChat(const Request& r) {
    Member* m = memberAtTable(r, kWatching);
    if (!m) return;
    const QString msg = BodyValue(r.body, QStringLiteral("msg"));
    if (msg.isEmpty() || msg.size() > m_limits.maxChat) return fail(r, err::kMalformedBody);
    Room& room = *roomFor(m->roomId);
    reply(r, QStringLiteral("tableid=%1").arg(m->table));
    broadcastTable(room, *tableOf(room, m->table), r.conn->userId, cmd::kTableChat,
                   QStringLiteral("playerid=%1&tableid=%2&msg=").arg(r.conn->userId).arg(m->table) + msg);
}

// 19: "msg" is "addfriend" or the number of the sender's own table (an invitation).
void RoomServerCore::invite(const Request& r) {
    Member* m = memberOf(r.conn->userId);
    if (!m) return fail(r, err::kNotInRoom);
    const qint64 recipient = BodyInt(r.body, QStringLiteral("recvid"), 0);
    const Member* target = memberOf(recipient);
    if (recipient == r.conn->userId || !target || target->roomId != m->roomId || target->conn == 0)
        return fail(r, err::kBadInvitation);
    const QString msg = BodyValue(r.body, QStringLiteral("msg"));
    const QString text = hall::UrlDecodeText(msg);
    if (text != QLatin1String("addfriend")) {
        bool ok = false;
        const int table = text.toInt(&ok);
        if (!ok || table < 1 || table != m->table) return fail(r, err::kBadInvitation);
    }
    reply(r, QStringLiteral("recvid=%1").arg(recipient));
    sendToMember(recipient, 2, cmd::kInvite,
                 QStringLiteral("senderid=%1&roomid=%2&msg=").arg(r.conn->userId).arg(m->roomId) + msg);
}

// 20: to everybody at the table, the sender included (as its reply), since every plug-in
// applies every move on arrival.
void RoomServerCore::relayGameData(const Request& r) {
    Member* m = memberAtTable(r, kWatching);
    if (!m) return;
    const QString msg = BodyValue(r.body, QStringLiteral("msg"));
    if (!isHexText(msg) || msg.size() > m_limits.maxGameData) return fail(r, err::kMalformedBody);
    Room& room = *roomFor(m->roomId);
    reply(r, QStringLiteral("msg=") + msg);
    broadcastTable(room, *tableOf(room, m->table), r.conn->userId, cmd::kGameData,
                   QStringLiteral("playerid=%1&tableid=%2&msg=").arg(r.conn->userId).arg(m->table) + msg);
}

// 42: only the game host reports. "msg" is the percent-encoded list "masterid=...&playerid1=
// ...&point1=...&gold1=...&prop1=..."; every player named must sit at the table.
void RoomServerCore::reportScores(const Request& r) {
    Member* m = memberAtTable(r, kSeated);
    if (!m) return;
    Room& room = *roomFor(m->roomId);
    Table& table = *tableOf(room, m->table);
    if (table.adminId != r.conn->userId) return fail(r, err::kNotTableAdmin);
    const QString msg = BodyValue(r.body, QStringLiteral("msg"));
    const QString list = hall::UrlDecodeText(msg);
    if (msg.isEmpty() || BodyInt(list, QStringLiteral("masterid"), 0) != r.conn->userId)
        return fail(r, err::kMalformedBody);
    struct Entry {
        qint64 userId;
        qint64 point;
        qint64 gold;
    };
    std::vector<Entry> entries;
    QSet<qint64> seen;
    for (const QString& item : list.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        const QString name = item.left(eq).toLower();
        if (!name.startsWith(QLatin1String("playerid"))) continue;
        const QString suffix = name.mid(8);
        bool ok = false;
        const qint64 id = item.mid(eq + 1).toLongLong(&ok);
        const QString point = BodyValue(list, QStringLiteral("point") + suffix);
        const QString gold = BodyValue(list, QStringLiteral("gold") + suffix);
        if (eq < 0 || !ok || seen.contains(id) ||
            std::find(table.seats.begin(), table.seats.end(), id) == table.seats.end() ||
            (!point.isEmpty() && !isInteger(point)) || (!gold.isEmpty() && !isInteger(gold)))
            return fail(r, err::kMalformedBody);
        seen.insert(id);
        entries.push_back({id, point.toLongLong(), gold.toLongLong()});
    }
    table.lastScores = list;
    for (const Entry& e : entries) {
        Member& player = m_members.at(e.userId);
        player.profile.point += e.point;
        player.profile.gold += e.gold;
    }
    reply(r, QStringLiteral("tableid=%1&msg=").arg(m->table) + msg);
    broadcastTable(room, table, r.conn->userId, cmd::kScores,
                   QStringLiteral("playerid=%1&tableid=%2&msg=").arg(r.conn->userId).arg(m->table) + msg);
}

// 43 and 44: the game host's backup of the table state, kept until the next game starts or
// the table empties, and handed back to the host only (it holds every hand).
void RoomServerCore::keepGameData(const Request& r) {
    Member* m = memberAtTable(r, kSeated);
    if (!m) return;
    Table& table = *tableOf(*roomFor(m->roomId), m->table);
    if (table.adminId != r.conn->userId) return fail(r, err::kNotTableAdmin);
    const QString msg = BodyValue(r.body, QStringLiteral("msg"));
    if (!isHexText(msg)) return fail(r, err::kMalformedBody);
    table.keptData = msg;
    reply(r, QStringLiteral("tableid=%1").arg(m->table));
}

void RoomServerCore::askGameData(const Request& r) {
    Member* m = memberAtTable(r, kSeated);
    if (!m) return;
    const Table& table = *tableOf(*roomFor(m->roomId), m->table);
    if (table.adminId != r.conn->userId) return fail(r, err::kNotTableAdmin);
    if (table.keptData.isEmpty()) return fail(r, err::kNoKeptData);
    reply(r, QStringLiteral("tableid=%1&msg=").arg(m->table) + table.keptData);
}

void RoomServerCore::sendSystemMessage(qint32 roomId, int number, const QString& text) {
    Room* room = roomFor(roomId);
    const Table* table = room ? tableOf(*room, number) : nullptr;
    if (!table || text.isEmpty()) return;
    broadcastTable(*room, *table, 0, cmd::kSystemMessage,
                   QStringLiteral("senderid=0&tableid=%1&msg=").arg(number) + hall::UrlEncodeText(text));
}

}  // namespace velmora::server
