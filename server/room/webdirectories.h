#pragma once
// The room server's two directories over the web service's database: sessions (token, user,
// encode key) with the player's account, and the rooms of the game tree. Several processes may
// open the same database file, so a room server can run alone beside the web service.
// The stores belong to the thread that opened their database.

#include "server/room/roomdirectory.h"
#include "server/room/sessiondirectory.h"

namespace velmora::server {

class SessionStore;
class UserStore;
class GameStore;

class WebSessionDirectory final : public SessionDirectory {
public:
    WebSessionDirectory(SessionStore& sessions, UserStore& users) : m_sessions(sessions), m_users(users) {}
    // A live session bound to an unlocked account; checking it keeps the session alive.
    std::optional<SessionRecord> findSession(const QString& token) override;

private:
    SessionStore& m_sessions;
    UserStore& m_users;
};

class WebRoomDirectory final : public RoomDirectory {
public:
    explicit WebRoomDirectory(GameStore& games) : m_games(games) {}
    std::optional<RoomInfo> findRoom(qint32 roomId) const override;
    std::vector<RoomInfo> allRooms() const override;

private:
    GameStore& m_games;
};

}  // namespace velmora::server
