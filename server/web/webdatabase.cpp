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
