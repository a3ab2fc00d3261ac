#pragma once
// The players' accounts in the web service's database.

#include "server/web/passwordhash.h"
#include "server/web/webdatabase.h"

#include <QString>
#include <optional>

namespace velmora::server {

struct UserRecord {
    qint64 id = 0;
    QString username;
    QString nickname;
    QString truename;
    QString sex;
    int face = 1;
    qint64 money = 0;
    int level = 0;
    int vipid = 0;
    QString usershow;
    bool locked = false;
};

class UserStore {
public:
    explicit UserStore(WebDatabase& database) : m_database(database) {}

    std::optional<UserRecord> findById(qint64 id) const;
    std::optional<UserRecord> findByName(const QString& username) const;
    // The account whose nick name equals `nickname` without regard to case.
    std::optional<UserRecord> findByNickname(const QString& nickname) const;
    // Checks the MD5 hex digest the hall sent against the stored hash of the account, and
    // against a password issued by the recovery (RecoveryStore), which on its first use
    // replaces the old password.
    bool checkPassword(qint64 id, const QByteArray& md5Hex) const;

    // Creates an account; `record.id` 0 takes the next free id (at least kFirstUserId).
    // Nothing when the name is taken or the database refuses.
    std::optional<qint64> create(const UserRecord& record, const QByteArray& md5Hex,
                                 int iterations = kDefaultPbkdf2Iterations);
    bool updateProfile(qint64 id, const QString& nickname, const QString& sex, int face);
    qint64 count() const;

    // Demo accounts alice, bob, carol and dave (password "velmora", ids from 10001), added
    // only to a database that has no account yet. Returns the number added.
    int seedDemo(int iterations = kDefaultPbkdf2Iterations);

    static constexpr qint64 kFirstUserId = 10001;

private:
    std::optional<UserRecord> findBy(const char* where, const QVariant& value) const;

    WebDatabase& m_database;
};

}  // namespace velmora::server
