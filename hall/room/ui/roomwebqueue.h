#pragma once
// The room client's web requests: member profiles and drop reports.
//
// The room core asks for them from inside its handlers (a broadcast, a socket error). A web
// request blocks its caller while the event loop keeps running, and running it right there
// would let socket input, timers and clicks re-enter the core halfway through a handler (and a
// QTcpSocket does not signal input that arrives while its own readyRead is being handled).
// So requests are queued and run from the event loop, one at a time: a request asked for while
// another is pending waits its turn and is never lost or nested.

#include <QList>
#include <QObject>
#include <QString>
#include <functional>

namespace velmora::hall {

class RoomWebQueue : public QObject {
    Q_OBJECT
public:
    // The web client: url, method, form data, retries, time-out in ms; empty reply on failure.
    using Http = std::function<QString(const QString&, const QString&, const QString&, int, int)>;
    struct Hooks {
        // Ids of every member in the room, for a fetch of all profiles.
        std::function<QList<qint64>()> allMembers;
        // The game id and whether a room is open (profiles are not fetched for a closed room).
        std::function<qint32()> gameId;
        std::function<bool()> roomOpen;
        std::function<void(const QString& reply, bool refreshList)> profilesArrived;
        // An empty profile reply: the design treats it as a lost connection.
        std::function<void()> profilesFailed;
    };

    static constexpr int kProfileRetries = 2;  // up to 3 attempts
    static constexpr int kProfileTimeoutMs = 60000;
    static constexpr int kDropTimeoutMs = 3000;

    RoomWebQueue(Http http, Hooks hooks, QObject* parent = nullptr);

    // Empty `ids`: every member in the room, as they are when the request runs.
    void fetchProfiles(const QList<qint64>& ids, bool refreshList);
    void reportDrop(const QString& query);
    // Runs what is queued now, unless a request is already running (then it runs after it).
    void runNow();
    int pending() const { return int(m_jobs.size()); }
    bool busy() const { return m_busy; }

    // "logdrop.php" on the operator's user web server: `logdropurl` from the session reply when
    // it names one, else "/logdrop.php" on the host of `userinfourl`. Empty when neither is known.
    static QString DropReportUrl();

private:
    struct Job {
        bool drop = false;
        QList<qint64> ids;
        bool refreshList = false;
        QString query;
    };
    void schedule();
    // False when the queue was deleted meanwhile.
    bool runJob(const Job& job);

    Http m_http;
    Hooks m_hooks;
    QList<Job> m_jobs;
    bool m_busy = false;
    bool m_scheduled = false;
};

}  // namespace velmora::hall
