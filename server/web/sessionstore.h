#pragma once
// The sessions of the web service, kept in its database so that another process (a room
// server) can check a token against the same file. A session starts at the bootstrap (user 0),
// is bound to a user by the login, stays alive while requests carrying its token arrive, and
// ends by the exit notice, by a newer login of the same user, or after `idle` without a request.

#include "server/web/webdatabase.h"

#include <QString>
#include <chrono>
#include <functional>
#include <optional>

namespace velmora::server {

inline constexpr std::chrono::seconds kDefaultSessionIdle{600};

struct SessionInfo {
    QString token;
    QString encodeKey;
    qint64 userId = 0;  // 0 until the login
};

class SessionStore {
public:
    // Uses `database` (its connection, in its thread).
    SessionStore(WebDatabase& database, std::chrono::seconds idle = kDefaultSessionIdle);

    std::chrono::seconds idleTime() const { return m_idle; }

    // A new session: a URL-safe token of 256 random bits and an 8-character letters-and-digits
    // key. Nothing when the database refuses.
    std::optional<SessionInfo> create();
    // The live session of `token`; when `touch` is set its idle time starts again.
    std::optional<SessionInfo> find(const QString& token, bool touch = true);
    // True when `token` is a live session bound to `userId` (the room server's check).
    bool check(const QString& token, qint64 userId, bool touch = true);
    // Binds a live session to a user and ends every other live session of that user.
    bool bindUser(const QString& token, qint64 userId);
    // Ends a live session. False when there was none.
    bool end(const QString& token);
    // Live sessions bound to a user.
    qint64 onlineUsers();
    // Deletes sessions that ended or expired more than a day ago.
    void purge();

    // Test and operator seam: the current time in seconds (default: the system clock).
    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    static bool isTokenText(const QString& token);

private:
    qint64 now() const { return m_clock(); }
    qint64 liveSince() const { return now() - m_idle.count(); }

    WebDatabase& m_database;
    std::chrono::seconds m_idle;
    std::function<qint64()> m_clock;
    qint64 m_lastPurge = 0;
};

}  // namespace velmora::server
