#pragma once
// The stand-in web service's SQLite database (one file in the data folder). Several objects and
// several processes (the web service, a room server) may open the same file: each object holds
// its own named connection, the file is in WAL mode and writers wait for each other.
// A connection belongs to the thread that opened it.

#include <QSqlDatabase>
#include <QString>

namespace velmora::server {

class WebDatabase {
public:
    explicit WebDatabase(const QString& filePath);
    ~WebDatabase();
    WebDatabase(const WebDatabase&) = delete;
    WebDatabase& operator=(const WebDatabase&) = delete;

    // False when the file could not be opened or the tables could not be created.
    bool isOpen() const { return m_open; }
    QString errorText() const { return m_error; }
    QSqlDatabase db() const;
    const QString& filePath() const { return m_path; }

    // "<dataFolder>/web.sqlite"
    static QString defaultFile(const QString& dataFolder);

private:
    bool createSchema();

    QString m_path;
    QString m_connection;
    bool m_open = false;
    QString m_error;
};

}  // namespace velmora::server
