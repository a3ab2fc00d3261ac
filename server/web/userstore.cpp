#include "server/web/userstore.h"

#include "hall/foundation/publicfunc.h"

#include <QDateTime>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::server {
namespace {

constexpr const char* kColumns =
    "id, username, nickname, truename, sex, face, money, level, vipid, usershow, locked";

// A null QString binds as SQL NULL; the text columns are NOT NULL.
QString notNull(const QString& text) { return text.isNull() ? QStringLiteral("") : text; }

UserRecord readRecord(const QSqlQuery& q) {
    UserRecord r;
    r.id = q.value(0).toLongLong();
    r.username = q.value(1).toString();
    r.nickname = q.value(2).toString();
    r.truename = q.value(3).toString();
    r.sex = q.value(4).toString();
    r.face = q.value(5).toInt();
    r.money = q.value(6).toLongLong();
    r.level = q.value(7).toInt();
    r.vipid = q.value(8).toInt();
    r.usershow = q.value(9).toString();
    r.locked = q.value(10).toInt() != 0;
    return r;
}

}  // namespace

std::optional<UserRecord> UserStore::findBy(const char* where, const QVariant& value) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT %1 FROM users WHERE %2 = ?")
                  .arg(QLatin1String(kColumns), QLatin1String(where)));
    q.addBindValue(value);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return readRecord(q);
}

std::optional<UserRecord> UserStore::findById(qint64 id) const {
    return findBy("id", QVariant::fromValue(id));
}

std::optional<UserRecord> UserStore::findByName(const QString& username) const {
    return findBy("username", username);
}

std::optional<UserRecord> UserStore::findByNickname(const QString& nickname) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT %1 FROM users WHERE nickname = ? COLLATE NOCASE LIMIT 1")
                  .arg(QLatin1String(kColumns)));
    q.addBindValue(nickname);
    if (!q.exec() || !q.next())
        return std::nullopt;
    return readRecord(q);
}

bool UserStore::checkPassword(qint64 id, const QByteArray& md5Hex) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT salt, hash, iterations FROM users WHERE id = ?"));
    q.addBindValue(QVariant::fromValue(id));
    if (!q.exec() || !q.next()) {
        // Same work for an unknown account, so that the answer time does not tell.
        static const PasswordHash kDummy = HashPassword("0", kDefaultPbkdf2Iterations);
        VerifyPassword(md5Hex, kDummy);
        return false;
    }
    PasswordHash stored{q.value(0).toByteArray(), q.value(1).toByteArray(), q.value(2).toInt()};
    if (VerifyPassword(md5Hex, stored))
        return true;
    // A password issued by the recovery: its first use makes it the account's only password.
    q.prepare(QStringLiteral("SELECT salt, hash, iterations FROM pending_passwords WHERE user_id = ?"));
    q.addBindValue(QVariant::fromValue(id));
    if (!q.exec() || !q.next())
        return false;
    const PasswordHash pending{q.value(0).toByteArray(), q.value(1).toByteArray(), q.value(2).toInt()};
    if (!VerifyPassword(md5Hex, pending))
        return false;
    QSqlDatabase db = m_database.db();
    db.transaction();
    QSqlQuery promote(db);
    promote.prepare(QStringLiteral("UPDATE users SET salt = ?, hash = ?, iterations = ? WHERE id = ?"));
    promote.addBindValue(pending.salt);
    promote.addBindValue(pending.hash);
    promote.addBindValue(pending.iterations);
    promote.addBindValue(QVariant::fromValue(id));
    QSqlQuery drop(db);
    drop.prepare(QStringLiteral("DELETE FROM pending_passwords WHERE user_id = ?"));
    drop.addBindValue(QVariant::fromValue(id));
    if (!promote.exec() || !drop.exec() || !db.commit()) {
        db.rollback();
        qWarning("velmora web: cannot make the new password of %lld the only one", id);
    }
    return true;
}

std::optional<qint64> UserStore::create(const UserRecord& record, const QByteArray& md5Hex,
                                        int iterations) {
    const PasswordHash hash = HashPassword(md5Hex, iterations);
    QSqlDatabase db = m_database.db();
    QSqlQuery q(db);
    qint64 id = record.id;
    if (id <= 0) {
        if (!q.exec(QStringLiteral("SELECT COALESCE(MAX(id), 0) FROM users")) || !q.next())
            return std::nullopt;
        id = std::max(q.value(0).toLongLong() + 1, kFirstUserId);
    }
    q.prepare(QStringLiteral(
        "INSERT INTO users (id, username, nickname, salt, hash, iterations, truename, sex, face,"
        " money, level, vipid, usershow, locked, created)"
        " VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(QVariant::fromValue(id));
    q.addBindValue(notNull(record.username));
    q.addBindValue(notNull(record.nickname));
    q.addBindValue(hash.salt);
    q.addBindValue(hash.hash);
    q.addBindValue(hash.iterations);
    q.addBindValue(notNull(record.truename));
    q.addBindValue(notNull(record.sex));
    q.addBindValue(record.face);
    q.addBindValue(QVariant::fromValue(record.money));
    q.addBindValue(record.level);
    q.addBindValue(record.vipid);
    q.addBindValue(notNull(record.usershow));
    q.addBindValue(record.locked ? 1 : 0);
    q.addBindValue(QVariant::fromValue(QDateTime::currentSecsSinceEpoch()));
    if (!q.exec()) {
        qWarning("velmora web: cannot create account %s: %s", qPrintable(record.username),
                 qPrintable(q.lastError().text()));
        return std::nullopt;
    }
    return id;
}

bool UserStore::updateProfile(qint64 id, const QString& nickname, const QString& sex, int face) {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("UPDATE users SET nickname = ?, sex = ?, face = ? WHERE id = ?"));
    q.addBindValue(notNull(nickname));
    q.addBindValue(notNull(sex));
    q.addBindValue(face);
    q.addBindValue(QVariant::fromValue(id));
    return q.exec() && q.numRowsAffected() == 1;
}

qint64 UserStore::count() const {
    QSqlQuery q(m_database.db());
    if (!q.exec(QStringLiteral("SELECT COUNT(*) FROM users")) || !q.next())
        return 0;
    return q.value(0).toLongLong();
}

int UserStore::seedDemo(int iterations) {
    if (count() > 0)
        return 0;
    struct Demo {
        const char* name;
        const char* nick;
        const char* sex;
        int face;
        qint64 money;
        int level;
        int vip;
    };
    static constexpr Demo kDemo[] = {
        {"alice", "Alice", "女", 2, 5000, 37, 1},
        {"bob", "Bob", "男", 1, 3000, 12, 0},
        {"carol", "Carol", "女", 4, 2500, 5, 0},
        {"dave", "Dave", "男", 3, 1000, 1, 0},
    };
    const QByteArray digest = hall::Md5Hex(QStringLiteral("velmora")).toLatin1();
    int added = 0;
    qint64 id = kFirstUserId;
    for (const Demo& d : kDemo) {
        UserRecord r;
        r.id = id++;
        r.username = QString::fromLatin1(d.name);
        r.nickname = QString::fromLatin1(d.nick);
        r.sex = QString::fromUtf8(d.sex);
        r.face = d.face;
        r.money = d.money;
        r.level = d.level;
        r.vipid = d.vip;
        if (create(r, digest, iterations))
            ++added;
    }
    return added;
}

}  // namespace velmora::server
