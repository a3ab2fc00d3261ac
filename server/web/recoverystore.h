#pragma once
// Password recovery of the web service. An account may carry a question and a secret made of
// its identity card number and the answer; the secret is kept only as a salted slow hash.
// A successful recovery issues a random password that works beside the old one until it is
// first used to log in (UserStore::checkPassword then makes it the only password).
//
// Throttle: failed attempts are counted per account and per sender address over the last
// kFailureWindow seconds. With kMaxAccountFailures failures for the account, or
// kMaxAddressFailures from the address, within that window, further attempts are refused
// without being checked until enough failures have aged out of the window. A success clears
// the account's failures. Unknown accounts count against the address only.

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

    explicit RecoveryStore(WebDatabase& database) : m_database(database) {}

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

    void setClock(std::function<qint64()> clock) { m_clock = std::move(clock); }

    // The bytes the secret hash covers: card number trimmed and in upper case, a line feed,
    // the answer trimmed (UTF-8).
    static QByteArray secretBytes(const QString& cardId, const QString& answer);

private:
    qint64 now() const;
    int failures(const QString& key) const;
    void addFailure(const QString& key);
    void clearFailures(const QString& key);

    WebDatabase& m_database;
    std::function<qint64()> m_clock;
};

}  // namespace velmora::server
