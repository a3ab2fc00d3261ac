#pragma once
// Where the room server checks login tokens. The web service issues a session (token, user
// id, encode key); the room server only reads it. MemorySessionDirectory serves tests and the
// stand-alone demo; an adapter over the web service's store implements the same interface.

#include <QHash>
#include <QString>
#include <optional>

namespace velmora::server {

// What the room server needs to know of a player.
struct PlayerProfile {
    qint64 userId = 0;
    QString name;
    int vipLevel = 0;
    qint64 gold = 0;
    qint64 point = 0;
};

struct SessionRecord {
    qint64 userId = 0;
    QString encodeKey;  // scrambles every line after the login line, both directions
    PlayerProfile profile;
};

class SessionDirectory {
public:
    virtual ~SessionDirectory() = default;
    // The live session of a token; nothing when the token is unknown or expired.
    virtual std::optional<SessionRecord> findSession(const QString& token) = 0;
};

class MemorySessionDirectory final : public SessionDirectory {
public:
    void addSession(const QString& token, const SessionRecord& record) { m_sessions.insert(token, record); }
    void removeSession(const QString& token) { m_sessions.remove(token); }
    std::optional<SessionRecord> findSession(const QString& token) override;

private:
    QHash<QString, SessionRecord> m_sessions;
};

}  // namespace velmora::server
