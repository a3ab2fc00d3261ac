#include "server/web/recoverystore.h"

#include "hall/foundation/publicfunc.h"
#include "server/web/passwordhash.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::server {
namespace {

// Letters and digits without the look-alikes 0/O, 1/l/I.
constexpr char kPasswordAlphabet[] = "23456789abcdefghijkmnpqrstuvwxyzABCDEFGHJKLMNPQRSTUVWXYZ";

}  // namespace

qint64 RecoveryStore::now() const {
    return m_clock ? m_clock() : QDateTime::currentSecsSinceEpoch();
}

QByteArray RecoveryStore::secretBytes(const QString& cardId, const QString& answer) {
    return cardId.trimmed().toUpper().toUtf8() + '\n' + answer.trimmed().toUtf8();
}

bool RecoveryStore::setRecovery(qint64 userId, const QString& phone, const QString& question,
                                const QString& cardId, const QString& answer, int iterations) {
    const bool usable = !question.trimmed().isEmpty() && !cardId.trimmed().isEmpty() &&
                        !answer.trimmed().isEmpty();
    const PasswordHash secret =
        usable ? HashPassword(secretBytes(cardId, answer), iterations) : PasswordHash{{}, {}, 0};
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO user_recovery"
                             " (user_id, phone, question, salt, hash, iterations)"
                             " VALUES (?, ?, ?, ?, ?, ?)"));
    q.addBindValue(QVariant::fromValue(userId));
    q.addBindValue(phone.isNull() ? QStringLiteral("") : phone);
    q.addBindValue(usable ? question.trimmed() : QStringLiteral(""));
    q.addBindValue(secret.salt.isNull() ? QByteArray("") : secret.salt);
    q.addBindValue(secret.hash.isNull() ? QByteArray("") : secret.hash);
    q.addBindValue(secret.iterations);
    if (!q.exec()) {
        qWarning("velmora web: cannot store recovery data: %s", qPrintable(q.lastError().text()));
        return false;
    }
    return true;
}

bool RecoveryStore::hasRecovery(qint64 userId) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT 1 FROM user_recovery WHERE user_id = ? AND question <> ''"));
    q.addBindValue(QVariant::fromValue(userId));
    return q.exec() && q.next();
}

RecoveryStore::Outcome RecoveryStore::recover(std::optional<qint64> userId, const QString& question,
                                              const QString& cardId, const QString& answer,
                                              const QHostAddress& remote) {
    if (m_throttle.throttled(userId, remote))
        return {Result::Throttled, {}};

    PasswordHash stored{{}, {}, 0};
    QString storedQuestion;
    if (userId) {
        QSqlQuery q(m_database.db());
        q.prepare(QStringLiteral("SELECT question, salt, hash, iterations FROM user_recovery"
                                 " WHERE user_id = ?"));
        q.addBindValue(QVariant::fromValue(*userId));
        if (q.exec() && q.next()) {
            storedQuestion = q.value(0).toString();
            stored = {q.value(1).toByteArray(), q.value(2).toByteArray(), q.value(3).toInt()};
        }
    }
    bool ok = false;
    if (!storedQuestion.isEmpty()) {
        // The hash is checked even for a wrong question, so that the time does not tell.
        const bool secretOk = VerifyPassword(secretBytes(cardId, answer), stored);
        ok = secretOk && storedQuestion == question.trimmed();
    } else {
        static const PasswordHash kDummy = HashPassword("0", kDefaultPbkdf2Iterations);
        VerifyPassword(secretBytes(cardId, answer), kDummy);
    }
    if (!ok) {
        m_throttle.recordFailure(userId, remote);
        return {Result::Wrong, {}};
    }
    const std::optional<QString> password = issuePassword(*userId, stored.iterations);
    if (!password)
        return {Result::Wrong, {}};
    m_throttle.recordSuccess(*userId);
    return {Result::Issued, *password};
}

std::optional<QString> RecoveryStore::issuePassword(qint64 userId, int iterations) {
    // Bytes at or above the largest multiple of the alphabet size are drawn again, so that
    // every character is equally likely.
    constexpr int kAlphabetSize = int(sizeof(kPasswordAlphabet)) - 1;
    constexpr int kLimit = 256 - 256 % kAlphabetSize;
    QString password;
    while (password.size() < kNewPasswordLength) {
        for (char byte : RandomBytes(kNewPasswordLength)) {
            if (quint8(byte) < kLimit && password.size() < kNewPasswordLength)
                password.append(QLatin1Char(kPasswordAlphabet[quint8(byte) % kAlphabetSize]));
        }
    }
    const PasswordHash hash = HashPassword(hall::Md5Hex(password).toLatin1(), iterations);
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO pending_passwords"
                             " (user_id, salt, hash, iterations, created) VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(QVariant::fromValue(userId));
    q.addBindValue(hash.salt);
    q.addBindValue(hash.hash);
    q.addBindValue(hash.iterations);
    q.addBindValue(QVariant::fromValue(now()));
    if (!q.exec()) {
        qWarning("velmora web: cannot store a new password: %s", qPrintable(q.lastError().text()));
        return std::nullopt;
    }
    return password;
}

}  // namespace velmora::server
