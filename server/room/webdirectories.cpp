#include "server/room/webdirectories.h"

#include "server/web/gamestore.h"
#include "server/web/sessionstore.h"
#include "server/web/userstore.h"

namespace velmora::server {
namespace {

bool flag(const QString& value) { return value == QLatin1String("1") || value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0; }

RoomInfo roomFromFields(const ListFields& fields) {
    RoomInfo r;
    for (const auto& [name, value] : fields) {
        if (name == QLatin1String("id")) r.id = value.toInt();
        else if (name == QLatin1String("gid")) r.gameId = value.toInt();
        else if (name == QLatin1String("title")) r.title = value;
        else if (name == QLatin1String("serverip")) r.serverHost = value;
        else if (name == QLatin1String("serverport")) r.serverPort = static_cast<quint16>(std::clamp(value.toInt(), 0, 65535));
        else if (name == QLatin1String("tablenum")) r.tableCount = value.toInt();
        else if (name == QLatin1String("seatnum")) r.seatCount = value.toInt();
        else if (name == QLatin1String("maxplayernum")) r.maxMembers = std::min(value.toInt(), 300);
        else if (name == QLatin1String("enabledchat")) r.chatEnabled = flag(value);
        else if (name == QLatin1String("enabledlook")) r.watchEnabled = flag(value);
        else if (name == QLatin1String("rules")) r.grab = value.contains(QStringLiteral("抢地主=1"));
    }
    if (r.maxMembers <= 0) r.maxMembers = 300;
    return r;
}

}  // namespace

std::optional<SessionRecord> WebSessionDirectory::findSession(const QString& token) {
    if (!SessionStore::isTokenText(token)) return std::nullopt;
    const auto session = m_sessions.find(token, true);
    if (!session || session->userId == 0) return std::nullopt;
    const auto user = m_users.findById(session->userId);
    if (!user || user->locked) return std::nullopt;
    SessionRecord record;
    record.userId = session->userId;
    record.encodeKey = session->encodeKey;
    record.profile.userId = user->id;
    record.profile.name = user->nickname.isEmpty() ? user->username : user->nickname;
    record.profile.vipLevel = user->vipid;
    record.profile.gold = user->money;
    return record;
}

std::vector<RoomInfo> WebRoomDirectory::allRooms() const {
    std::vector<RoomInfo> rooms;
    for (const ListFields& fields : m_games.roomList(OnlineTotals{})) rooms.push_back(roomFromFields(fields));
    return rooms;
}

std::optional<RoomInfo> WebRoomDirectory::findRoom(qint32 roomId) const {
    for (const RoomInfo& r : allRooms())
        if (r.id == roomId) return r;
    return std::nullopt;
}

}  // namespace velmora::server
