#pragma once
// Counts failed attempts of one kind ("recovery", "login") per account and per sender address
// over a sliding window, in the web database, so that every process sharing it sees them.
// With `maxPerAccount` failures for the account, or `maxPerAddress` from the address, within
// the window, the next attempt is refused without being checked until enough failures have aged
// out. A success clears the account's failures; unknown accounts count against the address only.

#include <QHostAddress>
#include <QString>
#include <functional>
#include <optional>

#include "server/web/webdatabase.h"

namespace velmora::server {

class FailureThrottle {
public:
    struct Limits {
        int maxPerAccount;
        int maxPerAddress;
        qint64 windowSeconds;
    };

    FailureThrottle(WebDatabase& database, QString kind, Limits limits)
        : m_database(database), m_kind(std::move(kind)), m_limits(limits) {}

    // True when an attempt for the account (nothing: unknown) from `remote` must be refused.
    bool throttled(std::optional<qint64> userId, const QHostAddress& remote) const;
    void recordFailure(std::optional<qint64> userId, const QHostAddress& remote);
    void recordSuccess(qint64 userId);

    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }
    const Limits& limits() const { return m_limits; }

private:
    qint64 now() const;
    QString accountKey(qint64 userId) const;
    QString addressKey(const QHostAddress& remote) const;
    int failures(const QString& key) const;
    void addFailure(const QString& key);

    WebDatabase& m_database;
    QString m_kind;
    Limits m_limits;
    std::function<qint64()> m_clock;
};

}  // namespace velmora::server
