#include "hall/shell/core/loginmodel.h"

#include "hall/foundation/localsettings.h"
#include "hall/foundation/publicfunc.h"
#include "platform/codepage/codepage.h"

#include <QHash>
#include <QSet>
#include <QXmlStreamReader>
#include <algorithm>

namespace velmora::hall {
namespace {

// "user12" -> 12; -1 when the rest is not a decimal number.
int entryNumber(const QString& name) {
    bool ok = false;
    const int n = name.mid(4).toInt(&ok);
    return ok && n >= 0 ? n : -1;
}

QString withPrefix(const QString& userName, const QString& prefix) {
    return prefix + userName.mid(4);
}

}  // namespace

QList<RememberedAccount> RememberedAccounts::load() const {
    QList<RememberedAccount> accounts;
    const std::vector<platform::RegistryStore::Value> values = m_store.values(kRegistryUserKey);
    QHash<QString, QString> byName;
    struct Entry {
        int number;
        QString name;
        QString user;
    };
    std::vector<Entry> users;
    for (const auto& [name, text] : values) {
        byName.insert(name.toLower(), text);
        if (name.left(4).compare(QLatin1String("user"), Qt::CaseInsensitive) == 0)
            users.push_back({entryNumber(name), name, text});
    }
    // Entry 0 is the last login and must come first whatever order the values were stored in.
    std::stable_sort(users.begin(), users.end(), [](const Entry& a, const Entry& b) {
        return (a.number < 0 ? INT_MAX : a.number) < (b.number < 0 ? INT_MAX : b.number);
    });
    QSet<QString> seen;
    for (const Entry& e : users) {
        if (accounts.size() >= kMaxRememberedAccounts)
            break;
        if (e.user.isEmpty() || seen.contains(e.user))
            continue;
        seen.insert(e.user);
        accounts.append({e.user, byName.value(withPrefix(e.name, QStringLiteral("pass")).toLower()),
                         byName.value(withPrefix(e.name, QStringLiteral("type")).toLower())});
    }
    return accounts;
}

bool RememberedAccounts::save(const RememberedAccount& current,
                              const QList<RememberedAccount>& listed) {
    std::vector<platform::RegistryStore::Value> values;
    auto add = [&values](int n, const RememberedAccount& a) {
        values.emplace_back(QStringLiteral("user") + QString::number(n), a.user);
        values.emplace_back(QStringLiteral("pass") + QString::number(n), a.pass);
        values.emplace_back(QStringLiteral("type") + QString::number(n), a.type);
    };
    add(0, current);
    for (int i = 0; i < listed.size(); ++i) {
        if (listed[i].user != current.user)
            add(i + 1, listed[i]);
    }
    // Deleting the key first and then writing would lose every account when the write
    // fails; one replacement of the values either happens whole or not at all.
    if (!m_store.writeStrings(kRegistryUserKey, values))
        return false;
    QSet<QString> keep;
    for (const auto& value : values)
        keep.insert(value.first.toLower());
    for (const QString& name : m_store.valueNames(kRegistryUserKey)) {
        if (!keep.contains(name.toLower()))
            m_store.deleteValue(kRegistryUserKey, name);  // a leftover only repeats an account
    }
    return true;
}

LoginModel::Selection LoginModel::select(int index) {
    Selection s;
    if (index < 0 || index >= m_accounts.size())
        return s;
    const RememberedAccount& a = m_accounts[index];
    m_loginPass = a.pass;
    s.byUserId = a.type != kLoginTypeUserName;
    if (!a.pass.isEmpty()) {
        s.savePassword = true;
        m_autoLogin = true;
        s.passwordText = kPasswordPlaceholder;
    } else {
        m_autoLogin = false;
    }
    return s;
}

void LoginModel::passwordChanged(const QString& text) {
    if (!m_autoLogin)
        m_loginPass = Md5Hex(text);
    m_autoLogin = false;
}

QString LoginForm(const QString& account, const QString& passwordHash, const QString& token,
                  bool byUserId) {
    const QString base64 = QString::fromLatin1(platform::toGbk(account).toBase64());
    return QStringLiteral("username=") + UrlEncodeText(base64) + QStringLiteral("&password=") +
           passwordHash + QStringLiteral("&token=") + token + QStringLiteral("&logintype=") +
           (byUserId ? kLoginTypeUserId : kLoginTypeUserName);
}

namespace {

qint64 toInt64(const QString& text, qint64 fallback) {
    bool ok = false;
    const qint64 v = text.trimmed().toLongLong(&ok);
    return ok ? v : fallback;
}

qint32 toInt32(const QString& text, qint32 fallback) {
    bool ok = false;
    const qint32 v = text.trimmed().toInt(&ok);
    return ok ? v : fallback;
}

}  // namespace

LoginResult ParseLoginReply(const QString& reply, const QString& passwordHash) {
    static const QString kFailed = QStringLiteral("登录失败，请检查你的用户名密码是否正确!");
    LoginResult result;
    if (reply.trimmed().isEmpty()) {
        result.message = kFailed;
        return result;
    }
    QXmlStreamReader reader(reply);
    if (!reader.readNextStartElement()) {
        result.message = kFailed;
        return result;
    }
    QHash<QString, QString> elements;
    while (reader.readNextStartElement()) {
        const QString name = reader.name().toString();
        const QString text = reader.readElementText(QXmlStreamReader::IncludeChildElements);
        if (!elements.contains(name))
            elements.insert(name, text);
    }
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError()) {
        result.message = kFailed;
        return result;
    }
    const QString errid = elements.value(QStringLiteral("errid")).trimmed();
    if (errid == QLatin1String("405")) {
        result.message = QStringLiteral("登录失败，您的账号正在使用中，请稍后再试。");
        return result;
    }
    if (errid == QLatin1String("406")) {
        result.message = QStringLiteral("登录失败，您的账号被管理员锁定，请与管理员联系后再试。");
        return result;
    }
    if (errid != QLatin1String("200")) {
        result.message = QStringLiteral("登录失败，请检查你的用户名密码是否正确。");
        return result;
    }
    auto value = [&elements](const char* name) {
        return Base64DecodeText(elements.value(QLatin1String(name)));
    };
    result.ok = true;
    STRU_USERINFO& u = result.user;
    u.UserName = value("username");
    u.UserID = toInt64(value("id"), 0);
    const qint64 face = toInt64(value("face"), 1);
    u.FaceNum = face >= 0 && face <= 0xFFFF ? quint16(face) : 1;
    u.Gold = toInt64(value("money"), 0);
    u.Level = toInt32(value("level"), 0);
    u.VIPLevel = toInt32(value("vipid"), 0);
    u.Password = passwordHash;
    if (elements.contains(QStringLiteral("show")))
        u.Usershow = value("show");
    return result;
}

}  // namespace velmora::hall
