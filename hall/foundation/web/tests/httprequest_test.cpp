// HttpRequest and DownloadFile against servers and proxies on loopback ports.
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/httprequest.h"
#include "webtestsupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QTimer>

namespace velmora::hall {
namespace {

using test::ChildProcess;
using test::ScriptedServer;

class HttpRequestTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "web_client_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }
    void SetUp() override { HallContext::reset(); }
};

TEST_F(HttpRequestTest, ServerErrorsAreRetriedUpToRetriesPlusOneAttempts) {
    struct Case {
        int failures;
        QString expected;
        int attempts;
    };
    // Three 500s then a 200: the fourth attempt's body. Four 500s: empty, no fifth attempt.
    for (const Case& c : {Case{3, QStringLiteral("reply 3"), 4}, Case{4, QString(), 4},
                          Case{0, QStringLiteral("reply 0"), 1}}) {
        ScriptedServer server([&c](int n) { return n < c.failures ? 500 : 200; });
        ASSERT_TRUE(server.listen());
        QString reply = QStringLiteral("stale");
        HttpRequest(server.url(), QStringLiteral("GET"), QString(), reply, 3, 0, 5000);
        EXPECT_EQ(reply, c.expected) << "failures " << c.failures;
        EXPECT_EQ(server.seen().size(), c.attempts) << "failures " << c.failures;
    }
}

TEST_F(HttpRequestTest, PostDropsEmptyPiecesAndSendsTheHallHeaders) {
    ScriptedServer server;
    ASSERT_TRUE(server.listen());
    EXPECT_EQ(HttpRequest(server.url(), QStringLiteral("PoSt"), QStringLiteral("a=1&&b=2 ")),
              QStringLiteral("reply 0"));
    ASSERT_EQ(server.seen().size(), 1);
    const test::SeenRequest& seen = server.seen().front();
    EXPECT_EQ(seen.method, "POST");
    EXPECT_EQ(seen.body, "a=1&b=2");
    EXPECT_EQ(seen.headers.value("content-type"), "application/x-www-form-urlencoded");
    EXPECT_EQ(seen.headers.value("user-agent"), "User-Agent: Mozilla/4.0 (compatib MORVANE; 1.3.64.51)");
    EXPECT_EQ(seen.headers.value("accept"), "*/*");
    EXPECT_EQ(seen.headers.value("pragma"), "no-cache");
    EXPECT_EQ(seen.headers.value("cache-control"), "no-cache");

    // Any other method is a GET without body.
    HttpRequest(server.url(), QStringLiteral("put"), QStringLiteral("a=1"));
    ASSERT_EQ(server.seen().size(), 2);
    EXPECT_EQ(server.seen()[1].method, "GET");
    EXPECT_TRUE(server.seen()[1].body.isEmpty());
}

TEST_F(HttpRequestTest, EventLoopKeepsRunningWhileASilentServerTimesOut) {
    // A server that accepts and never answers: the read time-out ends each attempt, and timers
    // of the calling thread fire meanwhile.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&ticks] { ++ticks; });
    timer.start(50);
    QString reply = QStringLiteral("stale");
    HttpRequest(QStringLiteral("http://127.0.0.1:%1/").arg(silent.serverPort()),
                QStringLiteral("GET"), QString(), reply, 1, 0, 1000);
    EXPECT_TRUE(reply.isEmpty());
    EXPECT_GE(ticks, 10);
}

TEST_F(HttpRequestTest, NestedRequestFromATimerCompletesInsideTheOuterOne) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    ScriptedServer server;
    ASSERT_TRUE(server.listen());
    QString inner;
    QTimer::singleShot(100, [&] { inner = HttpRequest(server.url(), QStringLiteral("GET")); });
    QString outer;
    HttpRequest(QStringLiteral("http://127.0.0.1:%1/").arg(silent.serverPort()),
                QStringLiteral("GET"), QString(), outer, 0, 0, 1000);
    EXPECT_EQ(inner, QStringLiteral("reply 0"));
    EXPECT_TRUE(outer.isEmpty());
}

TEST_F(HttpRequestTest, HttpsVerifiesTheServerCertificate) {
    QTemporaryDir dir;
    QString cert, key;
    if (!test::MakeTestCertificate(dir.path(), &cert, &key))
        GTEST_SKIP() << "openssl program not installed";
    ScriptedServer server;
    ASSERT_TRUE(server.listen(cert, key));
    // Not trusted: the handshake fails before any request reaches the server.
    EXPECT_TRUE(HttpRequest(server.httpsUrl(), QStringLiteral("GET"), QString(), 0, 5000).isEmpty());
    EXPECT_TRUE(server.seen().isEmpty());
    HallContext::instance().TrustedCaFile = cert;
    EXPECT_EQ(HttpRequest(server.httpsUrl(), QStringLiteral("GET"), QString(), 0, 5000),
              QStringLiteral("reply 0"));
}

TEST_F(HttpRequestTest, DownloadFileStoresTheBodyAndReportsErrors) {
    QTemporaryDir dir;
    ScriptedServer server([](int n) { return n == 0 ? 200 : 404; });
    ASSERT_TRUE(server.listen());
    const QString path = dir.path() + QStringLiteral("/a/b/file.png");
    ASSERT_TRUE(DownloadFile(server.url(), path));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "reply 0");
    EXPECT_EQ(server.seen()[0].headers.value("connection"), "close");
    EXPECT_FALSE(DownloadFile(server.url(), dir.path() + QStringLiteral("/missing.png")));
    EXPECT_EQ(server.seen().size(), 2);  // no retry
}

TEST(DecodeReplyTest, DeclaredCharsetWinsAndGbkIsTheDefault) {
    const QString text = QStringLiteral("提示");
    EXPECT_EQ(DecodeReply(text.toUtf8(), "text/plain; charset=UTF-8"), text);
    EXPECT_EQ(DecodeReply(QByteArray("\xcc\xe1\xca\xbe"), "text/plain"), text);
    EXPECT_EQ(DecodeReply(QByteArray("\xcc\xe1\xca\xbe"), "text/html; charset=gb2312"), text);
}

// Each proxy program relays from its own loopback source address, so the server can tell
// that the request really went through it.
struct ProxyCase {
    const char* name;
    test::TestProxy proxy;
    bool authenticates;  // a wrong password must fail
};

void PrintTo(const ProxyCase& c, std::ostream* os) { *os << c.name; }

class ProxyTest : public HttpRequestTest, public ::testing::WithParamInterface<ProxyCase> {};

TEST_P(ProxyTest, RequestTravelsThroughTheProxy) {
    const ProxyCase& c = GetParam();
    QTemporaryDir dir;
    const quint16 port = test::FreePort();
    const QString source = QString::fromLatin1(c.proxy.sourceAddress);
    ChildProcess proxy;
    QString error;
    if (!test::StartTestProxy(c.proxy, port, dir, proxy, &error)) {
        if (error.isEmpty()) GTEST_SKIP() << c.proxy.program << " not installed";
        FAIL() << error.toStdString();
    }

    ScriptedServer server;
    ASSERT_TRUE(server.listen());
    NetSetting& net = HallContext::instance().Net;
    net.ProxyOn = true;
    net.ProxyType = c.proxy.proxyType;
    net.server = QStringLiteral("127.0.0.1");
    net.port = QString::number(port);
    net.username = QStringLiteral("user");
    net.pass = QStringLiteral("secret");

    EXPECT_EQ(HttpRequest(server.url(), QStringLiteral("GET"), QString(), 0, 10000),
              QStringLiteral("reply 0"))
        << proxy.output().toStdString();
    ASSERT_EQ(server.seen().size(), 1);
    EXPECT_EQ(server.seen()[0].remote, QHostAddress(source));

    if (c.authenticates) {
        net.pass = QStringLiteral("wrong");
        EXPECT_TRUE(HttpRequest(server.url(), QStringLiteral("GET"), QString(), 0, 10000).isEmpty());
        EXPECT_EQ(server.seen().size(), 1);
    }
    // Proxy switched off: direct again.
    net.ProxyOn = false;
    EXPECT_EQ(HttpRequest(server.url(), QStringLiteral("GET"), QString(), 0, 10000),
              QStringLiteral("reply 1"));
    EXPECT_EQ(server.seen().back().remote, QHostAddress(QHostAddress::LocalHost));
}

INSTANTIATE_TEST_SUITE_P(Kinds, ProxyTest,
                         ::testing::Values(ProxyCase{"Http", {0, "tinyproxy", "127.0.0.2"}, true},
                                           ProxyCase{"Socks5", {1, "microsocks", "127.0.0.3"}, true},
                                           ProxyCase{"Socks4", {2, "danted", "127.0.0.4"}, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velmora::hall
