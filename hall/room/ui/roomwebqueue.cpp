#include "hall/room/ui/roomwebqueue.h"

#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "hall/foundation/hallcontext.h"
#include "hall/room/ui/memberprofiles.h"

namespace velmora::hall {

RoomWebQueue::RoomWebQueue(Http http, Hooks hooks, QObject* parent)
    : QObject(parent), m_http(std::move(http)), m_hooks(std::move(hooks)) {}

void RoomWebQueue::fetchProfiles(const QList<qint64>& ids, bool refreshList) {
    m_jobs.append({false, ids, refreshList, {}});
    schedule();
}

void RoomWebQueue::reportDrop(const QString& query) {
    m_jobs.append({true, {}, false, query});
    schedule();
}

void RoomWebQueue::schedule() {
    if (m_scheduled || m_busy) return;  // a running drain picks the new job up
    m_scheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_scheduled = false;
        runNow();
    });
}

void RoomWebQueue::runNow() {
    if (m_busy) return;  // entered from inside a pending request: the running loop goes on
    m_busy = true;
    while (!m_jobs.isEmpty()) {
        const Job job = m_jobs.takeFirst();
        if (!runJob(job)) return;  // deleted while a request was pending: touch nothing
    }
    m_busy = false;
}

bool RoomWebQueue::runJob(const Job& job) {
    HallContext& c = HallContext::instance();
    QPointer<RoomWebQueue> self(this);
    if (job.drop) {
        const QString url = DropReportUrl();
        if (url.isEmpty()) {
            qWarning("room: no address for drop reports; not sent: %s", qPrintable(job.query));
            return true;
        }
        // One attempt: a report during a network failure must not hold the room up; its
        // failure is ignored.
        const Http http = m_http;
        http(url + QLatin1Char('?') + job.query, QStringLiteral("GET"), QString(), 0,
             kDropTimeoutMs);
        return !self.isNull();
    }
    if (!m_hooks.roomOpen()) return true;
    const QList<qint64> ids = job.ids.isEmpty() ? m_hooks.allMembers() : job.ids;
    if (ids.isEmpty()) return true;
    // A copy: the queue (and its web client) may be deleted while the request is pending.
    const Http http = m_http;
    const QString reply =
        http(c.url(QStringLiteral("userinfourl")), QStringLiteral("POST"),
             MemberProfileForm(ids, c.Token, m_hooks.gameId()), kProfileRetries, kProfileTimeoutMs);
    if (!self) return false;
    if (!m_hooks.roomOpen()) return true;  // the room was left while the request was pending
    if (reply.isEmpty())
        m_hooks.profilesFailed();
    else
        m_hooks.profilesArrived(reply, job.refreshList);
    return !self.isNull();
}

QString RoomWebQueue::DropReportUrl() {
    const HallContext& c = HallContext::instance();
    const QString configured = c.url(QStringLiteral("logdropurl"));
    if (!configured.isEmpty()) return configured;
    const QUrl profile(c.url(QStringLiteral("userinfourl")));
    if (!profile.isValid() || profile.host().isEmpty()) return {};
    return profile
               .adjusted(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment |
                         QUrl::RemoveUserInfo)
               .toString() +
           QStringLiteral("/logdrop.php");
}

}  // namespace velmora::hall
