// The session bootstrap: reply parsing, the clock and version decisions, the updater, and
// GetSession end to end against a scripted server.
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "hall/foundation/publicfunc.h"
#include "hall/foundation/web/netsetting.h"
#include "hall/foundation/web/session.h"
#include "webtestsupport.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTcpServer>
#include <QTemporaryDir>

namespace velmora::hall {
namespace {

class FakeHost : public SessionHost {
public:
    void showMessage(const QString& text) override { messages.append(text); }
    bool runNetSetting() override {
        ++netDialogs;
        return netDialogAnswers-- > 0;
    }
    void terminateApplication() override { terminated = true; }
    bool startProgram(const QString& program, const QStringList& arguments,
                      const QString& folder) override {
        started.append(program + QLatin1Char(' ') + arguments.join(QLatin1Char(' ')) +
                       QStringLiteral(" @") + folder);
        return true;
    }
    QDateTime now() const override { return clock; }

    QStringList messages;
    QStringList started;
    int netDialogs = 0;
    int netDialogAnswers = 0;  // how many times the dialog answers OK
    bool terminated = false;
    QDateTime clock = QDateTime(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);
};

QByteArray sessionXml(const QMap<QString, QString>& values) {
    QByteArray xml = "<?xml version=\"1.0\"?><r>";
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        const bool plain = it.key() == QLatin1String("token") || it.key() == QLatin1String("encodekey");
        xml += "<" + it.key().toLatin1() + ">" +
               (plain ? it.value() : Base64EncodeText(it.value())).toUtf8() + "</" +
               it.key().toLatin1() + ">";
    }
    return xml + "</r>";
}

QMap<QString, QString> goodValues(const QDateTime& serverTime) {
    return {{"token", "tok-1"},
            {"encodekey", "Ab3dEf7h"},
            {"loginurl", "http://h/login.php"},
            {"newdesc", "新的牌桌"},
            {"updatexml", "http://h/update.xml"},
            {"version", "1.3.64.51"},
            {"clientversion", "1.3.64.51"},
            {"servertime", serverTime.toString(Qt::ISODate)}};
}

TEST(SessionReplyTest, DecodesBase64ValuesAndKeepsTokenPlain) {
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const auto reply = ParseSessionReply(QString::fromUtf8(sessionXml(goodValues(now))));
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->token, QStringLiteral("tok-1"));
    EXPECT_EQ(reply->encodeKey, QStringLiteral("Ab3dEf7h"));
    EXPECT_EQ(reply->value(QStringLiteral("loginurl")), QStringLiteral("http://h/login.php"));
    EXPECT_EQ(reply->value(QStringLiteral("newdesc")), QStringLiteral("新的牌桌"));
    EXPECT_TRUE(reply->value(QStringLiteral("homeurl")).isEmpty());
    for (const char* bad : {"", "not xml", "<r><token>x</r>", "<r></r><second/>"})
        EXPECT_FALSE(ParseSessionReply(QString::fromLatin1(bad))) << bad;
}

TEST(SessionVerdictTest, ClockAndVersionDecisions) {
    const QDateTime now(QDate(2024, 5, 1), QTime(12, 0), Qt::UTC);
    struct Case {
        const char* name;
        QString serverTime;
        std::optional<QString> clientVersion;  // nothing: key missing
        QString version;
        SessionVerdict expected;
    };
    const QString v = QStringLiteral("1.3.64.51");
    const Case cases[] = {
        {"same time", now.toString(Qt::ISODate), v, v, SessionVerdict::Ok},
        {"47 hours behind", now.addSecs(-47 * 3600).toString(Qt::ISODate), v, v, SessionVerdict::Ok},
        {"47 hours ahead", now.addSecs(47 * 3600).toString(Qt::ISODate), v, v, SessionVerdict::Ok},
        {"49 hours behind", now.addSecs(-49 * 3600).toString(Qt::ISODate), v, v, SessionVerdict::ClockOff},
        {"49 hours ahead", now.addSecs(49 * 3600).toString(Qt::ISODate), v, v, SessionVerdict::ClockOff},
        {"unparsable time", QStringLiteral("yesterday noon"), v, v, SessionVerdict::Ok},
        {"missing clientversion", now.toString(Qt::ISODate), std::nullopt, v, SessionVerdict::NewVersion},
        {"other clientversion", now.toString(Qt::ISODate), QStringLiteral("1.3.64.52"), v, SessionVerdict::NewVersion},
        {"other version", now.toString(Qt::ISODate), v, QStringLiteral("2024"), SessionVerdict::NewVersion},
    };
    for (const Case& c : cases) {
        SessionReply reply;
        reply.values.insert(QStringLiteral("servertime"), c.serverTime);
        reply.values.insert(QStringLiteral("version"), c.version);
        if (c.clientVersion)
            reply.values.insert(QStringLiteral("clientversion"), *c.clientVersion);
        EXPECT_EQ(JudgeSession(reply, now, v, v), c.expected) << c.name;
    }
}

class GetSessionTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "web_client_tests";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance())
            new QCoreApplication(argc, argv);
    }
    void SetUp() override {
        HallContext::reset();
        qunsetenv(kBootstrapEnv);
        HallContext::instance().AppPath = m_dir.path() + QLatin1Char('/');
        HallContext::instance().UpdateTime = QStringLiteral("1.3.64.51");
    }
    void TearDown() override { qunsetenv(kBootstrapEnv); }
    void pointAt(const QString& url) { qputenv(kBootstrapEnv, url.toUtf8()); }

    QTemporaryDir m_dir;
    FakeHost m_host;
};

TEST_F(GetSessionTest, GoodReplyFillsTheContext) {
    test::ScriptedServer server;
    server.setBody([this](int) { return sessionXml(goodValues(m_host.clock.addSecs(3600))); });
    ASSERT_TRUE(server.listen());
    pointAt(server.url(QStringLiteral("/info/getsession.php")));
    EXPECT_TRUE(GetSession(m_host));
    const HallContext& context = HallContext::instance();
    EXPECT_EQ(context.Token, QStringLiteral("tok-1"));
    EXPECT_EQ(context.EncodeKey, QStringLiteral("Ab3dEf7h"));
    EXPECT_EQ(context.url(QStringLiteral("loginurl")), QStringLiteral("http://h/login.php"));
    EXPECT_TRUE(m_host.messages.isEmpty());
    EXPECT_FALSE(m_host.terminated);
}

TEST_F(GetSessionTest, NoReplyOffersNetSettingsAndRetriesOnOk) {
    QTcpServer closed;
    closed.listen(QHostAddress::LocalHost, 0);
    const quint16 port = closed.serverPort();
    closed.close();  // nothing listens there any more
    pointAt(QStringLiteral("http://127.0.0.1:%1/info/getsession.php").arg(port));
    m_host.netDialogAnswers = 1;  // OK once, then Cancel
    EXPECT_FALSE(GetSession(m_host));
    EXPECT_EQ(m_host.netDialogs, 2);
    ASSERT_EQ(m_host.messages.size(), 2);
    EXPECT_EQ(m_host.messages[0], QStringLiteral("连接初始化失败，请查看一下你是否连网。"));
}

TEST_F(GetSessionTest, ReplyThatIsNotXmlEndsWithoutTheDialog) {
    test::ScriptedServer server;
    ASSERT_TRUE(server.listen());  // answers "reply n"
    pointAt(server.url());
    EXPECT_FALSE(GetSession(m_host));
    EXPECT_EQ(m_host.netDialogs, 0);
    EXPECT_EQ(m_host.messages, QStringList{QStringLiteral("连接初始化失败，请查看一下你是否连网。")});
}

TEST_F(GetSessionTest, ClockOffEndsTheProgram) {
    test::ScriptedServer server;
    server.setBody([this](int) { return sessionXml(goodValues(m_host.clock.addSecs(49 * 3600))); });
    ASSERT_TRUE(server.listen());
    pointAt(server.url());
    EXPECT_FALSE(GetSession(m_host));
    EXPECT_TRUE(m_host.terminated);
    EXPECT_EQ(m_host.messages, QStringList{QStringLiteral("您的系统时间与服务器时间不符，请更正您的系统时间!")});
}

TEST_F(GetSessionTest, NewVersionStartsTheUpdaterOrFailsWithoutIt) {
    auto values = goodValues(m_host.clock);
    values.remove(QStringLiteral("clientversion"));
    test::ScriptedServer server;
    server.setBody([&values](int) { return sessionXml(values); });
    ASSERT_TRUE(server.listen());
    pointAt(server.url());

    // Missing updater: a failure, never a continuation to the login.
    EXPECT_FALSE(GetSession(m_host));
    EXPECT_TRUE(m_host.terminated);
    EXPECT_TRUE(m_host.started.isEmpty());
    ASSERT_FALSE(m_host.messages.isEmpty());
    EXPECT_EQ(m_host.messages[0], QStringLiteral("当前程序有新版本：新的牌桌，点击确定开始更新最新版本!"));

    QFile updater(UpdaterPath());
    ASSERT_TRUE(updater.open(QIODevice::WriteOnly));
    updater.write("#!/bin/sh\n");
    updater.close();
    updater.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    m_host = FakeHost();
    HallContext::instance().LoginOK = true;
    EXPECT_FALSE(GetSession(m_host));
    EXPECT_TRUE(m_host.terminated);
    EXPECT_FALSE(HallContext::instance().LoginOK);
    const QString appPath = HallContext::instance().AppPath;
    EXPECT_EQ(m_host.started, QStringList{UpdaterPath() + QStringLiteral(" http://h/update.xml?updatetime=1.3.64.51 @") + appPath});
}

TEST_F(GetSessionTest, RunUpdaterNeedsParametersAndTheProgram) {
    EXPECT_FALSE(RunUpdater(QStringLiteral("x"), m_host));  // no updater
    QFile updater(UpdaterPath());
    ASSERT_TRUE(updater.open(QIODevice::WriteOnly));
    updater.close();
    EXPECT_FALSE(RunUpdater(QStringLiteral("x"), m_host));  // not executable
    updater.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_FALSE(RunUpdater(QString(), m_host));
    EXPECT_TRUE(RunUpdater(QStringLiteral("x"), m_host));
    EXPECT_EQ(m_host.started.size(), 1);
}

TEST_F(GetSessionTest, BootstrapAddressFromEnvironmentIniOrDefault) {
    const QString appPath = HallContext::instance().AppPath;
    EXPECT_EQ(BootstrapUrl(appPath), QString::fromLatin1(kDefaultBootstrapUrl));
    QFile ini(appPath + QStringLiteral("game.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[GAME]\nupdateTime=1\nbootstrap = http://ini/info/getsession.php\n");
    ini.close();
    EXPECT_EQ(BootstrapUrl(appPath), QStringLiteral("http://ini/info/getsession.php"));
    pointAt(QStringLiteral("http://env/info/getsession.php"));
    EXPECT_EQ(BootstrapUrl(appPath), QStringLiteral("http://env/info/getsession.php"));
}

TEST(LoadNetSettingTest, ReadsTheNetKey) {
    QTemporaryDir dir;
    platform::RegistryStore store(dir.filePath(QStringLiteral("registry.json")));
    HallContext::reset();
    LoadNetSetting(store);
    EXPECT_TRUE(store.keyExists(kRegistryNetKey));
    EXPECT_FALSE(HallContext::instance().Net.ProxyOn);
    EXPECT_EQ(HallContext::instance().Net.ProxyType, 0);

    store.writeStrings(kRegistryNetKey, {{"proxy", "1"}, {"server", "10.0.0.1"}, {"port", "1080"},
                                         {"username", "u"}, {"pass", "p"}, {"domain", "d"},
                                         {"proxytype", "2"}});
    LoadNetSetting(store);
    const NetSetting& net = HallContext::instance().Net;
    EXPECT_TRUE(net.ProxyOn);
    EXPECT_EQ(net.ProxyType, 2);
    EXPECT_EQ(net.server, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(net.port, QStringLiteral("1080"));
    EXPECT_EQ(net.username, QStringLiteral("u"));
    EXPECT_EQ(net.pass, QStringLiteral("p"));
    EXPECT_EQ(net.domain, QStringLiteral("d"));

    store.writeString(kRegistryNetKey, QStringLiteral("proxytype"), QStringLiteral("socks"));
    store.writeString(kRegistryNetKey, QStringLiteral("proxy"), QStringLiteral("true"));
    LoadNetSetting(store);
    EXPECT_EQ(HallContext::instance().Net.ProxyType, 0);
    EXPECT_FALSE(HallContext::instance().Net.ProxyOn);
}

}  // namespace
}  // namespace velmora::hall
