// The room connection through each kind of proxy, against a plain loopback server: the
// connection arrives from the proxy's own source address, lines travel both ways, and a close
// by the server is seen on the proxied connection too.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>

#include "hall/foundation/web/tests/webtestsupport.h"
#include "hall/room/roomsocket.h"
#include "roomtestsupport.h"

using namespace velmora::hall;
using velmora::hall::test::waitFor;

namespace {

QCoreApplication& app() {
    static int argc = 1;
    static char name[] = "roomsocket_proxy";
    static char* argv[] = {name, nullptr};
    static QCoreApplication instance(argc, argv);
    return instance;
}

struct Case {
    const char* name;
    test::TestProxy proxy;
};
void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class RoomSocketProxyTest : public ::testing::TestWithParam<Case> {};

TEST_P(RoomSocketProxyTest, LinesTravelThroughTheProxyAndAServerCloseIsSeen) {
    app();
    const Case& c = GetParam();
    QTemporaryDir dir;
    const quint16 proxyPort = test::FreePort();
    test::ChildProcess proxy;
    QString error;
    if (!test::StartTestProxy(c.proxy, proxyPort, dir, proxy, &error)) {
        if (error.isEmpty()) GTEST_SKIP() << c.proxy.program << " not installed";
        FAIL() << error.toStdString();
    }

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    QTcpSocket* accepted = nullptr;
    QObject::connect(&server, &QTcpServer::newConnection, [&] { accepted = server.nextPendingConnection(); });

    NetSetting net;
    net.ProxyOn = true;
    net.ProxyType = c.proxy.proxyType;
    net.server = QStringLiteral("127.0.0.1");
    net.port = QString::number(proxyPort);
    net.username = QStringLiteral("user");
    net.pass = QStringLiteral("secret");

    RoomSocket socket;
    bool connected = false;
    bool disconnected = false;
    QString socketError;
    QByteArray received;
    socket.setEvents({[&] { connected = true; }, [&](const QByteArray& d) { received += d; },
                      [&](const QString& e) { socketError = e; }, [&] { disconnected = true; }});
    ASSERT_TRUE(socket.open(QStringLiteral("127.0.0.1"), server.serverPort(), net));
    ASSERT_TRUE(waitFor([&] { return connected && accepted != nullptr; }))
        << socketError.toStdString() << " / " << proxy.output().toStdString();
    EXPECT_TRUE(socket.isOpen());
    EXPECT_EQ(accepted->peerAddress(), QHostAddress(QString::fromLatin1(c.proxy.sourceAddress)));

    ASSERT_TRUE(socket.writeLine("4AbCdEf\r\n", nullptr));
    ASSERT_TRUE(waitFor([&] { return accepted->bytesAvailable() >= 9; }));
    EXPECT_EQ(accepted->readAll(), QByteArray("4AbCdEf\r\n"));
    accepted->write("2XyZ\n");
    ASSERT_TRUE(waitFor([&] { return received == "2XyZ\n"; }));

    accepted->close();
    EXPECT_TRUE(waitFor([&] { return disconnected; }));
}

INSTANTIATE_TEST_SUITE_P(Kinds, RoomSocketProxyTest,
                         ::testing::Values(Case{"Http", {0, "tinyproxy", "127.0.0.2"}},
                                           Case{"Socks5", {1, "microsocks", "127.0.0.3"}},
                                           Case{"Socks4", {2, "danted", "127.0.0.4"}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RoomSocketTest, ProxyWithoutAddressDoesNotStart) {
    app();
    RoomSocket socket;
    NetSetting net;
    net.ProxyOn = true;
    net.ProxyType = 2;
    EXPECT_FALSE(socket.open(QStringLiteral("127.0.0.1"), 18101, net));
    EXPECT_FALSE(socket.open(QString(), 18101, NetSetting{}));
}

}  // namespace
