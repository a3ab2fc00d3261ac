#include "server/web/failurethrottle.h"

#include <QDateTime>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::server {

qint64 FailureThrottle::now() const { return m_clock ? m_clock() : QDateTime::currentSecsSinceEpoch(); }

// Recovery keeps its keys of before ("user:", "addr:"); other kinds are prefixed with their name.
QString FailureThrottle::accountKey(qint64 userId) const {
    const QString key = QStringLiteral("user:%1").arg(userId);
    return m_kind == QLatin1String("recovery") ? key : m_kind + QLatin1Char(':') + key;
}

QString FailureThrottle::addressKey(const QHostAddress& remote) const {
    const QString key =
        QStringLiteral("addr:") + (remote.isNull() ? QStringLiteral("local") : remote.toString());
    return m_kind == QLatin1String("recovery") ? key : m_kind + QLatin1Char(':') + key;
}

int FailureThrottle::failures(const QString& key) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT COUNT(*) FROM recovery_failures WHERE key = ? AND at > ?"));
    q.addBindValue(key);
    q.addBindValue(QVariant::fromValue(now() - m_limits.windowSeconds));
    return q.exec() && q.next() ? q.value(0).toInt() : 0;
}

void FailureThrottle::addFailure(const QString& key) {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("DELETE FROM recovery_failures WHERE at <= ?"));
    q.addBindValue(QVariant::fromValue(now() - m_limits.windowSeconds));
    q.exec();
    q.prepare(QStringLiteral("INSERT INTO recovery_failures (key, at) VALUES (?, ?)"));
    q.addBindValue(key);
    q.addBindValue(QVariant::fromValue(now()));
    q.exec();
}

bool FailureThrottle::throttled(std::optional<qint64> userId, const QHostAddress& remote) const {
    return failures(addressKey(remote)) >= m_limits.maxPerAddress ||
           (userId && failures(accountKey(*userId)) >= m_limits.maxPerAccount);
}

void FailureThrottle::recordFailure(std::optional<qint64> userId, const QHostAddress& remote) {
    addFailure(addressKey(remote));
    if (userId) addFailure(accountKey(*userId));
}

void FailureThrottle::recordSuccess(qint64 userId) {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("DELETE FROM recovery_failures WHERE key = ?"));
    q.addBindValue(accountKey(userId));
    q.exec();
}

}  // namespace velmora::server
