#include "server/web/webdatabase.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

namespace velmora::server {
namespace {

QString nextConnectionName() {
    static QAtomicInteger<quint64> counter;
    return QStringLiteral("velmora-web-%1").arg(counter.fetchAndAddRelaxed(1));
}

constexpr const char* kSchema[] = {
    "PRAGMA journal_mode=WAL",
    "PRAGMA busy_timeout=5000",
    "PRAGMA synchronous=NORMAL",
    // salt and hash: PBKDF2-HMAC-SHA256 over the MD5 hex digest the hall sends.
    "CREATE TABLE IF NOT EXISTS users ("
    " id INTEGER PRIMARY KEY,"
    " username TEXT NOT NULL UNIQUE COLLATE NOCASE,"
    " nickname TEXT NOT NULL DEFAULT '',"
    " salt BLOB NOT NULL, hash BLOB NOT NULL, iterations INTEGER NOT NULL,"
    " truename TEXT NOT NULL DEFAULT '', sex TEXT NOT NULL DEFAULT '',"
    " face INTEGER NOT NULL DEFAULT 1, money INTEGER NOT NULL DEFAULT 0,"
    " level INTEGER NOT NULL DEFAULT 0, vipid INTEGER NOT NULL DEFAULT 0,"
    " usershow TEXT NOT NULL DEFAULT '', locked INTEGER NOT NULL DEFAULT 0,"
    " created INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS sessions ("
    " token TEXT PRIMARY KEY, encodekey TEXT NOT NULL,"
    " user_id INTEGER NOT NULL DEFAULT 0,"
    " created INTEGER NOT NULL, last_seen INTEGER NOT NULL,"
    " ended INTEGER NOT NULL DEFAULT 0)",
    "CREATE INDEX IF NOT EXISTS sessions_user ON sessions(user_id)",
    "CREATE TABLE IF NOT EXISTS settings ("
    " user_id INTEGER PRIMARY KEY, sameip INTEGER NOT NULL, flee INTEGER NOT NULL,"
    " fleenum INTEGER NOT NULL, updated INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS drops ("
    " id INTEGER PRIMARY KEY AUTOINCREMENT, user_id INTEGER NOT NULL, drop_state INTEGER NOT NULL,"
    " reason TEXT NOT NULL, remote TEXT NOT NULL, at INTEGER NOT NULL)",
    // The game tree. Columns after the first ones carry the list elements of the same names.
    "CREATE TABLE IF NOT EXISTS categories ("
    " id INTEGER PRIMARY KEY, pid INTEGER NOT NULL, sort INTEGER NOT NULL DEFAULT 0,"
    " title TEXT NOT NULL, icon INTEGER NOT NULL, showonline INTEGER NOT NULL,"
    " expanded INTEGER NOT NULL, helptext TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS games ("
    " id INTEGER PRIMARY KEY, fid INTEGER NOT NULL REFERENCES categories(id),"
    " sort INTEGER NOT NULL DEFAULT 0, title TEXT NOT NULL, icon INTEGER NOT NULL,"
    " gametype TEXT NOT NULL, helpurl TEXT NOT NULL, width INTEGER NOT NULL,"
    " height INTEGER NOT NULL, helptext TEXT NOT NULL, dllfile TEXT NOT NULL, GUID TEXT NOT NULL,"
    " downloadxml TEXT NOT NULL, version TEXT NOT NULL, page TEXT NOT NULL)",
    "CREATE TABLE IF NOT EXISTS rooms ("
    " id INTEGER PRIMARY KEY, gid INTEGER NOT NULL REFERENCES games(id),"
    " sort INTEGER NOT NULL DEFAULT 0, title TEXT NOT NULL, icon INTEGER NOT NULL,"
    " servertype TEXT NOT NULL, serverip TEXT NOT NULL, serverport INTEGER NOT NULL,"
    " tablenum INTEGER NOT NULL, roomtype INTEGER NOT NULL, mingold INTEGER NOT NULL,"
    " maxgold INTEGER NOT NULL, goldmultiple INTEGER NOT NULL, minpoint INTEGER NOT NULL,"
    " maxpoint INTEGER NOT NULL, pointmultiple INTEGER NOT NULL, showdesk INTEGER NOT NULL,"
    " showuserinfo INTEGER NOT NULL, enabledchat INTEGER NOT NULL, enabledlook INTEGER NOT NULL,"
    " roomgold INTEGER NOT NULL, maxplayernum INTEGER NOT NULL, playnum INTEGER NOT NULL,"
    " seatnum INTEGER NOT NULL, templates TEXT NOT NULL, videoserver TEXT NOT NULL,"
    " videoport INTEGER NOT NULL, helptext TEXT NOT NULL, rules TEXT NOT NULL,"
    " welcome TEXT NOT NULL)",
    // Players in each room as its room server last reported them (any process on this file).
    "CREATE TABLE IF NOT EXISTS room_online ("
    " room_id INTEGER PRIMARY KEY, count INTEGER NOT NULL, updated INTEGER NOT NULL)",
    "CREATE TABLE IF NOT EXISTS user_games ("
    " user_id INTEGER NOT NULL, game_id INTEGER NOT NULL, played INTEGER NOT NULL,"
    " PRIMARY KEY (user_id, game_id))",
    // Recovery data of an account: the question as chosen, and one salted slow hash over the
    // identity card number and the answer (neither is kept as typed). Phone: profile only.
    "CREATE TABLE IF NOT EXISTS user_recovery ("
    " user_id INTEGER PRIMARY KEY, phone TEXT NOT NULL, question TEXT NOT NULL,"
    " salt BLOB NOT NULL, hash BLOB NOT NULL, iterations INTEGER NOT NULL)",
    // A password issued by the recovery: valid beside the old one until it is first used,
    // then it replaces the old one.
    "CREATE TABLE IF NOT EXISTS pending_passwords ("
    " user_id INTEGER PRIMARY KEY, salt BLOB NOT NULL, hash BLOB NOT NULL,"
    " iterations INTEGER NOT NULL, created INTEGER NOT NULL)",
    // Failed recovery attempts, keyed "user:<id>" or "addr:<address>", for the throttle.
    "CREATE TABLE IF NOT EXISTS recovery_failures ("
    " key TEXT NOT NULL, at INTEGER NOT NULL)",
    "CREATE INDEX IF NOT EXISTS recovery_failures_key ON recovery_failures(key, at)",
};

}  // namespace

WebDatabase::WebDatabase(const QString& filePath) : m_path(filePath), m_connection(nextConnectionName()) {
    QDir().mkpath(QFileInfo(filePath).absolutePath());
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
    database.setDatabaseName(filePath);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
    if (!database.open()) {
        m_error = database.lastError().text();
        return;
    }
    m_open = createSchema();
}

WebDatabase::~WebDatabase() {
    {
        QSqlDatabase database = QSqlDatabase::database(m_connection, false);
        if (database.isValid())
            database.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
}

QSqlDatabase WebDatabase::db() const { return QSqlDatabase::database(m_connection, false); }

QString WebDatabase::defaultFile(const QString& dataFolder) {
    return QDir(dataFolder).filePath(QStringLiteral("web.sqlite"));
}

bool WebDatabase::createSchema() {
    QSqlQuery query(db());
    for (const char* statement : kSchema) {
        if (!query.exec(QString::fromLatin1(statement))) {
            m_error = query.lastError().text();
            return false;
        }
    }
    return true;
}

}  // namespace velmora::server
