#pragma once
// Password recovery of the web service. An account may carry a question and a secret made of
// its identity card number and the answer; the secret is kept only as a salted slow hash.
// A successful recovery issues a random password that works beside the old one until it is
// first used to log in (UserStore::checkPassword then makes it the only password).
//
// Throttle (FailureThrottle "recovery"): kMaxAccountFailures failures for an account or
// kMaxAddressFailures from an address within kFailureWindow seconds refuse further attempts.

#include "server/web/failurethrottle.h"
#include "server/web/webdatabase.h"

#include <QHostAddress>
#include <QString>
#include <functional>
#include <optional>

namespace velmora::server {

class RecoveryStore {
public:
    static constexpr int kMaxAccountFailures = 5;
    static constexpr int kMaxAddressFailures = 20;
    static constexpr qint64 kFailureWindow = 15 * 60;
    static constexpr int kNewPasswordLength = 10;

    explicit RecoveryStore(WebDatabase& database)
        : m_database(database),
          m_throttle(database, QStringLiteral("recovery"),
                     {kMaxAccountFailures, kMaxAddressFailures, kFailureWindow}) {}

    // Stores the recovery data of an account (replacing any). An empty question, card number
    // or answer leaves the account without recovery.
    bool setRecovery(qint64 userId, const QString& phone, const QString& question,
                     const QString& cardId, const QString& answer, int iterations);
    bool hasRecovery(qint64 userId) const;

    enum class Result { Issued, Wrong, Throttled };
    struct Outcome {
        Result result = Result::Wrong;
        QString newPassword;  // Issued only
    };
    // `userId` nothing: no such account (costs the same hashing as a wrong answer).
    Outcome recover(std::optional<qint64> userId, const QString& question, const QString& cardId,
                    const QString& answer, const QHostAddress& remote);

    // Issues a new random password for the account (kept as the pending one).
    std::optional<QString> issuePassword(qint64 userId, int iterations);

    void setClock(std::function<qint64()> clock) {
        m_throttle.setClock(clock);
        m_clock = std::move(clock);
    }

    // The bytes the secret hash covers: card number trimmed and in upper case, a line feed,
    // the answer trimmed (UTF-8).
    static QByteArray secretBytes(const QString& cardId, const QString& answer);

private:
    qint64 now() const;
    WebDatabase& m_database;
    FailureThrottle m_throttle;
    std::function<qint64()> m_clock;
};

}  // namespace velmora::server
