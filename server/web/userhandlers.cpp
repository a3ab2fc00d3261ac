// The session, login and profile requests of the hall.
#include "hall/foundation/publicfunc.h"
#include "server/web/webservice.h"

#include <QDateTime>
#include <algorithm>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::server {
namespace {

constexpr qint64 kMaxUserId = 999'999'999'999LL;

bool isMd5Hex(const QByteArray& text) {
    if (text.size() != 32)
        return false;
    for (char c : text) {
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    }
    return true;
}

QByteArray loginReply(const QByteArray& errid, const UserRecord* user = nullptr) {
    QByteArray xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<login>\n<errid>" + errid + "</errid>\n";
    if (user) {
        auto add = [&xml](const char* key, const QString& value) {
            xml += "<" + QByteArray(key) + ">" + EncodeBase64Gbk(value) + "</" + QByteArray(key) + ">\n";
        };
        add("id", QString::number(user->id));
        add("username", user->username);
        add("face", QString::number(user->face));
        add("money", QString::number(user->money));
        add("level", QString::number(user->level));
        add("vipid", QString::number(user->vipid));
        if (!user->usershow.isEmpty())
            add("show", user->usershow);
    }
    return xml + "</login>\n";
}

}  // namespace

// errid: 200 success; 401 unknown account or wrong password (not told apart, and also the
// answer while failed logins are throttled); 403 the token is not a live session; 406 the
// account is locked. A new login of a user ends that user's
// other sessions, so 405 ("in use") is never answered.
WebReply WebService::login(const WebRequest& request) {
    const auto name = request.field("username");
    const auto password = request.field("password");
    const auto token = request.field("token");
    const auto type = request.field("logintype");
    if (!name || !password || !token || !type)
        return WebReply::error(400, "username, password, token and logintype are required");
    if (!isMd5Hex(*password))
        return WebReply::error(400, "password must be 32 lowercase hex digits");
    if (*type != "userid" && *type != "username")
        return WebReply::error(400, "logintype must be userid or username");
    const std::optional<QString> account = DecodeBase64Gbk(*name);
    if (!account || account->size() > 64)
        return WebReply::error(400, "username is not valid Base64");

    if (!m_sessions->find(QString::fromLatin1(*token)))
        return WebReply::xml(loginReply("403"));
    std::optional<UserRecord> user;
    if (*type == "userid") {
        if (const auto id = ParseDecimal(account->toLatin1(), 1, kMaxUserId))
            user = m_users->findById(*id);
    } else {
        user = m_users->findByName(account->trimmed());
    }
    const std::optional<qint64> userId = user ? std::optional<qint64>(user->id) : std::nullopt;
    if (m_loginThrottle->throttled(userId, request.remote))
        return WebReply::xml(loginReply("401"));
    // The digest is derived even for an unknown account so that timing does not tell.
    const bool passwordOk = m_users->checkPassword(user ? user->id : 0, *password);
    if (!user || !passwordOk) {
        m_loginThrottle->recordFailure(userId, request.remote);
        return WebReply::xml(loginReply("401"));
    }
    m_loginThrottle->recordSuccess(user->id);
    if (user->locked)
        return WebReply::xml(loginReply("406"));
    if (!m_sessions->bindUser(QString::fromLatin1(*token), user->id))
        return WebReply::xml(loginReply("403"));
    return WebReply::xml(loginReply("200", &*user));
}

// "Error" for a token that is no live session; otherwise "name=value" entries, one a line:
// "all" (players logged in), then "frm<id>", "game<id>" and "room<id>" for every category,
// game and room of the lists.
WebReply WebService::onlineCount(const WebRequest& request) {
    const QString token = QString::fromLatin1(request.field("token").value_or(QByteArray()));
    if (!m_sessions->find(token))
        return WebReply::text("Error");
    QByteArray body = "all=" + QByteArray::number(m_sessions->onlineUsers()) + "\r\n";
    const OnlineTotals totals = m_games->onlineTotals();
    auto add = [&body](const char* prefix, const QHash<qint32, qint64>& counts) {
        QList<qint32> ids = counts.keys();
        std::sort(ids.begin(), ids.end());
        for (qint32 id : ids)
            body += prefix + QByteArray::number(id) + "=" + QByteArray::number(counts.value(id)) + "\r\n";
    };
    add("frm", totals.categories);
    add("game", totals.games);
    add("room", totals.rooms);
    return WebReply::text(body);
}

WebReply WebService::exitNotice(const WebRequest& request) {
    const QString token = QString::fromLatin1(request.field("token").value_or(QByteArray()));
    return WebReply::text(m_sessions->end(token) ? "OK" : "Error");
}

// One line "id|username|face|sex|nickname|level|money|usershow", each field URL-encoded; an
// empty body for an unknown user id.
// Profiles, one line per known member, 17 "|"-separated percent-encoded fields:
// id|name|face|sex|gold|address|vip|picture|sameip|flee|fleenum|points|wins|losses|draws|
// flights|friend. The main window asks for one id ("userid=10001&token=") and reads fields
// 0 to 3 and 7; the room asks for its members ("userid=10001,10002&token=&gameid=7") and reads
// them all. The member's network address is the room server's business and stays empty here;
// the per-game counters are zero until scores are kept by the web service.
namespace {
// The room asks for at most its 300 members at once.
constexpr qsizetype kMaxProfileIds = 300;
}  // namespace

WebReply WebService::userInfo(const WebRequest& request) {
    const auto idText = request.field("userid");
    const auto token = request.field("token");
    if (!idText || !token)
        return WebReply::error(400, "userid and token are required");
    const QList<QByteArray> idParts = idText->split(',');
    if (idParts.size() > kMaxProfileIds)
        return WebReply::error(400, "too many user ids");
    std::vector<qint64> ids;
    for (const QByteArray& part : idParts) {
        const auto id = ParseDecimal(part.trimmed(), 0, kMaxUserId);
        if (!id)
            return WebReply::error(400, "userid must be decimal numbers separated by commas");
        ids.push_back(*id);
    }
    if (!m_sessions->find(QString::fromLatin1(*token)))
        return WebReply::error(403, "Error");
    QByteArray reply;
    for (const qint64 id : ids) {
        const std::optional<UserRecord> user = m_users->findById(id);
        if (!user)
            continue;
        qint64 sameIp = 0;
        qint64 flee = 0;
        qint64 fleeNumber = 10;
        QSqlQuery q(m_database->db());
        q.prepare(QStringLiteral("SELECT sameip, flee, fleenum FROM settings WHERE user_id = ?"));
        q.addBindValue(QVariant::fromValue(id));
        if (q.exec() && q.next()) {
            sameIp = q.value(0).toLongLong();
            flee = q.value(1).toLongLong();
            fleeNumber = q.value(2).toLongLong();
        }
        const QStringList fields = {
            QString::number(user->id), user->username, QString::number(user->face), user->sex,
            QString::number(user->money), QString(), QString::number(user->vipid), user->usershow,
            QString::number(sameIp), QString::number(flee), QString::number(fleeNumber),
            QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"), QStringLiteral("0"),
            QStringLiteral("0"), QStringLiteral("0")};
        QStringList encoded;
        for (const QString& field : fields)
            encoded.append(hall::UrlEncodeText(field));
        reply += encoded.join(QLatin1Char('|')).toLatin1() + "\r\n";
    }
    return WebReply::text(reply);
}

WebReply WebService::saveSetting(const WebRequest& request) {
    const auto token = request.field("token");
    const auto sameIp = request.field("setsameip");
    const auto flee = request.field("setflee");
    const auto fleeNumber = request.field("setfleenum");
    if (!token || !sameIp || !flee || !fleeNumber)
        return WebReply::error(400, "token, setsameip, setflee and setfleenum are required");
    const auto sameIpValue = ParseDecimal(*sameIp, 0, 1);
    const auto fleeValue = ParseDecimal(*flee, 0, 1);
    const auto fleeNumberValue = ParseDecimal(*fleeNumber, 0, 99);
    if (!sameIpValue || !fleeValue || !fleeNumberValue)
        return WebReply::error(400, "setsameip and setflee must be 0 or 1, setfleenum 0 to 99");
    const auto session = m_sessions->find(QString::fromLatin1(*token));
    if (!session || session->userId == 0)
        return WebReply::error(403, "Error");
    QSqlQuery q(m_database->db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO settings (user_id, sameip, flee, fleenum, updated)"
                             " VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(QVariant::fromValue(session->userId));
    q.addBindValue(QVariant::fromValue(*sameIpValue));
    q.addBindValue(QVariant::fromValue(*fleeValue));
    q.addBindValue(QVariant::fromValue(*fleeNumberValue));
    q.addBindValue(QVariant::fromValue(QDateTime::currentSecsSinceEpoch()));
    if (!q.exec())
        return WebReply::error(500, "cannot store the settings");
    return WebReply::text("OK");
}

WebReply WebService::logDrop(const WebRequest& request) {
    const auto drop = ParseDecimal(request.field("drop").value_or(QByteArray()), 0, 1);
    const auto userId = ParseDecimal(request.field("userid").value_or(QByteArray()), 0, kMaxUserId);
    const QByteArray reason = request.field("modefunc").value_or(QByteArray());
    if (!drop || !userId)
        return WebReply::error(400, "drop (0 or 1) and userid are required");
    if (reason.size() > 512)
        return WebReply::error(400, "modefunc too long");
    QSqlQuery q(m_database->db());
    q.prepare(QStringLiteral("INSERT INTO drops (user_id, drop_state, reason, remote, at)"
                             " VALUES (?, ?, ?, ?, ?)"));
    q.addBindValue(QVariant::fromValue(*userId));
    q.addBindValue(QVariant::fromValue(*drop));
    q.addBindValue(reason.isEmpty() ? QStringLiteral("") : QString::fromUtf8(reason));
    q.addBindValue(request.remote.isNull() ? QStringLiteral("") : request.remote.toString());
    q.addBindValue(QVariant::fromValue(QDateTime::currentSecsSinceEpoch()));
    if (!q.exec())
        return WebReply::error(500, "cannot store the report");
    return WebReply::text("OK");
}

}  // namespace velmora::server
