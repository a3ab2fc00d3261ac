// The name check, registration and password recovery of the hall's wizards. Replies are the
// short codes the wizards read:
//   checkuser: "300" free, "303" nick name taken, "301" user name taken or not usable;
//   register:  "300|<id>" created, "301" user name taken, "302" nick name taken,
//              "304" a value the service does not accept (the hall shows a server error);
//   forget:    "500|<new password>", "501" the data do not match, "502" too many failures.
// Text values arrive Base64 (GBK) and URL-encoded; a value that is not Base64, or a password
// that is not an MD5 hex digest, is a malformed request (400).
#include "platform/codepage/codepage.h"
#include "server/web/webservice.h"

namespace velmora::server {
namespace {

constexpr int kMaxUserNameBytes = 14;  // the hall's user name box holds 14 GBK bytes
constexpr int kMaxNicknameChars = 32;
constexpr int kMaxTrueNameChars = 14;
constexpr int kMaxFieldChars = 64;
const QString kNoQuestion = QStringLiteral("--请选择您的问题--");

bool isMd5Hex(const QByteArray& text) {
    if (text.size() != 32)
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

bool plainText(const QString& text, int maxChars) {
    if (text.size() > maxChars)
        return false;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            return false;
    }
    return true;
}

bool usableUserName(const QString& name) {
    return !name.isEmpty() && platform::toGbk(name).size() <= kMaxUserNameBytes &&
           plainText(name, kMaxUserNameBytes) && !name.contains(QLatin1Char('|'));
}

bool usableNickname(const QString& nick) {
    return !nick.isEmpty() && plainText(nick, kMaxNicknameChars) && !nick.contains(QLatin1Char('|'));
}

// The decoded text fields of a request; `error` names the first that is not valid Base64.
struct Decoded {
    QHash<QString, QString> values;
    QByteArray error;
    QString value(const char* name) const { return values.value(QString::fromLatin1(name)); }
};

Decoded decodeFields(const WebRequest& request, std::initializer_list<const char*> required,
                     std::initializer_list<const char*> optional) {
    Decoded d;
    auto take = [&](const char* name, bool mustExist) {
        const auto raw = request.field(QString::fromLatin1(name));
        if (!raw) {
            if (mustExist && d.error.isEmpty())
                d.error = QByteArray(name) + " is required";
            return;
        }
        const std::optional<QString> text = DecodeBase64Gbk(*raw);
        if (!text) {
            if (d.error.isEmpty())
                d.error = QByteArray(name) + " is not valid Base64";
            return;
        }
        d.values.insert(QString::fromLatin1(name), *text);
    };
    for (const char* name : required)
        take(name, true);
    for (const char* name : optional)
        take(name, false);
    return d;
}

}  // namespace

WebReply WebService::checkUser(const WebRequest& request) {
    const Decoded d = decodeFields(request, {"username", "nickname"}, {});
    if (!d.error.isEmpty())
        return WebReply::error(400, d.error);
    const QString name = d.value("username").trimmed();
    const QString nick = d.value("nickname").trimmed();
    if (!usableUserName(name) || m_users->findByName(name))
        return WebReply::text("301");
    if (!usableNickname(nick) || m_users->findByNickname(nick))
        return WebReply::text("303");
    return WebReply::text("300");
}

WebReply WebService::registerUser(const WebRequest& request) {
    const Decoded d = decodeFields(request, {"username", "nickname"},
                                   {"truename", "sex", "cardid", "question", "answer", "phone"});
    if (!d.error.isEmpty())
        return WebReply::error(400, d.error);
    const QByteArray password = request.field("password").value_or(QByteArray());
    if (!isMd5Hex(password))
        return WebReply::error(400, "password must be 32 lowercase hex digits");
    const auto face = ParseDecimal(request.field("face").value_or(QByteArray("1")), 1, 30);
    if (!face)
        return WebReply::error(400, "face must be 1 to 30");

    UserRecord record;
    record.username = d.value("username").trimmed();
    record.nickname = d.value("nickname").trimmed();
    record.truename = d.value("truename").trimmed();
    record.sex = d.value("sex").trimmed();
    record.face = int(*face);
    record.money = m_config.newPlayerGold;
    QString question = d.value("question").trimmed();
    if (question == kNoQuestion)
        question.clear();
    const QString cardId = d.value("cardid");
    const QString answer = d.value("answer");
    const QString phone = d.value("phone").trimmed();
    const bool sexOk = record.sex.isEmpty() || record.sex == QStringLiteral("男") ||
                       record.sex == QStringLiteral("女") || record.sex == QStringLiteral("保密");
    if (!usableUserName(record.username))
        return WebReply::text("301");
    if (!usableNickname(record.nickname))
        return WebReply::text("302");
    if (!sexOk || !plainText(record.truename, kMaxTrueNameChars) ||
        !plainText(cardId, kMaxFieldChars) || !plainText(question, kMaxFieldChars) ||
        !plainText(answer, kMaxFieldChars) || !plainText(phone, kMaxFieldChars))
        return WebReply::text("304");
    if (m_users->findByName(record.username))
        return WebReply::text("301");
    if (m_users->findByNickname(record.nickname))
        return WebReply::text("302");

    const std::optional<qint64> id = m_users->create(record, password, m_config.pbkdf2Iterations);
    if (!id)  // the name was taken meanwhile (the unique index refused it)
        return WebReply::text(m_users->findByName(record.username) ? "301" : "304");
    if (!m_recovery->setRecovery(*id, phone, question, cardId, answer, m_config.pbkdf2Iterations))
        qWarning("velmora web: account %lld has no recovery data", *id);
    return WebReply::text("300|" + QByteArray::number(*id));
}

// logintype 0: username is the login name; 1: it is the user id.
WebReply WebService::forgetPassword(const WebRequest& request) {
    const Decoded d = decodeFields(request, {"username", "cardid", "question", "answer"}, {});
    if (!d.error.isEmpty())
        return WebReply::error(400, d.error);
    const auto type = ParseDecimal(request.field("logintype").value_or(QByteArray()), 0, 1);
    if (!type)
        return WebReply::error(400, "logintype must be 0 or 1");
    const QString account = d.value("username").trimmed();
    std::optional<UserRecord> user;
    if (*type == 1) {
        if (const auto id = ParseDecimal(account.toLatin1(), 1, 999'999'999'999LL))
            user = m_users->findById(*id);
    } else if (usableUserName(account)) {
        user = m_users->findByName(account);
    }
    const RecoveryStore::Outcome outcome =
        m_recovery->recover(user ? std::optional<qint64>(user->id) : std::nullopt,
                            d.value("question"), d.value("cardid"), d.value("answer"), request.remote);
    switch (outcome.result) {
    case RecoveryStore::Result::Issued:
        return WebReply::text("500|" + outcome.newPassword.toLatin1());
    case RecoveryStore::Result::Throttled:
        return WebReply::text("502");
    case RecoveryStore::Result::Wrong:
        break;
    }
    return WebReply::text("501");
}

}  // namespace velmora::server
