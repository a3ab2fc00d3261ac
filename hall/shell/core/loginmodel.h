#pragma once
// The login dialog's rules without widgets: remembered accounts (registry key "User"), the
// password placeholder, the login request and its reply.

#include "hall/foundation/hallcontext.h"
#include "platform/registry/registrystore.h"

#include <QList>
#include <QString>
#include <optional>

namespace velmora::hall {

inline const QString kPasswordPlaceholder = QStringLiteral("********");
inline const QString kLoginTypeUserId = QStringLiteral("userid");
inline const QString kLoginTypeUserName = QStringLiteral("username");
// Most remembered accounts read from the registry.
inline constexpr int kMaxRememberedAccounts = 200;

struct RememberedAccount {
    QString user;
    QString pass;  // MD5 hex digest, empty when the password is not remembered
    QString type;  // "userid" or "username"
};

// Reads and rewrites the remembered accounts. Entry 0 is the last successful login.
class RememberedAccounts {
public:
    explicit RememberedAccounts(platform::RegistryStore& store) : m_store(store) {}

    // The "user<n>" values in order of n, each with its "pass<n>" and "type<n>"; an account
    // name listed twice is shown once (the first). Failures read as no accounts.
    QList<RememberedAccount> load() const;

    // Entry 0 := (account, type, pass), then every listed account other than `account` as
    // entry i + 1. The new values replace the old ones in one write; values that no longer
    // belong are removed afterwards, so a failed write leaves the old accounts as they were.
    bool save(const RememberedAccount& current, const QList<RememberedAccount>& listed);

private:
    platform::RegistryStore& m_store;
};

// The state behind the account box, the password box and "记住密码(&S)".
class LoginModel {
public:
    void setAccounts(QList<RememberedAccount> accounts) { m_accounts = std::move(accounts); }
    const QList<RememberedAccount>& accounts() const { return m_accounts; }

    // What the dialog shows after choosing remembered account `index`.
    struct Selection {
        bool byUserId = false;
        bool savePassword = false;
        QString passwordText;  // "********" or empty
    };
    Selection select(int index);
    // The password box changed; `text` is its new content.
    void passwordChanged(const QString& text);

    const QString& loginPass() const { return m_loginPass; }
    bool autoLogin() const { return m_autoLogin; }

private:
    QList<RememberedAccount> m_accounts;
    QString m_loginPass;
    bool m_autoLogin = false;
};

// The POST body of the login.
QString LoginForm(const QString& account, const QString& passwordHash, const QString& token,
                  bool byUserId);

struct LoginResult {
    bool ok = false;
    QString message;  // the message box text when !ok
    STRU_USERINFO user;  // filled when ok (Password is the hash sent)
};
LoginResult ParseLoginReply(const QString& reply, const QString& passwordHash);

// Lets a reply that arrives after the dialog gave up on it be recognised and dropped.
class LoginTicket {
public:
    quint64 begin() { return ++m_current; }
    void cancel() { ++m_current; }
    bool isCurrent(quint64 ticket) const { return ticket == m_current; }

private:
    quint64 m_current = 0;
};

}  // namespace velmora::hall
