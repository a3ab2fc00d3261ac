// The name check, registration and password recovery of the service: every reply code, what is
// stored (hashes only), the new password beside the old one, and the throttle.
#include "hall/account/forgetwizard.h"
#include "hall/account/registerwizard.h"
#include "hall/foundation/web/httprequest.h"
#include "server/web/tests/webfixture.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace velmora::server {
namespace {

QByteArray enc(const QString& text) { return hall::UrlEncodeText(hall::Base64EncodeText(text)).toLatin1(); }

struct Registration {
    QString username = QStringLiteral("erin");
    QString password = QStringLiteral("secret123");
    QString nickname = QStringLiteral("Erin");
    QString sex = QStringLiteral("女");
    QByteArray face = "12";
    QString cardid = QStringLiteral("11010119900101123x");
    QString question = QStringLiteral("我的宠物名字？");
    QString answer = QStringLiteral("旺财");

    QByteArray body() const {
        return "username=" + enc(username) + "&password=" + hall::Md5Hex(password).toLatin1() +
               "&nickname=" + enc(nickname) + "&truename=" + enc(QStringLiteral("张三")) + "&sex=" + enc(sex) +
               "&face=" + face + "&cardid=" + enc(cardid) + "&question=" + enc(question) +
               "&answer=" + enc(answer) + "&phone=" + enc(QStringLiteral("13800000000")) + "&logintype=0";
    }
};

class AccountTest : public WebServiceTest {
protected:
    QByteArray checkUser(const QString& name, const QString& nick) {
        return call("POST", QStringLiteral("/user/checkuser.php"), "username=" + enc(name) + "&nickname=" + enc(nick)).body;
    }
    QByteArray registerUser(const Registration& r) {
        return call("POST", QStringLiteral("/user/register.php"), r.body()).body;
    }
    QByteArray forget(const QString& account, const QString& cardid, const QString& question,
                      const QString& answer, int type = 0) {
        return call("POST", QStringLiteral("/user/forget.php"),
                    "username=" + enc(account) + "&cardid=" + enc(cardid) + "&question=" + enc(question) +
                        "&answer=" + enc(answer) + "&logintype=" + QByteArray::number(type))
            .body;
    }
    QString login(const QString& name, const QString& password) {
        return xmlFields(call("POST", QStringLiteral("/user/login.php"),
                              loginForm(name, password, newToken(), "username")).body)["errid"];
    }
};

TEST_F(AccountTest, NameCheckReplies) {
    struct Case {
        QString name, nick;
        const char* reply;
    };
    const Case cases[] = {
        {QStringLiteral("erin"), QStringLiteral("Erin"), "300"},
        {QStringLiteral("  erin "), QStringLiteral(" Erin"), "300"},
        {QStringLiteral("一二三四五六七"), QStringLiteral("七"), "300"},  // 14 GBK bytes
        {QStringLiteral("一二三四五六七八"), QStringLiteral("八"), "301"},  // 16 bytes
        {QStringLiteral("abcdefghijklmno"), QStringLiteral("x"), "301"},  // 15 bytes
        {QStringLiteral("alice"), QStringLiteral("Someone"), "301"},
        {QStringLiteral("ALICE"), QStringLiteral("Someone"), "301"},
        {QStringLiteral("   "), QStringLiteral("Someone"), "301"},
        {QStringLiteral("a|b"), QStringLiteral("Someone"), "301"},
        {QStringLiteral("erin"), QStringLiteral("bob"), "303"},
        {QStringLiteral("erin"), QStringLiteral(" "), "303"},
        {QStringLiteral("alice"), QStringLiteral("bob"), "301"},  // the user name is told first
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkUser(c.name, c.nick), c.reply) << c.name.toStdString() << " / " << c.nick.toStdString();
    EXPECT_EQ(call("POST", QStringLiteral("/user/checkuser.php"), "username=%%%%&nickname=eA%3D%3D").status, 400);
    EXPECT_EQ(call("POST", QStringLiteral("/user/checkuser.php"), "username=eA%3D%3D").status, 400);
}

TEST_F(AccountTest, RegistrationStoresTheAccountWithHashesOnly) {
    const Registration erin;
    EXPECT_EQ(registerUser(erin), "300|10005");
    EXPECT_EQ(login(QStringLiteral("erin"), erin.password), QStringLiteral("200"));
    const auto user = m_service->users().findByName(QStringLiteral("erin"));
    ASSERT_TRUE(user);
    EXPECT_EQ(user->nickname, QStringLiteral("Erin"));
    EXPECT_EQ(user->sex, QStringLiteral("女"));
    EXPECT_EQ(user->face, 12);
    EXPECT_EQ(user->money, 1000);
    EXPECT_TRUE(m_service->recovery().hasRecovery(user->id));

    // Neither the password digest, the answer nor the card number is kept as sent.
    WebDatabase other(WebDatabase::defaultFile(m_dir.path()));
    QSqlQuery q(other.db());
    ASSERT_TRUE(q.exec(QStringLiteral("SELECT * FROM user_recovery")));
    const QByteArray md5 = hall::Md5Hex(erin.password).toLatin1();
    while (q.next()) {
        for (int i = 0; i < q.record().count(); ++i) {
            const QByteArray value = q.value(i).toByteArray();
            for (const QByteArray& secret : {erin.answer.toUtf8(), erin.cardid.toUtf8(), erin.cardid.toUpper().toUtf8(), md5})
                EXPECT_FALSE(value.contains(secret) || value.toHex().contains(secret.toHex())) << i;
        }
    }

    struct Case {
        const char* name;
        Registration r;
        const char* reply;
    };
    Registration sameName;
    sameName.username = QStringLiteral("ERIN");
    sameName.nickname = QStringLiteral("Other");
    Registration sameNick;
    sameNick.username = QStringLiteral("frank");
    sameNick.nickname = QStringLiteral("erin");
    Registration badSex = sameNick;
    badSex.nickname = QStringLiteral("Frank");
    badSex.sex = QStringLiteral("x");
    Registration longAnswer = badSex;
    longAnswer.sex = QStringLiteral("男");
    longAnswer.answer = QString(65, QLatin1Char('a'));
    const Case refused[] = {
        {"user name taken", sameName, "301"},
        {"nick name taken", sameNick, "302"},
        {"unknown sex", badSex, "304"},
        {"answer too long", longAnswer, "304"},
    };
    for (const Case& c : refused)
        EXPECT_EQ(registerUser(c.r), c.reply) << c.name;
    Registration badFace = longAnswer;
    badFace.answer = QStringLiteral("a");
    badFace.face = "31";
    EXPECT_EQ(call("POST", QStringLiteral("/user/register.php"), badFace.body()).status, 400);
    EXPECT_EQ(call("POST", QStringLiteral("/user/register.php"),
                   QByteArray(badFace.body()).replace(hall::Md5Hex(badFace.password).toLatin1(), "plain")).status,
              400);
    EXPECT_EQ(m_service->users().count(), 5);

    // Without a chosen question the account has no recovery.
    Registration noQuestion = badFace;
    noQuestion.face = "20";
    noQuestion.question = QStringLiteral("--请选择您的问题--");
    EXPECT_EQ(registerUser(noQuestion), "300|10006");
    EXPECT_FALSE(m_service->recovery().hasRecovery(10006));
    EXPECT_EQ(forget(QStringLiteral("frank"), noQuestion.cardid, noQuestion.question, noQuestion.answer), "501");
}

TEST_F(AccountTest, RecoveryIssuesAPasswordThatReplacesTheOldOneOnFirstUse) {
    const Registration erin;
    ASSERT_EQ(registerUser(erin), "300|10005");
    struct Case {
        const char* name;
        QString account, cardid, question, answer;
        int type;
        const char* reply;
    };
    const Case wrong[] = {
        {"wrong answer", "erin", erin.cardid, erin.question, QStringLiteral("小黑"), 0, "501"},
        {"wrong question", "erin", erin.cardid, QStringLiteral("我最喜爱的颜色？"), erin.answer, 0, "501"},
        {"wrong card", "erin", QStringLiteral("110101199001011234"), erin.question, erin.answer, 0, "501"},
        {"unknown account", "nobody", erin.cardid, erin.question, erin.answer, 0, "501"},
        {"name given as id", "erin", erin.cardid, erin.question, erin.answer, 1, "501"},
        {"demo account without data", "alice", erin.cardid, erin.question, erin.answer, 0, "501"},
    };
    for (const Case& c : wrong)
        EXPECT_EQ(forget(c.account, c.cardid, c.question, c.answer, c.type), c.reply) << c.name;

    // By id, card number in other case, answer with blanks around it.
    const QByteArray reply = forget(QStringLiteral("10005"), erin.cardid.toUpper(), erin.question,
                                    QStringLiteral(" 旺财 "), 1);
    ASSERT_TRUE(reply.startsWith("500|")) << reply.toStdString();
    const QString fresh = QString::fromLatin1(reply.mid(4));
    EXPECT_EQ(fresh.size(), RecoveryStore::kNewPasswordLength);

    EXPECT_EQ(login(QStringLiteral("erin"), erin.password), QStringLiteral("200")) << "old still works";
    EXPECT_EQ(login(QStringLiteral("erin"), fresh), QStringLiteral("200"));
    EXPECT_EQ(login(QStringLiteral("erin"), erin.password), QStringLiteral("401")) << "old ends with the new one";
    EXPECT_EQ(login(QStringLiteral("erin"), fresh), QStringLiteral("200"));

    const QByteArray second = forget(QStringLiteral("erin"), erin.cardid, erin.question, erin.answer);
    ASSERT_TRUE(second.startsWith("500|"));
    EXPECT_NE(second.mid(4), reply.mid(4));
    EXPECT_EQ(call("POST", QStringLiteral("/user/forget.php"), "username=ZXJpbg%3D%3D&cardid=&question=&answer=&logintype=2").status, 400);
}

TEST_F(AccountTest, RepeatedFailuresAreThrottledPerAccountAndPerAddress) {
    const Registration erin;
    ASSERT_EQ(registerUser(erin), "300|10005");
    for (int i = 0; i < RecoveryStore::kMaxAccountFailures; ++i)
        ASSERT_EQ(forget(QStringLiteral("erin"), erin.cardid, erin.question, QStringLiteral("x")), "501") << i;
    EXPECT_EQ(forget(QStringLiteral("erin"), erin.cardid, erin.question, erin.answer), "502") << "right answer not checked";
    m_now += RecoveryStore::kFailureWindow - 1;
    EXPECT_EQ(forget(QStringLiteral("erin"), erin.cardid, erin.question, erin.answer), "502");
    m_now += 2;
    EXPECT_TRUE(forget(QStringLiteral("erin"), erin.cardid, erin.question, erin.answer).startsWith("500|"));

    // Guessing across accounts is held by the sender's address.
    for (int i = 0; i < RecoveryStore::kMaxAddressFailures; ++i)
        forget(QStringLiteral("user%1").arg(i), erin.cardid, erin.question, erin.answer);
    EXPECT_EQ(forget(QStringLiteral("erin"), erin.cardid, erin.question, erin.answer), "502");
    m_now += RecoveryStore::kFailureWindow + 1;
    EXPECT_TRUE(forget(QStringLiteral("erin"), erin.cardid, erin.question, erin.answer).startsWith("500|"));
}

}  // namespace
}  // namespace velmora::server

namespace velmora::server {
namespace {

// The hall's own wizards against this service over HTTP: their wire forms agree.
TEST_F(AccountTest, TheHallsWizardsRegisterAndRecoverOverHttp) {
    struct Sink : hall::WizardSink {
        QStringList messages;
        void showMessage(const QString& text, hall::MessageIcon) override { messages << text; }
        bool confirmOkCancel(const QString&) override { return true; }
        void focusField(int) override {}
    } sink;
    const hall::AccountHttp http = [](const QString& url, const QString& form) {
        return hall::HttpRequest(url, QStringLiteral("POST"), form, 0);
    };
    const QString base = m_service->baseUrl();
    hall::RegisterWizard reg(http, sink, base + QStringLiteral("/user/checkuser.php"),
                             base + QStringLiteral("/user/register.php"));
    reg.form().agree = true;
    reg.next();
    reg.form().userName = QStringLiteral(" 小明 ");
    reg.form().passWord = reg.form().rePasswd = QStringLiteral("pass+word 1");
    reg.form().nickName = QStringLiteral("明明");
    reg.next();
    ASSERT_EQ(reg.step(), 3) << sink.messages.join(QLatin1Char('|')).toStdString();
    reg.setSex(QStringLiteral("保密"));
    reg.form().cardId = QStringLiteral("A123");
    reg.form().question = 16;
    reg.form().answer = QStringLiteral("&=+ 台词");
    reg.next();
    ASSERT_TRUE(reg.finished()) << sink.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(reg.account().userId, QStringLiteral("10005"));
    EXPECT_EQ(m_service->users().findById(10005)->face, 19);
    EXPECT_EQ(login(QStringLiteral("小明"), QStringLiteral("pass+word 1")), QStringLiteral("200"));

    hall::ForgetWizard forget(http, sink, base + QStringLiteral("/user/forget.php"));
    forget.form().userName = QStringLiteral("小明");
    forget.next();
    forget.form().cardId = QStringLiteral("a123");
    forget.form().question = 16;
    forget.form().answer = QStringLiteral("&=+ 台词");
    forget.next();
    ASSERT_EQ(forget.step(), 3) << sink.messages.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(login(QStringLiteral("小明"), forget.newPassword()), QStringLiteral("200"));
}

}  // namespace
}  // namespace velmora::server
