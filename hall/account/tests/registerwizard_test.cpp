// The registration wizard's rules against a scripted service.
#include "hall/account/registerwizard.h"
#include "hall/account/tests/wizardfakes.h"
#include "hall/foundation/publicfunc.h"

#include <gtest/gtest.h>

namespace velmora::hall::test {

QString FieldOf(const QString& body, const QString& name) {
    for (const QString& piece : body.split(QLatin1Char('&'))) {
        if (piece.startsWith(name + QLatin1Char('=')))
            return Base64DecodeText(UrlDecodeText(piece.mid(name.size() + 1)));
    }
    return QStringLiteral("<missing>");
}

namespace {

const QString kCheckUrl = QStringLiteral("http://svc/user/checkuser.php");
const QString kRegisterUrl = QStringLiteral("http://svc/user/register.php");

class RegisterWizardTest : public ::testing::Test {
protected:
    RegisterWizard& wizard() { return m_wizard; }
    // A wizard on step 2 with a valid account.
    void toStep2() {
        m_wizard.form().agree = true;
        m_wizard.next();
        RegisterForm& f = m_wizard.form();
        f.userName = QStringLiteral("erin");
        f.passWord = f.rePasswd = QStringLiteral("secret123");
        f.nickName = QStringLiteral("Erin");
    }
    void toStep3() {
        toStep2();
        m_service.replies = {QStringLiteral("300")};
        m_wizard.next();
        ASSERT_EQ(m_wizard.step(), 3);
        m_service.requests.clear();
    }

    FakeService m_service;
    FakeSink m_sink;
    RegisterWizard m_wizard{m_service.http(), m_sink, kCheckUrl, kRegisterUrl};
};

TEST_F(RegisterWizardTest, TheLicenceMustBeAgreedToAndBackReturns) {
    EXPECT_EQ(wizard().step(), 1);
    EXPECT_FALSE(wizard().nextEnabled());
    EXPECT_FALSE(wizard().backEnabled());
    wizard().next();
    EXPECT_EQ(wizard().step(), 1);
    wizard().form().agree = true;
    EXPECT_TRUE(wizard().nextEnabled());
    wizard().next();
    EXPECT_EQ(wizard().step(), 2);
    EXPECT_TRUE(wizard().backEnabled());
    wizard().back();
    wizard().back();
    EXPECT_EQ(wizard().step(), 1);
    EXPECT_FALSE(wizard().backEnabled());
    EXPECT_TRUE(m_sink.messages.isEmpty());
}

TEST_F(RegisterWizardTest, AccountChecksInOrderWithoutARequest) {
    struct Case {
        const char* name;
        QString user, password, repeat, nick;
        QString message;
        RegisterField focus;
    };
    const Case cases[] = {
        {"blank name", "  ", "", "", "", "请输入用户名", RegisterField::UserName},
        {"no password", "erin", "", "", "", "请输入密码", RegisterField::PassWord},
        {"passwords differ", "erin", "secret123", "secret124", "Erin", "密码确定不一至，请重新输入密码", RegisterField::PassWord},
        {"blank nick", "erin", "secret123", "secret123", " ", "请输入昵称", RegisterField::NickName},
        {"nick equals name", " abc", "secret123", "secret123", "abc ", "用户名和昵称不能相同，请换一个昵称！", RegisterField::NickName},
    };
    for (const Case& c : cases) {
        toStep2();
        RegisterForm& f = wizard().form();
        f.userName = c.user;
        f.passWord = c.password;
        f.rePasswd = c.repeat;
        f.nickName = c.nick;
        m_sink.messages.clear();
        m_sink.focus.clear();
        wizard().next();
        EXPECT_EQ(wizard().step(), 2) << c.name;
        EXPECT_EQ(m_sink.messages, QStringList{c.message}) << c.name;
        EXPECT_EQ(m_sink.icons.last(), MessageIcon::Question) << c.name;
        EXPECT_EQ(m_sink.focus, QList<int>{int(c.focus)}) << c.name;
    }
    EXPECT_TRUE(m_service.requests.isEmpty());
    // The mismatch empties both password boxes.
    toStep2();
    wizard().form().rePasswd = QStringLiteral("other");
    wizard().next();
    EXPECT_TRUE(wizard().form().passWord.isEmpty());
    EXPECT_TRUE(wizard().form().rePasswd.isEmpty());
}

TEST_F(RegisterWizardTest, AShortPasswordIsConfirmedFirst) {
    toStep2();
    wizard().form().passWord = wizard().form().rePasswd = QStringLiteral("1234567");
    m_sink.answerOk = false;
    wizard().next();
    EXPECT_EQ(m_sink.questions, QStringList{QStringLiteral("您的密码太简单了，确定使用这样的密码吗？")});
    EXPECT_EQ(m_sink.focus, QList<int>{int(RegisterField::PassWord)});
    EXPECT_EQ(wizard().step(), 2);
    EXPECT_TRUE(m_service.requests.isEmpty());

    m_sink.answerOk = true;
    m_service.replies = {QStringLiteral("300")};
    wizard().next();
    ASSERT_EQ(m_service.requests.size(), 1);
    EXPECT_EQ(m_service.requests[0].first, kCheckUrl);
    EXPECT_EQ(wizard().step(), 3);

    m_sink.questions.clear();
    wizard().back();
    wizard().form().passWord = wizard().form().rePasswd = QStringLiteral("12345678");
    m_service.replies = {QStringLiteral("300")};
    wizard().next();
    EXPECT_TRUE(m_sink.questions.isEmpty()) << "8 characters are not asked about";
}

TEST_F(RegisterWizardTest, NameCheckReplies) {
    struct Case {
        QString reply;
        int step;
        QString message;
        QList<int> focus;
    };
    const Case cases[] = {
        {"", 2, "不能查看用户名是否存在，请检查是下您是否联网。", {}},
        {"303", 2, "您注册的昵称已经存在了，请换一个昵称。", {int(RegisterField::NickName)}},
        {"301", 2, "您注册的用户名已经存在了，请换一个用户名。", {int(RegisterField::UserName)}},
        {"taken", 2, "您注册的用户名已经存在了，请换一个用户名。", {int(RegisterField::UserName)}},
        {"300", 3, "", {}},
    };
    for (const Case& c : cases) {
        FakeService service;
        FakeSink sink;
        RegisterWizard w(service.http(), sink, kCheckUrl, kRegisterUrl);
        w.form().agree = true;
        w.next();
        w.form().userName = QStringLiteral(" erin ");
        w.form().passWord = w.form().rePasswd = QStringLiteral("secret123");
        w.form().nickName = QStringLiteral("艾琳");
        service.replies = {c.reply};
        w.next();
        EXPECT_EQ(w.step(), c.step) << c.reply.toStdString();
        EXPECT_EQ(sink.last(), c.message) << c.reply.toStdString();
        EXPECT_EQ(sink.focus, c.focus) << c.reply.toStdString();
        ASSERT_EQ(service.requests.size(), 1);
        EXPECT_EQ(FieldOf(service.requests[0].second, "username"), QStringLiteral("erin"));
        EXPECT_EQ(FieldOf(service.requests[0].second, "nickname"), QStringLiteral("艾琳"));
    }
}

TEST_F(RegisterWizardTest, RegistrationRequestCarriesEveryField) {
    toStep3();
    RegisterForm& f = wizard().form();
    f.trueName = QStringLiteral("张三");
    wizard().setSex(QStringLiteral("女"));
    f.cardId = QStringLiteral("110101");
    f.question = 3;
    f.answer = QStringLiteral("蓝 色");
    f.phone = QStringLiteral("138");
    m_service.replies = {QStringLiteral("300x123456")};
    wizard().next();
    ASSERT_EQ(m_service.requests.size(), 1);
    EXPECT_EQ(m_service.requests[0].first, kRegisterUrl);
    const QString body = m_service.requests[0].second;
    EXPECT_TRUE(body.startsWith(QStringLiteral("username=")));
    EXPECT_TRUE(body.endsWith(QStringLiteral("&logintype=0")));
    EXPECT_TRUE(body.contains(QStringLiteral("&password=") + Md5Hex(QStringLiteral("secret123")) + QStringLiteral("&")));
    EXPECT_TRUE(body.contains(QStringLiteral("&face=10&")));
    EXPECT_EQ(FieldOf(body, "truename"), QStringLiteral("张三"));
    EXPECT_EQ(FieldOf(body, "sex"), QStringLiteral("女"));
    EXPECT_EQ(FieldOf(body, "question"), QStringLiteral("我最喜爱的颜色？"));
    EXPECT_EQ(FieldOf(body, "answer"), QStringLiteral("蓝 色"));
    EXPECT_EQ(FieldOf(body, "phone"), QStringLiteral("138"));
    EXPECT_EQ(FieldOf(body, "cardid"), QStringLiteral("110101"));
}

TEST_F(RegisterWizardTest, RegistrationReplies) {
    struct Case {
        QString reply;
        int step;
        bool finished;
        QString message;
        QList<int> focus;
    };
    const Case cases[] = {
        {"300x123456", 3, true, "注册成功，您的ID是“123456”,点击确定开始登录。", {}},
        {"301", 2, false, "您注册的用户名已经存在了，请换一个用户名。", {int(RegisterField::UserName)}},
        {"302", 2, false, "您注册的昵称已经存在了，请换一个昵称。", {int(RegisterField::NickName)}},
        {"", 3, false, "不能注册用户，请检查是下您是否联网。", {}},
        {"304", 3, false, "服务器出错，请稍后重试。", {}},
    };
    for (const Case& c : cases) {
        m_service.requests.clear();
        FakeService service;
        FakeSink sink;
        RegisterWizard w(service.http(), sink, kCheckUrl, kRegisterUrl);
        w.form().agree = true;
        w.next();
        w.form().userName = QStringLiteral("erin ");
        w.form().passWord = w.form().rePasswd = QStringLiteral("secret123");
        w.form().nickName = QStringLiteral("Erin");
        service.replies = {QStringLiteral("300"), c.reply};
        w.next();
        sink.focus.clear();
        w.next();
        EXPECT_EQ(w.step(), c.step) << c.reply.toStdString();
        EXPECT_EQ(w.finished(), c.finished) << c.reply.toStdString();
        EXPECT_EQ(sink.last(), c.message) << c.reply.toStdString();
        EXPECT_EQ(sink.focus, c.focus) << c.reply.toStdString();
        // Every field is kept as typed.
        EXPECT_EQ(w.form().passWord, QStringLiteral("secret123"));
        if (c.finished) {
            EXPECT_EQ(w.account().userId, QStringLiteral("123456"));
            EXPECT_EQ(w.account().userName, QStringLiteral("erin"));
        }
    }
}

TEST_F(RegisterWizardTest, AClosedOrBusyWizardIgnoresReplyAndClicks) {
    toStep3();
    m_service.replies = {QStringLiteral("300|5")};
    m_service.during = [this] {
        wizard().next();  // a second click while the request runs
        wizard().back();
        wizard().cancel();
    };
    wizard().next();
    EXPECT_EQ(m_service.requests.size(), 1);
    EXPECT_FALSE(wizard().finished());
    EXPECT_EQ(wizard().step(), 3);
    EXPECT_TRUE(m_sink.messages.isEmpty());
}

TEST(AccountText, UserNameIsCutToFourteenBytes) {
    struct Case {
        QString in, out;
    };
    const Case cases[] = {
        {"abcdefghijklmn", "abcdefghijklmn"},
        {"abcdefghijklmno", "abcdefghijklmn"},
        {"一二三四五六七八", "一二三四五六七"},
        {"abcdefghijklm一", "abcdefghijklm"},  // no half character
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CutToBytes(c.in, kMaxUserNameBytes), c.out) << c.in.toStdString();
}

TEST(AccountText, FaceFollowsSex) {
    struct Case {
        const char* sex;
        int face, expected;
    };
    const Case cases[] = {
        {"女", 3, 10}, {"女", 12, 12}, {"女", 18, 18}, {"女", 19, 10}, {"男", 9, 1}, {"男", 8, 8},
        {"男", 25, 1}, {"保密", 18, 19}, {"保密", 25, 25}, {"保密", 30, 30}, {"", 7, 7},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FaceForSex(QString::fromUtf8(c.sex), c.face), c.expected) << c.sex << c.face;
    EXPECT_EQ(SecurityQuestions().size(), 17);
    EXPECT_EQ(SecurityQuestions().first(), QStringLiteral("--请选择您的问题--"));
}

}  // namespace
}  // namespace velmora::hall::test
