// The game list and the room list of the hall's game tree.
#include "server/web/webservice.h"

namespace velmora::server {
namespace {

// <root><kind><key>Base64 of GBK</key>...</kind>...</root>: the hall walks the root's children
// and Base64-decodes every value. Element names are fixed ASCII; values need no escaping.
void appendEntry(QByteArray& xml, const char* kind, const ListFields& fields) {
    xml += "<" + QByteArray(kind) + ">";
    for (const auto& [key, value] : fields)
        xml += "<" + key.toLatin1() + ">" + EncodeBase64Gbk(value) + "</" + key.toLatin1() + ">";
    xml += "</" + QByteArray(kind) + ">\n";
}

const QByteArray kXmlHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";

}  // namespace

// POST token (and "demo"). The categories, games and the total online are public; the
// recently played games (`usergame`) are those of the player the token is logged in as.
WebReply WebService::gameList(const WebRequest& request) {
    const OnlineTotals totals = m_games->onlineTotals();
    QByteArray xml = kXmlHead + "<gamelist>\n<onlinecount>" +
                     EncodeBase64Gbk(QString::number(m_sessions->onlineUsers())) +
                     "</onlinecount>\n";
    for (const ListFields& category : m_games->categoryList(totals))
        appendEntry(xml, "frm", category);
    for (const ListFields& game : m_games->gameList(totals, baseFor(request)))
        appendEntry(xml, "game", game);
    const QString token = QString::fromLatin1(request.field("token").value_or(QByteArray()));
    if (const auto session = m_sessions->find(token); session && session->userId > 0) {
        for (qint32 gameId : m_games->userGames(session->userId))
            appendEntry(xml, "usergame", {{QStringLiteral("gameid"), QString::number(gameId)}});
    }
    return WebReply::xml(xml + "</gamelist>\n");
}

// POST "rooms=" (empty: every room) and "demo". One child of the root per room.
WebReply WebService::roomList(const WebRequest&) {
    const OnlineTotals totals = m_games->onlineTotals();
    QByteArray xml = kXmlHead + "<roomlist>\n";
    for (const ListFields& room : m_games->roomList(totals))
        appendEntry(xml, "room", room);
    return WebReply::xml(xml + "</roomlist>\n");
}

}  // namespace velmora::server
