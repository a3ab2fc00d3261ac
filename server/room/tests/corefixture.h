#pragma once
// A room server core with a fake clock and a sink that records every packet, plus clients that
// speak the wire format (login line and scrambled request lines) to it.

#include <gtest/gtest.h>

#include <set>

#include "hall/foundation/publicfunc.h"
#include "hall/foundation/roompacket.h"
#include "server/room/roomservercore.h"

namespace velmora::server::test {

using hall::STRU_DATA;

struct FakeClock final : Clock {
    qint64 now = 1'000'000;
    qint64 nowMs() const override { return now; }
};

struct RecordingSink final : PacketSink {
    std::vector<std::pair<ConnectionId, STRU_DATA>> sent;
    std::set<ConnectionId> closed;
    void sendPacket(ConnectionId to, const STRU_DATA& p, const QString& key) override {
        // Every packet must survive the wire: scrambled, unscrambled and parsed by the hall's
        // parser (which refuses, for instance, an empty body).
        const auto back =
            hall::TryParseRoomPacket(hall::UnscrambleText(hall::BuildPacketLine(p, key), key));
        EXPECT_TRUE(back.has_value()) << "unreadable packet: " << hall::FormatPacket(p).toStdString();
        if (back) {
            EXPECT_EQ(*back, p);
        }
        EXPECT_FALSE(key.isEmpty());
        sent.emplace_back(to, p);
    }
    void closeConnection(ConnectionId id) override { closed.insert(id); }
};

struct Client {
    ConnectionId id = 0;
    qint64 userId = 0;
    QString token;
    QString key;
    qint32 seq = 1;
};

inline QString cmdname(const STRU_DATA& p) { return hall::BodyValue(p.data, QStringLiteral("cmdname")); }
inline qint64 value(const STRU_DATA& p, const char* name) {
    return hall::BodyInt(p.data, QString::fromLatin1(name), -999);
}

class CoreFixture : public ::testing::Test {
protected:
    static constexpr quint16 kPort = 18101;

    CoreFixture() {
        addRoom(1, 4, 3, 5);
        addRoom(2, 4, 3, 300);
        RoomInfo other;
        other.id = 9;
        other.serverPort = 18102;  // another server's room
        other.tableCount = 4;
        rooms.addRoom(other);
        for (qint64 user = 1001; user <= 1012; ++user) {
            SessionRecord s;
            s.userId = user;
            s.encodeKey = QStringLiteral("kEy%1zQ").arg(user);
            s.profile = {user, QStringLiteral("玩家%1").arg(user), user == 1012 ? 2 : 0, 1000, 0};
            sessions.addSession(QStringLiteral("tok%1").arg(user), s);
        }
        makeCore();
    }

    void makeCore() {
        core = std::make_unique<RoomServerCore>(rooms, sessions, clock, sink,
                                                QStringLiteral("127.0.0.1"), kPort, limits);
    }

    void addRoom(qint32 id, int tables, int seats, int maxMembers) {
        RoomInfo r;
        r.id = id;
        r.gameId = 7;
        r.title = QStringLiteral("Room %1").arg(id);
        r.serverPort = kPort;
        r.tableCount = tables;
        r.seatCount = seats;
        r.maxMembers = maxMembers;
        rooms.addRoom(r);
    }

    Client connect(qint64 userId, int keyIndex = 3) {
        Client c;
        c.userId = userId;
        c.token = QStringLiteral("tok%1").arg(userId);
        c.key = QStringLiteral("kEy%1zQ").arg(userId);
        c.id = core->openConnection();
        core->receiveLine(c.id, hall::BuildLoginLine(keyIndex, c.token, userId));
        return c;
    }
    void request(Client& c, qint32 command, const QString& body = QString()) {
        core->receiveLine(c.id, hall::BuildRequestLine(c.id, ++c.seq, command, body, c.key));
    }
    // Logged in and in `room`, with everything sent so far taken.
    Client enter(qint64 userId, qint32 room = 1) {
        Client c = connect(userId);
        request(c, 11, QStringLiteral("roomid=%1").arg(room));
        sink.sent.clear();
        return c;
    }
    void sit(Client& c, int table, int seat, qint32 room = 1, const QString& extra = QString()) {
        request(c, 13, QStringLiteral("roomid=%1&tableid=%2&seatindex=%3").arg(room).arg(table).arg(seat) + extra);
    }

    // Packets sent to one connection since the last take, in order.
    std::vector<STRU_DATA> take(const Client& c) {
        std::vector<STRU_DATA> mine;
        std::vector<std::pair<ConnectionId, STRU_DATA>> rest;
        for (auto& [to, p] : sink.sent) {
            if (to == c.id) mine.push_back(p);
            else rest.emplace_back(to, p);
        }
        sink.sent = std::move(rest);
        return mine;
    }
    static std::vector<qint32> commands(const std::vector<STRU_DATA>& ps) {
        std::vector<qint32> out;
        for (const auto& p : ps) out.push_back(p.datatype == 1 ? -cmdname(p).toInt() : p.command);
        return out;  // replies as minus their cmdname, broadcasts as their command
    }

    MemoryRoomDirectory rooms;
    MemorySessionDirectory sessions;
    FakeClock clock;
    RecordingSink sink;
    Limits limits;
    std::unique_ptr<RoomServerCore> core;
};

}  // namespace velmora::server::test
