// The stand-in web service: session reply, login, profile, online counts, expiry, bad requests.
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/publicfunc.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/foundation/web/session.h"
#include "server/web/tests/webfixture.h"
#include "server/web/webservice.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QXmlStreamReader>

namespace velmora::server {
namespace {

TEST_F(WebServiceTest, SessionReplyHandsOutFreshTokensAndThisServicesAddresses) {
    const WebReply first = call("GET", QStringLiteral("/info/getsession.php"), {});
    ASSERT_EQ(first.status, 200);
    const auto fields = xmlFields(first.body);
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Za-z0-9_-]{43}$")).match(fields["token"]).hasMatch());
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[A-Za-z0-9]{8}$")).match(fields["encodekey"]).hasMatch());
    for (const auto& [key, path] : WebService::urlKeys())
        EXPECT_EQ(decoded(fields[key]), m_service->baseUrl() + path) << key.toStdString();
    EXPECT_EQ(decoded(fields["version"]), QStringLiteral("1.3.64.51"));
    EXPECT_EQ(decoded(fields["clientversion"]), QStringLiteral("1.3.64.51"));
    EXPECT_TRUE(hall::ClockMatches(decoded(fields["servertime"]), QDateTime::currentDateTime()));
    EXPECT_NE(xmlFields(call("GET", QStringLiteral("/info/getsession.php"), {}).body)["token"],
              fields["token"]);
}

TEST_F(WebServiceTest, LoginByNameAndById) {
    struct Case {
        const char* name;
        QString account;
        QString password;
        const char* type;
        const char* errid;
    };
    const Case cases[] = {
        {"name, right password", QStringLiteral("alice"), QStringLiteral("velmora"), "username", "200"},
        {"name in other case", QStringLiteral("ALICE"), QStringLiteral("velmora"), "username", "200"},
        {"name, wrong password", QStringLiteral("alice"), QStringLiteral("wrong"), "username", "401"},
        {"id, right password", QStringLiteral("10002"), QStringLiteral("velmora"), "userid", "200"},
        {"id, wrong password", QStringLiteral("10002"), QStringLiteral("Velmora"), "userid", "401"},
        {"unknown name", QStringLiteral("mallory"), QStringLiteral("velmora"), "username", "401"},
        {"id that is a name", QStringLiteral("bob"), QStringLiteral("velmora"), "userid", "401"},
        {"name that is an id", QStringLiteral("10002"), QStringLiteral("velmora"), "username", "401"},
    };
    for (const Case& c : cases) {
        const WebReply reply = call("POST", QStringLiteral("/user/login.php"),
                                    loginForm(c.account, c.password, newToken(), c.type));
        ASSERT_EQ(reply.status, 200) << c.name;
        const auto fields = xmlFields(reply.body);
        EXPECT_EQ(fields["errid"], QLatin1String(c.errid)) << c.name;
        if (QByteArray(c.errid) == "200") {
            EXPECT_FALSE(decoded(fields["id"]).isEmpty()) << c.name;
        } else {
            EXPECT_FALSE(fields.contains("id")) << c.name;
        }
    }
    const auto alice = xmlFields(call("POST", QStringLiteral("/user/login.php"),
                                      loginForm(QStringLiteral("alice"), QStringLiteral("velmora"),
                                                newToken(), "username")).body);
    EXPECT_EQ(decoded(alice["id"]), QStringLiteral("10001"));
    EXPECT_EQ(decoded(alice["username"]), QStringLiteral("alice"));
    EXPECT_EQ(decoded(alice["face"]), QStringLiteral("2"));
    EXPECT_EQ(decoded(alice["money"]), QStringLiteral("5000"));
    EXPECT_EQ(decoded(alice["level"]), QStringLiteral("37"));
    EXPECT_EQ(decoded(alice["vipid"]), QStringLiteral("1"));
}

TEST_F(WebServiceTest, LockedAccountAndDeadTokenAreRefused) {
    QSqlQuery q(QSqlDatabase::database(QSqlDatabase::connectionNames().constFirst()));
    WebDatabase other(WebDatabase::defaultFile(m_dir.path()));
    QSqlQuery lock(other.db());
    ASSERT_TRUE(lock.exec(QStringLiteral("UPDATE users SET locked = 1 WHERE username = 'dave'")));
    auto errid = [this](const QString& account, const QString& token) {
        return xmlFields(call("POST", QStringLiteral("/user/login.php"),
                              loginForm(account, QStringLiteral("velmora"), token, "username")).body)["errid"];
    };
    EXPECT_EQ(errid(QStringLiteral("dave"), newToken()), QStringLiteral("406"));
    EXPECT_EQ(errid(QStringLiteral("bob"), QStringLiteral("unknownToken")), QStringLiteral("403"));
    const QString token = newToken();
    m_now += 601;
    EXPECT_EQ(errid(QStringLiteral("bob"), token), QStringLiteral("403"));
}

TEST_F(WebServiceTest, OnlineCountProfileAndExit) {
    const QString token = newToken();
    const QByteArray query = "token=" + token.toLatin1();
    EXPECT_TRUE(call("GET", QStringLiteral("/info/online.php"), {}, query).body.startsWith("all=0\r\n"));
    ASSERT_EQ(xmlFields(call("POST", QStringLiteral("/user/login.php"),
                             loginForm(QStringLiteral("carol"), QStringLiteral("velmora"), token,
                                       "username")).body)["errid"],
              QStringLiteral("200"));
    EXPECT_TRUE(call("GET", QStringLiteral("/info/online.php"), {}, query).body.startsWith("all=1\r\n"));

    const WebReply profile = call("POST", QStringLiteral("/user/userinfo.php"), "userid=10003&" + query);
    EXPECT_EQ(profile.body, "10003|carol|4|%C5%AE|2500||0||0|0|10|0|0|0|0|0|0\r\n");
    // The room's form: several members, unknown ones left out, the saved table settings.
    ASSERT_EQ(call("POST", QStringLiteral("/user/savesetting.php"), query + "&setsameip=1&setflee=1&setfleenum=25").status, 200);
    const WebReply members = call("POST", QStringLiteral("/user/userinfo.php"), "userid=10001,99999,10003&gameid=1&" + query);
    const QList<QByteArray> lines = members.body.split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0].split('|').size(), 17);
    EXPECT_TRUE(lines[0].startsWith("10001|alice|"));
    EXPECT_EQ(lines[1], "10003|carol|4|%C5%AE|2500||0||1|1|25|0|0|0|0|0|0\r");
    QByteArray tooMany = "userid=1";
    for (int i = 0; i < 300; ++i) tooMany += ",1";
    EXPECT_EQ(call("POST", QStringLiteral("/user/userinfo.php"), tooMany + "&" + query).status, 400);
    EXPECT_EQ(call("POST", QStringLiteral("/user/userinfo.php"), "userid=99999&" + query).body, "");

    // Keep-alives hold the session; silence for longer than the idle time ends it.
    m_now += 500;
    EXPECT_NE(call("GET", QStringLiteral("/info/online.php"), {}, query).body, "Error");
    m_now += 500;
    EXPECT_NE(call("GET", QStringLiteral("/info/online.php"), {}, query).body, "Error");
    m_now += 601;
    EXPECT_EQ(call("GET", QStringLiteral("/info/online.php"), {}, query).body, "Error");
    EXPECT_EQ(call("POST", QStringLiteral("/user/userinfo.php"), "userid=10003&" + query).status, 403);

    const QString second = newToken();
    EXPECT_EQ(call("GET", QStringLiteral("/user/exit.php"), {}, "token=" + second.toLatin1()).body, "OK");
    EXPECT_EQ(call("GET", QStringLiteral("/info/online.php"), {}, "token=" + second.toLatin1()).body, "Error");
}

TEST_F(WebServiceTest, RepeatedWrongPasswordsLockOutTheAccountForAWhile) {
    qint64 now = 1'800'000'000;
    m_service->loginThrottle().setClock([&now] { return now; });
    const QString token = newToken();
    auto login = [&](const char* name, const char* password) {
        return xmlFields(call("POST", QStringLiteral("/user/login.php"),
                              loginForm(QString::fromLatin1(name), QString::fromLatin1(password), token, "username"))
                             .body)["errid"];
    };
    for (int i = 0; i < m_service->loginThrottle().limits().maxPerAccount; ++i)
        EXPECT_EQ(login("bob", "guess"), QStringLiteral("401"));
    EXPECT_EQ(login("bob", "velmora"), QStringLiteral("401"));  // refused without a check
    EXPECT_EQ(login("alice", "velmora"), QStringLiteral("200"));  // other accounts are not hit
    now += m_service->loginThrottle().limits().windowSeconds + 1;
    EXPECT_EQ(login("bob", "velmora"), QStringLiteral("200"));
    // A success clears the account's failures: one short of the limit twice over still logs in.
    const int almost = m_service->loginThrottle().limits().maxPerAccount - 1;
    for (int round = 0; round < 2; ++round) {
        for (int i = 0; i < almost; ++i) EXPECT_EQ(login("bob", "guess"), QStringLiteral("401"));
        EXPECT_EQ(login("bob", "velmora"), QStringLiteral("200")) << round;
    }
}

TEST_F(WebServiceTest, ANewLoginEndsTheUsersOlderSession) {
    const QString first = newToken();
    const QString second = newToken();
    for (const QString& token : {first, second})
        call("POST", QStringLiteral("/user/login.php"),
             loginForm(QStringLiteral("bob"), QStringLiteral("velmora"), token, "username"));
    EXPECT_EQ(call("GET", QStringLiteral("/info/online.php"), {}, "token=" + first.toLatin1()).body, "Error");
    EXPECT_TRUE(m_service->sessions().check(second, 10002));
}

TEST_F(WebServiceTest, BadRequestsGetAClearStatusAndChangeNothing) {
    const QString token = newToken();
    const QByteArray good = loginForm(QStringLiteral("alice"), QStringLiteral("velmora"), token, "username");
    struct Case {
        const char* name;
        const char* method;
        QString path;
        QByteArray form;
        int status;
    };
    const QByteArray md5 = hall::Md5Hex(QStringLiteral("velmora")).toLatin1();
    const Case cases[] = {
        {"no password", "POST", "/user/login.php", "username=YWxpY2U%3D&token=" + token.toLatin1() + "&logintype=username", 400},
        {"bad Base64", "POST", "/user/login.php", "username=%%%%&password=" + md5 + "&token=" + token.toLatin1() + "&logintype=username", 400},
        {"plain password", "POST", "/user/login.php", "username=YWxpY2U%3D&password=velmora&token=" + token.toLatin1() + "&logintype=username", 400},
        {"bad login type", "POST", "/user/login.php", "username=YWxpY2U%3D&password=" + md5 + "&token=" + token.toLatin1() + "&logintype=x", 400},
        {"login by GET", "GET", "/user/login.php", good, 405},
        {"unknown address", "GET", "/nothing.php", {}, 404},
        {"profile without id", "POST", "/user/userinfo.php", "token=" + token.toLatin1(), 400},
        {"profile with text id", "POST", "/user/userinfo.php", "userid=1e9&token=" + token.toLatin1(), 400},
        {"profile with an empty id", "POST", "/user/userinfo.php", "userid=10001,,10002&token=" + token.toLatin1(), 400},
        {"settings out of range", "POST", "/user/savesetting.php", "token=" + token.toLatin1() + "&setsameip=2&setflee=0&setfleenum=10", 400},
        {"drop without user", "GET", "/logdrop.php", "drop=0", 400},
        {"later service", "POST", "/chat/speak.php", "msg=x", 501},
    };
    for (const Case& c : cases)
        EXPECT_EQ(call(c.method, c.path, c.form).status, c.status) << c.name;
    EXPECT_TRUE(call("GET", QStringLiteral("/info/online.php"), {}, "token=" + token.toLatin1()).body.startsWith("all=0\r\n"));
    EXPECT_EQ(xmlFields(call("POST", QStringLiteral("/user/login.php"), good).body)["errid"], QStringLiteral("200"));
}

TEST_F(WebServiceTest, PasswordsAreStoredAsSaltedSlowHashes) {
    WebDatabase other(WebDatabase::defaultFile(m_dir.path()));
    QSqlQuery q(other.db());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT salt, hash, iterations FROM users ORDER BY id")));
    QSet<QByteArray> hashes;
    const QByteArray md5 = hall::Md5Hex(QStringLiteral("velmora")).toLatin1();
    while (q.next()) {
        const QByteArray hash = q.value(1).toByteArray();
        EXPECT_EQ(q.value(0).toByteArray().size(), kSaltBytes);
        EXPECT_FALSE(hash.contains(md5) || hash.toHex().contains(md5));
        EXPECT_TRUE(VerifyPassword(md5, {q.value(0).toByteArray(), hash, q.value(2).toInt()}));
        hashes.insert(hash);
    }
    EXPECT_EQ(hashes.size(), 4);  // one salt each: equal passwords, different hashes
}

TEST_F(WebServiceTest, AnotherConnectionChecksTokensAgainstTheSameDatabase) {
    const QString token = newToken();
    call("POST", QStringLiteral("/user/login.php"),
         loginForm(QStringLiteral("alice"), QStringLiteral("velmora"), token, "username"));
    WebDatabase roomSide(WebDatabase::defaultFile(m_dir.path()));
    SessionStore rooms(roomSide);
    rooms.setClock([this] { return m_now; });
    EXPECT_TRUE(rooms.check(token, 10001));
    EXPECT_FALSE(rooms.check(token, 10002));
    EXPECT_FALSE(rooms.check(QStringLiteral("x';--"), 10001));
    EXPECT_EQ(rooms.find(token)->encodeKey.size(), 8);
}

TEST_F(WebServiceTest, TheHallBootstrapsAndLogsInOverHttp) {
    ASSERT_TRUE(bootstrapHall());
    const hall::HallContext& context = hall::HallContext::instance();
    const QString reply = hall::HttpRequest(
        context.url(QStringLiteral("loginurl")), QStringLiteral("POST"),
        QString::fromLatin1(loginForm(QStringLiteral("bob"), QStringLiteral("velmora"), context.Token, "username")));
    EXPECT_TRUE(reply.contains(QStringLiteral("<errid>200</errid>"))) << reply.toStdString();
    EXPECT_TRUE(hall::HttpRequest(context.url(QStringLiteral("onlinecount")) + QStringLiteral("?token=") + context.Token,
                                  QStringLiteral("GET"))
                    .startsWith(QStringLiteral("all=1\r\n")));
    // A huge body is refused (413), which the client sees as a failure: empty after retries.
    EXPECT_TRUE(hall::HttpRequest(context.url(QStringLiteral("loginurl")), QStringLiteral("POST"),
                                  QString(200 * 1024, QLatin1Char('a')), 0).isEmpty());
}

}  // namespace
}  // namespace velmora::server
