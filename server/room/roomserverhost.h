#pragma once
// All room servers of one process: one RoomTcpServer per distinct address that the room
// directory places rooms on (the demo: 127.0.0.1:18101 to 18103).

#include <QObject>
#include <vector>

#include "server/room/roomtcpserver.h"

namespace velmora::server {

class RoomServerHost final : public QObject {
    Q_OBJECT
public:
    RoomServerHost(const RoomDirectory& rooms, SessionDirectory& sessions, Limits limits = {},
                   QObject* parent = nullptr);
    // Starts a listener for each address; false (with the first failure in `error`) when one
    // could not listen. Listeners that did start keep running.
    bool listenAll(QString* error = nullptr);
    const std::vector<RoomTcpServer*>& servers() const { return m_servers; }

private:
    const RoomDirectory& m_rooms;
    SessionDirectory& m_sessions;
    Limits m_limits;
    std::vector<RoomTcpServer*> m_servers;
};

}  // namespace velmora::server
