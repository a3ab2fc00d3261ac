#pragma once
// The room servers of one process over the web service's database: the database connection,
// the stores, the two directories and the listeners, kept together for their whole life.
// Used by velmora-server (beside the web service) and by velmora-roomserver (alone).

#include <QString>
#include <memory>

namespace velmora::server {

class WebDatabase;
class SessionStore;
class UserStore;
class GameStore;
class WebSessionDirectory;
class WebRoomDirectory;
class RoomServerHost;

class RoomServices {
public:
    explicit RoomServices(const QString& dataFolder);
    ~RoomServices();

    // Only this address (a room server run alone on one machine); before start().
    void restrictTo(const QString& host, quint16 port);
    // Opens the database and listens on every room server address its rooms name. False with
    // a reason when the database cannot be opened or no listener could start; listeners that
    // did start keep running (`error` then names the first that did not).
    bool start(QString* error);
    RoomServerHost* host() { return m_host.get(); }

private:
    QString m_dataFolder;
    QString m_onlyHost;
    quint16 m_onlyPort = 0;
    std::unique_ptr<WebDatabase> m_database;
    std::unique_ptr<SessionStore> m_sessionStore;
    std::unique_ptr<UserStore> m_users;
    std::unique_ptr<GameStore> m_games;
    std::unique_ptr<WebSessionDirectory> m_sessions;
    std::unique_ptr<WebRoomDirectory> m_rooms;
    std::unique_ptr<RoomServerHost> m_host;
};

}  // namespace velmora::server
