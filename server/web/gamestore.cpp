#include "server/web/gamestore.h"

#include <QDateTime>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace velmora::server {
namespace {

constexpr const char* kCategoryColumns = "id, pid, sort, title, icon, showonline, expanded, helptext";
constexpr const char* kGameColumns =
    "id, fid, sort, title, icon, gametype, helpurl, width, height, helptext, dllfile, GUID,"
    " downloadxml, version, page";
// The room list elements in list order; the optional ones follow.
const QStringList kRoomElements = {
    "id", "title", "gid", "icon", "servertype", "serverip", "serverport", "tablenum", "roomtype",
    "mingold", "maxgold", "goldmultiple", "minpoint", "maxpoint", "pointmultiple", "showdesk",
    "showuserinfo", "enabledchat", "enabledlook", "roomgold", "maxplayernum", "playnum",
    "seatnum", "templates", "videoport"};
const QStringList kRoomOptional = {"videoserver", "helptext", "rules", "welcome"};

QString notNull(const QString& text) { return text.isNull() ? QStringLiteral("") : text; }
QString num(qint64 value) { return QString::number(value); }

bool exec(QSqlQuery& q, const char* what) {
    if (q.exec())
        return true;
    qWarning("velmora web: cannot %s: %s", what, qPrintable(q.lastError().text()));
    return false;
}

bool refuse(const char* what, qint32 id, const char* reason) {
    qWarning("velmora web: %s %d refused: %s", what, id, reason);
    return false;
}

bool validText(const QString& text, int maxChars) {
    if (text.size() > maxChars)
        return false;
    for (QChar c : text) {
        if (c.unicode() < 0x20)
            return false;
    }
    return true;
}

}  // namespace

qint64 GameStore::now() const {
    return m_clock ? m_clock() : QDateTime::currentSecsSinceEpoch();
}

bool GameStore::isPlainLibraryName(const QString& name) {
    if (name.isEmpty() || name == QLatin1String(".") || name.contains(QLatin1String("..")))
        return false;
    for (QChar c : name) {
        if (c == QLatin1Char('/') || c == QLatin1Char('\\') || c == QLatin1Char(':') ||
            c.unicode() < 0x20)
            return false;
    }
    return true;
}

bool GameStore::categoryExists(qint32 id) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT 1 FROM categories WHERE id = ?"));
    q.addBindValue(id);
    return q.exec() && q.next();
}

bool GameStore::gameExists(qint32 id) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT 1 FROM games WHERE id = ?"));
    q.addBindValue(id);
    return q.exec() && q.next();
}

bool GameStore::putCategory(const CategoryRecord& r) {
    if (r.id <= 0)
        return refuse("category", r.id, "id must be positive");
    if (!validText(r.title, 64) || r.title.isEmpty() || !validText(r.helptext, 256))
        return refuse("category", r.id, "title (1 to 64) or help text (256) not valid");
    if (r.pid != 0) {
        // The parent must exist, and the chain of parents must not lead back to this id.
        QSqlQuery q(m_database.db());
        q.prepare(QStringLiteral("SELECT pid FROM categories WHERE id = ?"));
        qint32 at = r.pid;
        for (int depth = 0; at != 0; ++depth) {
            if (at == r.id || depth > 64)
                return refuse("category", r.id, "its parents form a loop");
            q.bindValue(0, at);
            if (!q.exec() || !q.next())
                return refuse("category", r.id, "unknown parent category");
            at = q.value(0).toInt();
        }
    }
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO categories (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?)")
                  .arg(QLatin1String(kCategoryColumns)));
    for (const QVariant& v : {QVariant(r.id), QVariant(r.pid), QVariant(r.sort),
                              QVariant(notNull(r.title)), QVariant(r.icon),
                              QVariant(r.showonline ? 1 : 0), QVariant(r.expanded ? 1 : 0),
                              QVariant(notNull(r.helptext))})
        q.addBindValue(v);
    return exec(q, "store a category");
}

bool GameStore::putGame(const GameRecord& r) {
    if (r.id <= 0)
        return refuse("game", r.id, "id must be positive");
    if (!categoryExists(r.fid))
        return refuse("game", r.id, "unknown category");
    if (r.gametype != QLatin1String("game") && r.gametype != QLatin1String("iedialog") &&
        r.gametype != QLatin1String("ieclient"))
        return refuse("game", r.id, "gametype must be game, iedialog or ieclient");
    if (!r.dllfile.isEmpty() && !isPlainLibraryName(r.dllfile))
        return refuse("game", r.id, "the library name is not a plain file name");
    if (r.gametype == QLatin1String("game") && r.dllfile.isEmpty())
        return refuse("game", r.id, "a game needs its library name");
    if (r.title.isEmpty() || !validText(r.title, 64) || !validText(r.helptext, 256) ||
        !validText(r.helpurl, 512) || !validText(r.guid, 64) || !validText(r.version, 32) ||
        !validText(r.downloadxml, 512))
        return refuse("game", r.id, "a text field is empty, too long or holds control characters");
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO games (%1) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?,"
                             " ?, ?, ?, ?, ?, ?)")
                  .arg(QLatin1String(kGameColumns)));
    for (const QVariant& v :
         {QVariant(r.id), QVariant(r.fid), QVariant(r.sort), QVariant(notNull(r.title)),
          QVariant(r.icon), QVariant(notNull(r.gametype)), QVariant(notNull(r.helpurl)),
          QVariant(r.width), QVariant(r.height), QVariant(notNull(r.helptext)),
          QVariant(notNull(r.dllfile)), QVariant(notNull(r.guid)), QVariant(notNull(r.downloadxml)),
          QVariant(notNull(r.version)), QVariant(notNull(r.page))})
        q.addBindValue(v);
    return exec(q, "store a game");
}

bool GameStore::putRoom(const RoomRecord& r) {
    if (r.id <= 0)
        return refuse("room", r.id, "id must be positive");
    if (!gameExists(r.gid))
        return refuse("room", r.id, "unknown game");
    if (r.serverport < 1 || r.serverport > 65535 || r.serverip.isEmpty())
        return refuse("room", r.id, "server address or port not valid");
    if (r.videoport < 0 || r.videoport > 65535 || r.tablenum < 0 || r.seatnum < 0)
        return refuse("room", r.id, "video port, table or seat count out of range");
    if (!isPlainLibraryName(r.templates) && !r.templates.isEmpty())
        return refuse("room", r.id, "the template is not a plain file name");
    if (r.title.isEmpty() || !validText(r.title, 64) || !validText(r.helptext, 256) ||
        !validText(r.rules, 512) || !validText(r.welcome, 512) || !validText(r.serverip, 255) ||
        !validText(r.videoserver, 255) || !validText(r.servertype, 32))
        return refuse("room", r.id, "a text field is empty, too long or holds control characters");
    const QVariantList values = {
        r.id, r.title, r.gid, r.icon, r.servertype, r.serverip, r.serverport, r.tablenum,
        r.roomtype, r.mingold, r.maxgold, r.goldmultiple, r.minpoint, r.maxpoint,
        r.pointmultiple, r.showdesk ? 1 : 0, r.showuserinfo ? 1 : 0, r.enabledchat ? 1 : 0,
        r.enabledlook ? 1 : 0, r.roomgold, r.maxplayernum, r.playnum, r.seatnum, r.templates,
        r.videoport, r.videoserver, r.helptext, r.rules, r.welcome};
    QStringList columns = kRoomElements + kRoomOptional;
    columns << QStringLiteral("sort");
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO rooms (%1) VALUES (%2)")
                  .arg(columns.join(QLatin1String(", ")),
                       QStringList(columns.size(), QStringLiteral("?")).join(QLatin1String(", "))));
    for (const QVariant& v : values)
        q.addBindValue(v.typeId() == QMetaType::QString ? QVariant(notNull(v.toString())) : v);
    q.addBindValue(r.sort);
    return exec(q, "store a room");
}

std::vector<ListFields> GameStore::categoryList(const OnlineTotals& totals) const {
    struct Row {
        qint32 id, pid;
        ListFields fields;
    };
    std::vector<Row> rows;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT %1 FROM categories ORDER BY sort, id")
                  .arg(QLatin1String(kCategoryColumns)));
    if (!exec(q, "read the categories"))
        return {};
    while (q.next()) {
        const qint32 id = q.value(0).toInt();
        rows.push_back({id, q.value(1).toInt(),
                        {{"id", num(id)},
                         {"title", q.value(3).toString()},
                         {"pid", num(q.value(1).toInt())},
                         {"icon", num(q.value(4).toInt())},
                         {"onlinecount", num(totals.categories.value(id))},
                         {"showonline", num(q.value(5).toInt())},
                         {"expanded", num(q.value(6).toInt())}}});
        if (!q.value(7).toString().isEmpty())
            rows.back().fields.append({"helptext", q.value(7).toString()});
    }
    // Parents first: the hall gives a category whose parent it has not seen yet no node.
    std::vector<ListFields> out;
    QSet<qint32> listed;
    for (bool progress = true; progress;) {
        progress = false;
        for (const Row& row : rows) {
            if (listed.contains(row.id) || (row.pid != 0 && !listed.contains(row.pid)))
                continue;
            listed.insert(row.id);
            out.push_back(row.fields);
            progress = true;
        }
    }
    return out;
}

std::vector<ListFields> GameStore::gameList(const OnlineTotals& totals, const QString& base) const {
    std::vector<ListFields> out;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT g.id, g.fid, g.title, g.icon, g.gametype, g.helpurl, g.width,"
                             " g.height, g.helptext, g.dllfile, g.GUID, g.downloadxml, g.version"
                             " FROM games g JOIN categories c ON c.id = g.fid"
                             " ORDER BY g.sort, g.id"));
    if (!exec(q, "read the games"))
        return out;
    // Games of a category that the category list leaves out (a broken parent chain) go too.
    QSet<qint32> listedCategories;
    for (const ListFields& c : categoryList(totals))
        listedCategories.insert(c.first().second.toInt());
    while (q.next()) {
        const qint32 id = q.value(0).toInt();
        if (!listedCategories.contains(q.value(1).toInt()))
            continue;
        QString helpurl = q.value(5).toString();
        if (helpurl.startsWith(QLatin1Char('/')))
            helpurl = base + helpurl;
        ListFields f = {{"id", num(id)},
                        {"title", q.value(2).toString()},
                        {"fid", num(q.value(1).toInt())},
                        {"icon", num(q.value(3).toInt())},
                        {"gametype", q.value(4).toString()},
                        {"helpurl", helpurl},
                        {"onlinecount", num(totals.games.value(id))},
                        {"width", num(q.value(6).toInt())},
                        {"height", num(q.value(7).toInt())}};
        const char* optional[] = {"helptext", "dllfile", "GUID", "downloadxml", "version"};
        for (int i = 0; i < 5; ++i) {
            const QString value = q.value(8 + i).toString();
            if (!value.isEmpty())
                f.append({QString::fromLatin1(optional[i]), value});
        }
        out.push_back(std::move(f));
    }
    return out;
}

std::vector<ListFields> GameStore::roomList(const OnlineTotals& totals) const {
    std::vector<ListFields> out;
    const QStringList columns = kRoomElements + kRoomOptional;
    QStringList selected;
    for (const QString& c : columns)
        selected << QStringLiteral("r.") + c;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT %1 FROM rooms r JOIN games g ON g.id = r.gid"
                             " ORDER BY r.sort, r.id")
                  .arg(selected.join(QLatin1String(", "))));
    if (!exec(q, "read the rooms"))
        return out;
    const QSet<qint32> listedGames = [&] {
        QSet<qint32> ids;
        for (const ListFields& g : gameList(totals, QString()))
            ids.insert(g.first().second.toInt());
        return ids;
    }();
    while (q.next()) {
        const qint32 id = q.value(0).toInt();
        if (!listedGames.contains(q.value(2).toInt()))
            continue;
        ListFields f;
        for (int i = 0; i < kRoomElements.size(); ++i)
            f.append({kRoomElements[i], q.value(i).toString()});
        f.append({"onlinecount", num(totals.rooms.value(id))});
        for (int i = 0; i < kRoomOptional.size(); ++i) {
            const QString value = q.value(int(kRoomElements.size()) + i).toString();
            if (!value.isEmpty())
                f.append({kRoomOptional[i], value});
        }
        out.push_back(std::move(f));
    }
    return out;
}

std::optional<GameRecord> GameStore::findGame(qint32 id) const {
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT %1 FROM games WHERE id = ?").arg(QLatin1String(kGameColumns)));
    q.addBindValue(id);
    if (!q.exec() || !q.next())
        return std::nullopt;
    GameRecord r;
    r.id = q.value(0).toInt();
    r.fid = q.value(1).toInt();
    r.sort = q.value(2).toInt();
    r.title = q.value(3).toString();
    r.icon = q.value(4).toInt();
    r.gametype = q.value(5).toString();
    r.helpurl = q.value(6).toString();
    r.width = q.value(7).toInt();
    r.height = q.value(8).toInt();
    r.helptext = q.value(9).toString();
    r.dllfile = q.value(10).toString();
    r.guid = q.value(11).toString();
    r.downloadxml = q.value(12).toString();
    r.version = q.value(13).toString();
    r.page = q.value(14).toString();
    return r;
}

bool GameStore::setRoomOnline(qint32 roomId, qint64 count) {
    if (count < 0)
        return false;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO room_online (room_id, count, updated) VALUES (?, ?, ?)"));
    q.addBindValue(roomId);
    q.addBindValue(QVariant::fromValue(count));
    q.addBindValue(QVariant::fromValue(now()));
    return exec(q, "store a room's online count");
}

OnlineTotals GameStore::onlineTotals() const {
    OnlineTotals t;
    QHash<qint32, qint32> gameOfRoom, categoryOfGame, parentOfCategory;
    QSqlQuery q(m_database.db());
    if (q.exec(QStringLiteral("SELECT id, gid FROM rooms")))
        while (q.next())
            gameOfRoom.insert(q.value(0).toInt(), q.value(1).toInt());
    if (q.exec(QStringLiteral("SELECT id, fid FROM games")))
        while (q.next()) {
            categoryOfGame.insert(q.value(0).toInt(), q.value(1).toInt());
            t.games.insert(q.value(0).toInt(), 0);
        }
    if (q.exec(QStringLiteral("SELECT id, pid FROM categories")))
        while (q.next()) {
            parentOfCategory.insert(q.value(0).toInt(), q.value(1).toInt());
            t.categories.insert(q.value(0).toInt(), 0);
        }
    for (auto it = gameOfRoom.cbegin(); it != gameOfRoom.cend(); ++it)
        t.rooms.insert(it.key(), 0);
    if (!q.exec(QStringLiteral("SELECT room_id, count FROM room_online")))
        return t;
    while (q.next()) {
        const qint32 room = q.value(0).toInt();
        const qint64 count = q.value(1).toLongLong();
        if (!gameOfRoom.contains(room))
            continue;
        t.rooms[room] = count;
        const qint32 game = gameOfRoom.value(room);
        if (!categoryOfGame.contains(game))
            continue;
        t.games[game] += count;
        // Every category up the chain counts the room's players (depth-limited against a
        // database edited by hand into a loop).
        qint32 category = categoryOfGame.value(game);
        for (int depth = 0; category != 0 && depth < 64 && t.categories.contains(category); ++depth) {
            t.categories[category] += count;
            category = parentOfCategory.value(category);
        }
    }
    return t;
}

bool GameStore::recordPlayed(qint64 userId, qint32 gameId) {
    if (userId <= 0 || !gameExists(gameId))
        return false;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("INSERT OR REPLACE INTO user_games (user_id, game_id, played) VALUES (?, ?, ?)"));
    q.addBindValue(QVariant::fromValue(userId));
    q.addBindValue(gameId);
    q.addBindValue(QVariant::fromValue(now()));
    return exec(q, "store a played game");
}

QList<qint32> GameStore::userGames(qint64 userId) const {
    QList<qint32> ids;
    QSqlQuery q(m_database.db());
    q.prepare(QStringLiteral("SELECT u.game_id FROM user_games u JOIN games g ON g.id = u.game_id"
                             " WHERE u.user_id = ? ORDER BY u.played DESC, u.game_id LIMIT ?"));
    q.addBindValue(QVariant::fromValue(userId));
    q.addBindValue(kMaxUserGames);
    if (q.exec())
        while (q.next())
            ids.append(q.value(0).toInt());
    return ids;
}

}  // namespace velmora::server
