#include "server/web/sessionstore.h"

#include "server/web/passwordhash.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::server {
namespace {

constexpr int kTokenBytes = 32;
constexpr int kEncodeKeyLength = 8;

QString newEncodeKey() {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QString key;
    while (key.size() < kEncodeKeyLength) {
        for (char byte : RandomBytes(16)) {
            const unsigned value = static_cast<unsigned char>(byte);
            if (value < 62 * 4 && key.size() < kEncodeKeyLength)  // no modulo bias
                key.append(QLatin1Char(kAlphabet[value % 62]));
        }
    }
    return key;
}

}  // namespace

SessionStore::SessionStore(WebDatabase& database, std::chrono::seconds idle)
    : m_database(database), m_idle(idle), m_clock([] { return QDateTime::currentSecsSinceEpoch(); }) {}

bool SessionStore::isTokenText(const QString& token) {
    if (token.isEmpty() || token.size() > 128)
        return false;
    for (QChar c : token) {
        const bool ok = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
                        (c >= u'0' && c <= u'9') || c == u'-' || c == u'_';
        if (!ok)
            return false;
    }
    return true;
}

std::optional<SessionInfo> SessionStore::create() {
    if (now() - m_lastPurge > 60)
        purge();
    SessionInfo info;
    info.token = QString::fromLatin1(RandomBytes(kTokenBytes).toBase64(
        QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
    info.encodeKey = newEncodeKey();
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral(
        "INSERT INTO sessions (token, encodekey, user_id, created, last_seen) VALUES (?, ?, 0, ?, ?)"));
    q.addBindValue(info.token);
    q.addBindValue(info.encodeKey);
    q.addBindValue(QVariant::fromValue(now()));
    q.addBindValue(QVariant::fromValue(now()));
    if (!q.exec())
        return std::nullopt;
    return info;
}

std::optional<SessionInfo> SessionStore::find(const QString& token, bool touch) {
    if (!isTokenText(token))
        return std::nullopt;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT encodekey, user_id FROM sessions"
                             " WHERE token = ? AND ended = 0 AND last_seen >= ?"));
    q.addBindValue(token);
    q.addBindValue(QVariant::fromValue(liveSince()));
    if (!q.exec() || !q.next())
        return std::nullopt;
    SessionInfo info{token, q.value(0).toString(), q.value(1).toLongLong()};
    q.finish();
    if (touch) {
        QSqlQuery update(m_database.db());
        update.prepare(QStringLiteral("UPDATE sessions SET last_seen = ? WHERE token = ?"));
        update.addBindValue(QVariant::fromValue(now()));
        update.addBindValue(token);
        update.exec();
    }
    return info;
}

bool SessionStore::check(const QString& token, qint64 userId, bool touch) {
    const std::optional<SessionInfo> info = find(token, touch);
    return info && userId != 0 && info->userId == userId;
}

bool SessionStore::bindUser(const QString& token, qint64 userId) {
    if (!find(token, true))
        return false;
    QSqlDatabase db = m_database.db();
    db.transaction();
    QSqlQuery q(db);
    q.prepare(QStringLiteral("UPDATE sessions SET ended = ? WHERE user_id = ? AND token <> ? AND ended = 0"));
    q.addBindValue(QVariant::fromValue(now()));
    q.addBindValue(QVariant::fromValue(userId));
    q.addBindValue(token);
    bool ok = q.exec();
    q.prepare(QStringLiteral("UPDATE sessions SET user_id = ? WHERE token = ?"));
    q.addBindValue(QVariant::fromValue(userId));
    q.addBindValue(token);
    ok = ok && q.exec();
    return ok ? db.commit() : (db.rollback(), false);
}

bool SessionStore::end(const QString& token) {
    if (!find(token, false))
        return false;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("UPDATE sessions SET ended = ? WHERE token = ? AND ended = 0"));
    q.addBindValue(QVariant::fromValue(now()));
    q.addBindValue(token);
    return q.exec() && q.numRowsAffected() == 1;
}

qint64 SessionStore::onlineUsers() {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT COUNT(DISTINCT user_id) FROM sessions"
                             " WHERE user_id <> 0 AND ended = 0 AND last_seen >= ?"));
    q.addBindValue(QVariant::fromValue(liveSince()));
    if (!q.exec() || !q.next())
        return 0;
    return q.value(0).toLongLong();
}

void SessionStore::purge() {
    m_lastPurge = now();
    const qint64 before = liveSince() - 24 * 3600;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("DELETE FROM sessions WHERE (ended <> 0 AND ended < ?) OR last_seen < ?"));
    q.addBindValue(QVariant::fromValue(before));
    q.addBindValue(QVariant::fromValue(before));
    q.exec();
}

}  // namespace velmora::server
