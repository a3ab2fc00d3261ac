#include "server/room/roomserverhost.h"

#include <set>

namespace velmora::server {

RoomServerHost::RoomServerHost(const RoomDirectory& rooms, SessionDirectory& sessions,
                               Limits limits, QObject* parent)
    : QObject(parent), m_rooms(rooms), m_sessions(sessions), m_limits(limits) {}

bool RoomServerHost::listenAll(QString* error) {
    std::set<std::pair<QString, quint16>> addresses;
    for (const RoomInfo& room : m_rooms.allRooms())
        if (room.serverPort != 0 &&
            (m_onlyPort == 0 || (room.serverHost == m_onlyHost && room.serverPort == m_onlyPort)))
            addresses.emplace(room.serverHost, room.serverPort);
    if (addresses.empty() && m_onlyPort != 0) addresses.emplace(m_onlyHost, m_onlyPort);
    bool ok = true;
    for (const auto& [host, port] : addresses) {
        auto* server = new RoomTcpServer(m_rooms, m_sessions, host, port, m_limits, this);
        if (!server->listen()) {
            if (ok && error)
                *error = QStringLiteral("%1:%2: %3").arg(host).arg(port).arg(server->errorString());
            ok = false;
            delete server;
            continue;
        }
        if (m_reporter) server->setRoomCountReporter(m_reporter);
        if (m_played) server->setPlayedReporter(m_played);
        m_servers.push_back(server);
    }
    return ok;
}

}  // namespace velmora::server
