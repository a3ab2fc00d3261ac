// The recovery wizard's rules against a scripted service.
#include "hall/account/forgetwizard.h"
#include "hall/account/tests/wizardfakes.h"

#include <gtest/gtest.h>

namespace velmora::hall::test {
namespace {

const QString kForgetUrl = QStringLiteral("http://svc/user/forget.php");

struct ForgetFixture : ::testing::Test {
    void toStep2() {
        wizard.form().userName = QStringLiteral("erin");
        wizard.next();
        ASSERT_EQ(wizard.step(), 2);
        wizard.form().cardId = QStringLiteral("110101");
        wizard.form().question = 1;
        wizard.form().answer = QStringLiteral("旺财");
    }
    FakeService service;
    FakeSink sink;
    ForgetWizard wizard{service.http(), sink, kForgetUrl};
};

TEST_F(ForgetFixture, StepOneNeedsANameOrId) {
    EXPECT_FALSE(wizard.nextEnabled());
    EXPECT_FALSE(wizard.backEnabled());
    EXPECT_EQ(wizard.userTypeLabel(), QStringLiteral("用户名："));
    wizard.form().byUserId = true;
    EXPECT_EQ(wizard.userTypeLabel(), QStringLiteral("用户ID："));
    wizard.next();
    EXPECT_EQ(sink.messages, QStringList{QStringLiteral("请输入用户名或是用户ID。")});
    EXPECT_EQ(sink.icons, QList<MessageIcon>{MessageIcon::None});
    EXPECT_EQ(wizard.step(), 1);
    wizard.form().userName = QStringLiteral("10005");
    EXPECT_TRUE(wizard.nextEnabled());
    wizard.next();
    EXPECT_EQ(wizard.step(), 2);
    EXPECT_TRUE(wizard.backEnabled());
    wizard.back();
    EXPECT_EQ(wizard.step(), 1);
}

TEST_F(ForgetFixture, StepTwoChecksInOrder) {
    struct Case {
        QString card;
        int question;
        QString answer;
        QString message;
        ForgetField focus;
    };
    const Case cases[] = {
        {"", 0, "", "请输入您的证件号码。", ForgetField::CardID},
        {"110101", 0, "", "请选择您忘记密码的问题。", ForgetField::Question},
        {"110101", 2, "", "请输入您忘记密码的答案。", ForgetField::Answer},
    };
    toStep2();
    for (const Case& c : cases) {
        wizard.form().cardId = c.card;
        wizard.form().question = c.question;
        wizard.form().answer = c.answer;
        sink.messages.clear();
        sink.focus.clear();
        wizard.next();
        EXPECT_EQ(sink.messages, QStringList{c.message});
        EXPECT_EQ(sink.focus, QList<int>{int(c.focus)});
        EXPECT_EQ(wizard.step(), 2);
    }
    EXPECT_TRUE(service.requests.isEmpty());
}

TEST_F(ForgetFixture, RecoveryReplies) {
    struct Case {
        QString reply;
        int step;
        QString message;
        QString password;
    };
    const Case cases[] = {
        {"", 2, "不能找回密码，请检查是下您是否联网。", ""},
        {"501", 2, "您输入的验证信息有误！", ""},
        {"ok", 2, "您输入的验证信息有误！", ""},
        {"500", 2, "您输入的验证信息有误！", ""},  // a success without a password
        {"500xAb3d9fGh", 3, "", "Ab3d9fGh"},
    };
    for (const Case& c : cases) {
        FakeService s;
        FakeSink k;
        ForgetWizard w(s.http(), k, kForgetUrl);
        w.form().userName = QStringLiteral("erin");
        w.next();
        w.form().cardId = QStringLiteral("110101");
        w.form().question = 1;
        w.form().answer = QStringLiteral("旺财");
        s.replies = {c.reply};
        w.next();
        EXPECT_EQ(w.step(), c.step) << c.reply.toStdString();
        EXPECT_EQ(k.last(), c.message) << c.reply.toStdString();
        EXPECT_EQ(w.newPassword(), c.password) << c.reply.toStdString();
    }
}

TEST_F(ForgetFixture, TheLastStepShowsThePasswordAndOnlyFinishes) {
    toStep2();
    wizard.form().byUserId = true;
    service.replies = {QStringLiteral("500|Ab3d9fGh")};
    wizard.next();
    ASSERT_EQ(service.requests.size(), 1);
    EXPECT_EQ(service.requests[0].first, kForgetUrl);
    const QString body = service.requests[0].second;
    EXPECT_EQ(FieldOf(body, "username"), QStringLiteral("erin"));
    EXPECT_EQ(FieldOf(body, "cardid"), QStringLiteral("110101"));
    EXPECT_EQ(FieldOf(body, "question"), QStringLiteral("我的宠物名字？"));
    EXPECT_EQ(FieldOf(body, "answer"), QStringLiteral("旺财"));
    EXPECT_TRUE(body.endsWith(QStringLiteral("&logintype=1")));

    EXPECT_EQ(wizard.step(), 3);
    EXPECT_EQ(wizard.newPassword(), QStringLiteral("Ab3d9fGh"));
    EXPECT_EQ(wizard.nextCaption(), QStringLiteral("完成"));
    EXPECT_FALSE(wizard.backEnabled());
    EXPECT_FALSE(wizard.cancelEnabled());
    wizard.back();
    EXPECT_EQ(wizard.step(), 3);
    wizard.next();
    EXPECT_TRUE(wizard.finished());
    EXPECT_EQ(service.requests.size(), 1);
}

}  // namespace
}  // namespace velmora::hall::test
