// The small HTML pages of the service: home page, face pane and member card, profile editing,
// login advertisement. UTF-8, no script the hall depends on.
#include "server/web/webservice.h"

#include <QDateTime>

namespace velmora::server {
namespace {

QString page(const QString& title, const QString& body) {
    return QStringLiteral(
               "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>%1</title>"
               "<style>body{font-family:sans-serif;font-size:13px;margin:8px;color:#223}"
               "h1{font-size:18px;color:#2a4d8f}.k{color:#667}</style></head>\n<body>\n%2\n</body></html>\n")
        .arg(title.toHtmlEscaped(), body);
}

QString esc(const QString& text) { return text.toHtmlEscaped(); }

}  // namespace

WebReply WebService::homePage(const WebRequest&) {
    const qint64 online = m_sessions->onlineUsers();
    return WebReply::html(page(
        QStringLiteral("Velmora"),
        QStringLiteral("<h1>欢迎来到 Velmora</h1>\n<p>在左侧选择游戏和房间，即可开始游戏。</p>\n"
                       "<p class=\"k\">当前在线：%1</p>")
            .arg(online)));
}

// temp=left: the player's own pane in the main window; temp=mouse: the member card of a room
// (with the "gamestatus" element the room client fills in).
WebReply WebService::facePage(const WebRequest& request) {
    if (!m_sessions->find(request.text("token")))
        return WebReply::error(403, "Error");
    const auto id = ParseDecimal(request.field("userid").value_or(QByteArray()), 1, 999'999'999'999LL);
    const std::optional<UserRecord> user = id ? m_users->findById(*id) : std::nullopt;
    if (!user)
        return WebReply::error(404, "no such user");
    QString body = QStringLiteral("<h1>%1</h1>\n<p class=\"k\">ID %2 · %3</p>\n"
                                  "<p>等级 %4 · 金币 %5%6</p>")
                       .arg(esc(user->nickname.isEmpty() ? user->username : user->nickname))
                       .arg(user->id)
                       .arg(esc(user->sex))
                       .arg(user->level)
                       .arg(user->money)
                       .arg(user->vipid > 0 ? QStringLiteral(" · VIP %1").arg(user->vipid) : QString());
    if (request.text("temp") == QLatin1String("mouse"))
        body += QStringLiteral("\n<p id=\"gamestatus\"></p>");
    return WebReply::html(page(user->username, body));
}

// GET shows the player's profile form; POST (token, nickname, sex, face) saves it.
WebReply WebService::editPage(const WebRequest& request) {
    const QString token = request.text("token");
    const auto session = m_sessions->find(token);
    if (!session || session->userId == 0)
        return WebReply::error(403, "Error");
    QString notice;
    if (request.method == "POST") {
        const QString nickname = request.text("nickname").trimmed();
        const QString sex = request.text("sex");
        const auto face = ParseDecimal(request.field("face").value_or(QByteArray()), 1, 30);
        if (nickname.isEmpty() || nickname.size() > 32 || !face ||
            (sex != QStringLiteral("男") && sex != QStringLiteral("女")))
            return WebReply::error(400, "nickname (1 to 32 characters), sex and face (1 to 30) are required");
        if (!m_users->updateProfile(session->userId, nickname, sex, int(*face)))
            return WebReply::error(500, "cannot store the profile");
        notice = QStringLiteral("<p>保存成功。</p>\n");
    }
    const std::optional<UserRecord> user = m_users->findById(session->userId);
    if (!user)
        return WebReply::error(404, "no such user");
    auto option = [&user](const QString& sex) {
        return QStringLiteral("<option%1>%2</option>")
            .arg(user->sex == sex ? QStringLiteral(" selected") : QString(), sex);
    };
    const QString form =
        QStringLiteral("<form method=\"post\" action=\"edit.php\">"
                       "<input type=\"hidden\" name=\"token\" value=\"%1\">"
                       "<p>昵称 <input name=\"nickname\" maxlength=\"32\" value=\"%2\"></p>"
                       "<p>性别 <select name=\"sex\">%3%4</select> "
                       "头像 <input name=\"face\" type=\"number\" min=\"1\" max=\"30\" value=\"%5\"></p>"
                       "<p><button type=\"submit\">保存</button></p></form>")
            .arg(esc(token), esc(user->nickname), option(QStringLiteral("男")),
                 option(QStringLiteral("女")))
            .arg(user->face);
    return WebReply::html(page(QStringLiteral("修改资料"), notice + form));
}

WebReply WebService::loginAdPage(const WebRequest&) {
    return WebReply::html(page(QStringLiteral("Velmora"),
                               QStringLiteral("<h1>Velmora 棋牌大厅</h1><p class=\"k\">斗地主 · 三人对战</p>")));
}

// The page of a game (its `helpurl`): GET id (and the token the hall appends).
WebReply WebService::helpPage(const WebRequest& request) {
    const auto id = ParseDecimal(request.field("id").value_or(QByteArray()), 1, 2147483647);
    const std::optional<GameRecord> game = id ? m_games->findGame(qint32(*id)) : std::nullopt;
    if (!game)
        return WebReply::error(404, "no such game");
    // The stored page body is the operator's own HTML; everything else is escaped.
    const QString body = game->page.isEmpty()
                             ? QStringLiteral("<h1>%1</h1>\n<p>%2</p>").arg(esc(game->title), esc(game->helptext))
                             : game->page;
    return WebReply::html(page(game->title, body));
}

}  // namespace velmora::server
