#include "server/room/roomdirectory.h"
#include "server/room/sessiondirectory.h"

namespace velmora::server {

std::optional<SessionRecord> MemorySessionDirectory::findSession(const QString& token) {
    const auto it = m_sessions.constFind(token);
    if (it == m_sessions.constEnd()) return std::nullopt;
    return *it;
}

void MemoryRoomDirectory::addRoom(const RoomInfo& room) {
    for (auto& r : m_rooms) {
        if (r.id == room.id) {
            r = room;
            return;
        }
    }
    m_rooms.push_back(room);
}

std::optional<RoomInfo> MemoryRoomDirectory::findRoom(qint32 roomId) const {
    for (const auto& r : m_rooms)
        if (r.id == roomId) return r;
    return std::nullopt;
}

MemoryRoomDirectory MemoryRoomDirectory::demo() {
    MemoryRoomDirectory d;
    const QString titles[] = {QStringLiteral("新手房"), QStringLiteral("初级房"),
                              QStringLiteral("中级房"), QStringLiteral("高级房"),
                              QStringLiteral("抢地主房"), QStringLiteral("比赛房")};
    for (int i = 0; i < 6; ++i) {
        RoomInfo r;
        r.id = 101 + i;
        r.title = titles[i];
        r.serverPort = static_cast<quint16>(18101 + i / 2);
        r.tableCount = 100;
        r.grab = i == 4;
        d.addRoom(r);
    }
    return d;
}

}  // namespace velmora::server
