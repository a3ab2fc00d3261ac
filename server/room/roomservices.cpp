#include "server/room/roomservices.h"

#include "server/room/roomserverhost.h"
#include "server/room/webdirectories.h"
#include "server/web/gamestore.h"
#include "server/web/sessionstore.h"
#include "server/web/userstore.h"
#include "server/web/webdatabase.h"

namespace velmora::server {

RoomServices::RoomServices(const QString& dataFolder) : m_dataFolder(dataFolder) {}

RoomServices::~RoomServices() = default;

void RoomServices::restrictTo(const QString& host, quint16 port) {
    m_onlyHost = host;
    m_onlyPort = port;
}

bool RoomServices::start(QString* error) {
    m_database = std::make_unique<WebDatabase>(WebDatabase::defaultFile(m_dataFolder));
    if (!m_database->isOpen()) {
        if (error) *error = QStringLiteral("cannot open the database: ") + m_database->errorText();
        return false;
    }
    m_sessionStore = std::make_unique<SessionStore>(*m_database);
    m_users = std::make_unique<UserStore>(*m_database);
    m_games = std::make_unique<GameStore>(*m_database);
    m_sessions = std::make_unique<WebSessionDirectory>(*m_sessionStore, *m_users);
    m_rooms = std::make_unique<WebRoomDirectory>(*m_games);
    m_host = std::make_unique<RoomServerHost>(*m_rooms, *m_sessions);
    if (m_onlyPort != 0) m_host->restrictTo(m_onlyHost, m_onlyPort);
    GameStore* games = m_games.get();
    m_host->setRoomCountReporter([games](qint32 roomId, int count) { games->setRoomOnline(roomId, count); });
    // A started game makes the game one of the player's recently played.
    m_host->setPlayedReporter([games](qint64 userId, qint32 gameId) {
        if (gameId > 0) games->recordPlayed(userId, gameId);
    });
    QString listenError;
    const bool all = m_host->listenAll(&listenError);
    if (m_host->servers().empty()) {
        if (error)
            *error = listenError.isEmpty() ? QStringLiteral("no rooms in the database name a room server address")
                                           : listenError;
        return false;
    }
    if (!all && error) *error = listenError;
    return true;
}

}  // namespace velmora::server
