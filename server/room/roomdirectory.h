#pragma once
// Where the room server learns its rooms. Each room names the server address it is placed on;
// one room server (one listener) serves the rooms of its own address.

#include <QString>
#include <optional>
#include <vector>

namespace velmora::server {

struct RoomInfo {
    qint32 id = 0;
    qint32 gameId = 0;  // the room's game (its "gid" in the room list)
    QString title;
    QString serverHost = QStringLiteral("127.0.0.1");
    quint16 serverPort = 0;
    int maxMembers = 300;   // the hall keeps at most 300 member entries per room
    int tableCount = 0;
    int seatCount = 3;
    bool grab = false;      // the room plays with a grab phase (carried to the plug-in)
    bool chatEnabled = true;
    bool watchEnabled = true;
};

class RoomDirectory {
public:
    virtual ~RoomDirectory() = default;
    virtual std::optional<RoomInfo> findRoom(qint32 roomId) const = 0;
    virtual std::vector<RoomInfo> allRooms() const = 0;
};

class MemoryRoomDirectory final : public RoomDirectory {
public:
    MemoryRoomDirectory() = default;
    explicit MemoryRoomDirectory(std::vector<RoomInfo> rooms) : m_rooms(std::move(rooms)) {}
    void addRoom(const RoomInfo& room);
    std::optional<RoomInfo> findRoom(qint32 roomId) const override;
    std::vector<RoomInfo> allRooms() const override { return m_rooms; }

    // The demo rooms: three servers on 127.0.0.1:18101 to 18103, two rooms each.
    static MemoryRoomDirectory demo();

private:
    std::vector<RoomInfo> m_rooms;
};

}  // namespace velmora::server
