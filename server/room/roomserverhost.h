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
    // Only this address (for a room server run alone); call before listenAll.
    void restrictTo(const QString& host, quint16 port) { m_onlyHost = host; m_onlyPort = port; }
    // Passed to every listener (see RoomTcpServer::setRoomCountReporter).
    void setRoomCountReporter(std::function<void(qint32, int)> reporter) { m_reporter = std::move(reporter); }
    // Passed to every listener (see RoomTcpServer::setPlayedReporter).
    void setPlayedReporter(std::function<void(qint64, qint32)> reporter) { m_played = std::move(reporter); }
    const std::vector<RoomTcpServer*>& servers() const { return m_servers; }

private:
    const RoomDirectory& m_rooms;
    SessionDirectory& m_sessions;
    Limits m_limits;
    std::vector<RoomTcpServer*> m_servers;
    QString m_onlyHost;
    quint16 m_onlyPort = 0;
    std::function<void(qint32, int)> m_reporter;
    std::function<void(qint64, qint32)> m_played;
};

}  // namespace velmora::server
