// The room client's web request queue: requests run from the event loop, one at a time, in
// the order asked; nothing asked during a pending request is lost or nested.
#include "hall/room/ui/roomwebqueue.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPointer>

#include "hall/foundation/hallcontext.h"

using namespace velmora::hall;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "roomwebqueue";
    static char* argv[] = {name, nullptr};
    // Never destroyed: tearing the application down during static destruction crashes Qt.
    static auto* instance = new QCoreApplication(argc, argv);
    return *instance;
}

void settle() {
    for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

struct Call {
    QString url, method, form;
    int retries, timeoutMs;
};

class RoomWebQueueTest;
RoomWebQueueTest* g_fixture = nullptr;
QString fakeHttp(const QString& url, const QString& method, const QString& form, int retries,
                 int timeoutMs);

class RoomWebQueueTest : public ::testing::Test {
public:
    void SetUp() override {
        app();
        HallContext::reset();
        HallContext::instance().Token = QStringLiteral("tok");
        HallContext::instance().ServiceValues.insert(
            QStringLiteral("userinfourl"),
            QStringLiteral("http://127.0.0.1:18080/user/userinfo.php"));
        owner = new QObject;
        RoomWebQueue::Hooks hooks;
        hooks.allMembers = [this] { return roomMembers; };
        hooks.gameId = [] { return 1; };
        hooks.roomOpen = [this] { return roomOpen; };
        hooks.profilesArrived = [this](const QString& reply, bool refresh) {
            arrived << reply + (refresh ? "+refresh" : "");
        };
        hooks.profilesFailed = [this] { ++failed; };
        g_fixture = this;
        queue = new RoomWebQueue(&fakeHttp, std::move(hooks), owner);
    }
    void TearDown() override {
        delete owner;
        HallContext::reset();
    }

    QObject* owner = nullptr;
    RoomWebQueue* queue = nullptr;
    QList<Call> calls;
    QStringList arrived;
    int failed = 0;
    int depth = 0;
    int maxDepth = 0;
    bool roomOpen = true;
    QList<qint64> roomMembers{10001, 10002};
    QString reply = QStringLiteral("10001|alice");
    std::function<void()> during;
};

// A plain function, not a closure: the queue holding it may be deleted while it runs.
QString fakeHttp(const QString& url, const QString& method, const QString& form, int retries,
                 int timeoutMs) {
    RoomWebQueueTest& f = *g_fixture;
    ++f.depth;
    f.maxDepth = std::max(f.maxDepth, f.depth);
    f.calls.append({url, method, form, retries, timeoutMs});
    if (f.during) {
        const auto during = f.during;
        during();
    }
    // A real request keeps the event loop running meanwhile.
    settle();
    --f.depth;
    return f.reply;
}

TEST_F(RoomWebQueueTest, ProfilesAreFetchedFromTheEventLoopNotInsideTheCaller) {
    queue->fetchProfiles({}, true);
    queue->fetchProfiles({10002}, false);
    EXPECT_TRUE(calls.isEmpty());
    settle();
    ASSERT_EQ(calls.size(), 2);
    EXPECT_EQ(calls[0].url, QStringLiteral("http://127.0.0.1:18080/user/userinfo.php"));
    EXPECT_EQ(calls[0].method, QStringLiteral("POST"));
    EXPECT_EQ(calls[0].form, QStringLiteral("userid=10001,10002&token=tok&gameid=1"));
    EXPECT_EQ(calls[0].retries, 2);
    EXPECT_EQ(calls[0].timeoutMs, 60000);
    EXPECT_EQ(calls[1].form, QStringLiteral("userid=10002&token=tok&gameid=1"));
    EXPECT_EQ(arrived, (QStringList{"10001|alice+refresh", "10001|alice"}));
}

TEST_F(RoomWebQueueTest, RequestsAskedDuringAPendingRequestWaitTheirTurn) {
    // While the first request is pending, a broadcast asks for a profile, a drop is reported
    // and something calls runNow(): all of it runs after the first request, never inside it.
    during = [this] {
        during = nullptr;
        queue->fetchProfiles({10003}, true);
        queue->reportDrop(QStringLiteral("drop=0&userid=10001&modefunc=ClientSocket1Error"));
        queue->runNow();
    };
    queue->fetchProfiles({10002}, false);
    settle();
    EXPECT_EQ(maxDepth, 1);
    ASSERT_EQ(calls.size(), 3);
    EXPECT_TRUE(calls[0].form.startsWith(QStringLiteral("userid=10002&")));
    EXPECT_TRUE(calls[1].form.startsWith(QStringLiteral("userid=10003&")));
    EXPECT_EQ(
        calls[2].url,
        QStringLiteral(
            "http://127.0.0.1:18080/logdrop.php?drop=0&userid=10001&modefunc=ClientSocket1Error"));
    EXPECT_EQ(calls[2].method, QStringLiteral("GET"));
    EXPECT_EQ(calls[2].retries, 0);
    EXPECT_EQ(calls[2].timeoutMs, 3000);
    EXPECT_FALSE(queue->busy());
    EXPECT_EQ(queue->pending(), 0);
}

TEST_F(RoomWebQueueTest, EmptyReplyFailsAndClosedOrEmptyRoomsAskNothing) {
    reply.clear();
    queue->fetchProfiles({10002}, true);
    settle();
    EXPECT_EQ(failed, 1);
    EXPECT_TRUE(arrived.isEmpty());

    roomMembers.clear();  // "all members" of an empty room: no request
    queue->fetchProfiles({}, true);
    roomOpen = false;
    queue->fetchProfiles({10002}, true);
    settle();
    EXPECT_EQ(calls.size(), 1);

    // The room closes while the request is pending: the late reply is not applied.
    roomOpen = true;
    reply = QStringLiteral("10002|bob");
    during = [this] { roomOpen = false; };
    queue->fetchProfiles({10002}, true);
    settle();
    EXPECT_EQ(calls.size(), 2);
    EXPECT_TRUE(arrived.isEmpty());
    EXPECT_EQ(failed, 1);
}

TEST_F(RoomWebQueueTest, DropReportAddress) {
    auto& values = HallContext::instance().ServiceValues;
    struct Case {
        QString userinfourl, logdropurl, expected;
    };
    const Case cases[] = {
        {"http://web.example:8080/user/userinfo.php?x=1", "",
         "http://web.example:8080/logdrop.php"},
        {"https://u:p@web.example/user/userinfo.php", "", "https://web.example/logdrop.php"},
        {"http://web.example/user/userinfo.php", "http://drops.example/d/logdrop.php",
         "http://drops.example/d/logdrop.php"},
        {"", "", ""},
        {"not a url", "", ""},
    };
    for (const Case& c : cases) {
        values.insert(QStringLiteral("userinfourl"), c.userinfourl);
        values.insert(QStringLiteral("logdropurl"), c.logdropurl);
        EXPECT_EQ(RoomWebQueue::DropReportUrl(), c.expected) << c.userinfourl.toStdString();
    }
    // Without an address the report is dropped with a log line, and nothing is requested.
    queue->reportDrop(QStringLiteral("drop=1&userid=10001"));
    settle();
    EXPECT_TRUE(calls.isEmpty());
}

TEST_F(RoomWebQueueTest, DeletedWhileARequestIsPending) {
    during = [this] {
        delete owner;  // the window goes away inside the request's event loop
        owner = nullptr;
        queue = nullptr;
    };
    QPointer<RoomWebQueue> watch(queue);
    queue->fetchProfiles({10002}, true);
    queue->fetchProfiles({10003}, true);
    settle();
    EXPECT_TRUE(watch.isNull());
    EXPECT_EQ(calls.size(), 1);
    EXPECT_TRUE(arrived.isEmpty());
}

}  // namespace
