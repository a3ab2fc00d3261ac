#pragma once
// The room server's rules, without sockets. The shell hands it every received wire line of a
// connection and tells it when a connection ends; the core answers through a PacketSink with
// packets (each sent scrambled with the receiving connection's session key) and with requests
// to close a connection. One core is one room server: it serves the rooms that the room
// directory places on its own address.
//
// Contract: single-threaded; every call runs to completion before the next. Within one call,
// the reply to a request is always handed to the sink before any broadcast the request causes.

#include <QString>
#include <map>
#include <optional>
#include <set>
#include <unordered_map>
#include <vector>

#include "hall/foundation/roompacket.h"
#include "server/room/roomdirectory.h"
#include "server/room/roomprotocol.h"
#include "server/room/sessiondirectory.h"

namespace velmora::server {

class Clock {
public:
    virtual ~Clock() = default;
    virtual qint64 nowMs() const = 0;  // monotonic milliseconds
};

class SteadyClock final : public Clock {
public:
    qint64 nowMs() const override;
};

class PacketSink {
public:
    virtual ~PacketSink() = default;
    // One server packet for connection `to`; `key` is that connection's session key.
    virtual void sendPacket(ConnectionId to, const hall::STRU_DATA& packet, const QString& key) = 0;
    // The core is done with the connection: send what is queued, then close. The core has
    // already forgotten the connection; a later connectionLost for it is ignored.
    virtual void closeConnection(ConnectionId id) = 0;
};

// Member status values of the protocol.
enum MemberStatus : int { kIdle = 1, kWatching = 2, kSeated = 3, kReady = 4, kPlaying = 5 };

// A room member as tests and the shell may read it.
struct MemberView {
    qint64 userId = 0;
    qint32 roomId = 0;
    int table = 0;   // from 1; 0 none
    int seat = -1;   // from 0; -1 none
    int status = 0;
    bool online = false;  // false while the place is held after a drop
};

class RoomServerCore {
public:
    RoomServerCore(const RoomDirectory& rooms, SessionDirectory& sessions, const Clock& clock,
                   PacketSink& sink, QString host, quint16 port, Limits limits = {});

    ConnectionId openConnection();
    void receiveLine(ConnectionId id, const QString& wireLine);
    // The peer closed or the socket failed (also: the line framer overflowed).
    void connectionLost(ConnectionId id);
    // Ends a connection from outside the rules (the shell's framer overflow); a drop.
    void closeForViolation(ConnectionId id, const char* reason);
    // Expires held places and silent connections; call about once a second.
    void tick();
    // Broadcast 40 to everyone at a table (text percent-encoded into "msg").
    void sendSystemMessage(qint32 roomId, int table, const QString& text);

    // Read access.
    std::optional<MemberView> member(qint64 userId) const;
    int memberCount(qint32 roomId) const;
    int connectionCount() const { return static_cast<int>(m_connections.size()); }
    QString keptGameData(qint32 roomId, int table) const;
    QString lastScores(qint32 roomId, int table) const;  // decoded score list
    qint64 tableAdmin(qint32 roomId, int table) const;
    bool tablePlaying(qint32 roomId, int table) const;
    // Rooms whose member count changed since the last call, with the count now (for the web
    // service's online counts).
    std::vector<std::pair<qint32, int>> takeRoomCountChanges();
    // Players whose game started since the last call, with the room's game id (for the web
    // service's recently played games).
    std::vector<std::pair<qint64, qint32>> takeGamesPlayed();
    static constexpr size_t kMaxPlayedBacklog = 10000;
    const QString& host() const { return m_host; }
    quint16 port() const { return m_port; }
    const Limits& limits() const { return m_limits; }

private:
    struct Connection {
        ConnectionId id = 0;
        bool loggedIn = false;
        qint64 userId = 0;
        QString key;
        PlayerProfile profile;
        qint32 lastSeq = 1;
        qint64 openedMs = 0;
        qint64 lastLineMs = 0;
        double tokens = 0;
        qint64 refillMs = 0;
        int badLines = 0;
    };
    struct Member {
        PlayerProfile profile;
        ConnectionId conn = 0;  // 0 while held after a drop
        qint32 roomId = 0;
        int table = 0;
        int seat = -1;
        int status = kIdle;
        qint64 heldUntilMs = 0;
        bool restorePending = false;  // restored by a login; the hall has not confirmed the room
    };
    struct Table {
        std::vector<qint64> seats;  // user id per seat, 0 free
        std::vector<qint64> watchers;
        QString password;
        bool playing = false;
        qint64 adminId = 0;
        QString keptData;
        QString lastScores;
    };
    struct Room {
        RoomInfo info;
        std::vector<qint64> members;  // in order of entry
        std::vector<Table> tables;    // index = table number - 1
    };
    struct Request {
        Connection* conn;
        qint32 seq;
        qint32 command;
        const QString& body;
    };

    // Connections and login (roomservercore.cpp).
    void handleLogin(Connection& c, const QString& wire);
    void dispatch(Connection& c, const hall::STRU_DATA& request);
    void endConnection(ConnectionId id, bool closeSocket, const char* reason);
    void badLine(Connection& c, const char* reason);
    bool takeToken(Connection& c);

    // Sending.
    void send(ConnectionId to, qint32 datatype, qint32 seq, qint32 command, const QString& body);
    void reply(const Request& r, const QString& body);
    void fail(const Request& r, int errcode);
    void sendToMember(qint64 userId, qint32 datatype, qint32 command, const QString& body);
    void broadcastRoom(const Room& room, qint64 except, qint32 command, const QString& body);
    void broadcastTable(const Room& room, const Table& table, qint64 except, qint32 command,
                        const QString& body);

    // Rooms and members (roomentry.cpp).
    Room* roomFor(qint32 roomId);
    Member* memberOf(qint64 userId);
    Member* memberInRoom(const Request& r);  // sends 1304 when the player is not in "roomid"
    void enterRoom(const Request& r);
    void leaveRoom(const Request& r);
    void sendMemberList(ConnectionId to, const Room& room);
    void removeFromRoom(qint64 userId);
    void holdOrRemove(qint64 userId);
    void restorePlace(Connection& c, Member& m);
    QString memberBody(qint64 userId, const Member& m) const;

    // Tables and games (roomtables.cpp).
    Table* tableOf(Room& room, int number);
    void sitDown(const Request& r, bool watch);
    void leaveTable(const Request& r);
    void leaveTableSilently(Room& room, qint64 userId, Member& m, bool* passwordCleared);
    void announceUnseated(Room& room, qint64 userId, int table, bool passwordCleared);
    void ready(const Request& r);
    void startGameIfReady(Room& room, int number);
    void gameOver(const Request& r);

    // Chat, invitations, game data, scores (roomrelay.cpp).
    Member* memberAtTable(const Request& r, int minStatus);
    void roomChat(const Request& r);
    void kick(const Member& sender, qint64 targetId);
    void tableChat(const Request& r);
    void invite(const Request& r);
    void relayGameData(const Request& r);
    void reportScores(const Request& r);
    void keepGameData(const Request& r);
    void askGameData(const Request& r);

    const RoomDirectory& m_directory;
    SessionDirectory& m_sessions;
    const Clock& m_clock;
    PacketSink& m_sink;
    QString m_host;
    quint16 m_port;
    Limits m_limits;
    ConnectionId m_nextId = 1;
    std::unordered_map<ConnectionId, Connection> m_connections;
    std::unordered_map<qint64, Member> m_members;  // by user id: one place per player
    std::map<qint32, Room> m_rooms;
    std::set<qint32> m_countChanged;
    std::vector<std::pair<qint64, qint32>> m_played;
};

}  // namespace velmora::server
