// The two forms, offscreen, walked through one happy path each against a scripted service.
#include "hall/account/facepicture.h"
#include "hall/account/frmforget.h"
#include "hall/account/frmregister.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTest>
#include <QTextBrowser>

namespace velmora::hall {
namespace {

QApplication* app() {
    static int argc = 1;
    static char name[] = "accountui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* instance = new QApplication(argc, argv);
    return instance;
}

struct Script {
    QStringList replies;
    QStringList urls;
    AccountHttp http() {
        return [this](const QString& url, const QString&) {
            urls << url;
            return replies.isEmpty() ? QString() : replies.takeFirst();
        };
    }
};

TEST(AccountForms, RegisterHappyPath) {
    app();
    Script script;
    script.replies = {QStringLiteral("300"), QStringLiteral("300|10005")};
    TfrmRegister form(script.http(), QStringLiteral("/nonexistent/"), QStringLiteral("http://s/c"),
                      QStringLiteral("http://s/r"));
    QStringList messages;
    form.setPrompts([&](const QString& text, MessageIcon) { messages << text; },
                    [](const QString&) { return true; });
    form.show();
    EXPECT_TRUE(form.rtfLicense->toPlainText().contains(QStringLiteral("用户服务协议")));
    EXPECT_FALSE(form.btnNext->isEnabled());
    form.chbAgree->setChecked(true);
    ASSERT_TRUE(form.btnNext->isEnabled());
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
    ASSERT_EQ(form.pages->currentIndex(), 1);

    QTest::keyClicks(form.UserName, QStringLiteral("abcdefghijklmno"));
    EXPECT_EQ(form.UserName->text(), QStringLiteral("abcdefghijklmn"));
    form.UserName->setText(QStringLiteral("erin"));
    form.PassWord->setText(QStringLiteral("secret123"));
    form.RePasswd->setText(QStringLiteral("secret123"));
    form.NickName->setText(QStringLiteral("Erin"));
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
    ASSERT_EQ(form.pages->currentIndex(), 2) << messages.join(QLatin1Char('|')).toStdString();

    EXPECT_FALSE(form.imgFace->pixmap().isNull());
    form.UserFace->setCurrentIndex(2);
    form.Sex->setCurrentText(QStringLiteral("女"));
    EXPECT_EQ(form.UserFace->currentText(), QStringLiteral("头像10"));
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_EQ(messages, QStringList{QStringLiteral("注册成功，您的ID是“10005”,点击确定开始登录。")});
    EXPECT_EQ(form.wizard().account().userName, QStringLiteral("erin"));
    EXPECT_EQ(script.urls, (QStringList{QStringLiteral("http://s/c"), QStringLiteral("http://s/r")}));
}

TEST(AccountForms, ForgetHappyPath) {
    app();
    Script script;
    script.replies = {QStringLiteral("500|Ab3d9fGh")};
    TfrmForget form(script.http(), QStringLiteral("http://s/f"));
    form.setPrompts([](const QString& text, MessageIcon) { ADD_FAILURE() << text.toStdString(); });
    form.show();
    EXPECT_FALSE(form.btnNext->isEnabled());
    form.rbnLoginType2->setChecked(true);
    EXPECT_EQ(form.lblUserType->text(), QStringLiteral("用户ID："));
    QTest::keyClicks(form.Username, QStringLiteral("10005"));
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
    ASSERT_EQ(form.pages->currentIndex(), 1);
    form.CardID->setText(QStringLiteral("110101"));
    form.Question->setCurrentIndex(1);
    form.Answer->setText(QStringLiteral("旺财"));
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
    ASSERT_EQ(form.pages->currentIndex(), 2);
    EXPECT_EQ(form.NewPassword->text(), QStringLiteral("Ab3d9fGh"));
    EXPECT_EQ(form.btnNext->text(), QStringLiteral("完成"));
    EXPECT_FALSE(form.btnCancel->isEnabled());
    EXPECT_FALSE(form.btnBack->isEnabled());
    QTest::mouseClick(form.btnNext, Qt::LeftButton);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(AccountForms, DrawnFacesDifferBySex) {
    app();
    const QImage man = DrawnFace(1), woman = DrawnFace(10), secret = DrawnFace(19);
    EXPECT_EQ(man.size(), QSize(kFacePictureSize, kFacePictureSize));
    EXPECT_NE(man, woman);
    EXPECT_NE(woman, secret);
    EXPECT_FALSE(FacePicture(QStringLiteral("/nonexistent/"), 30).isNull());
}

}  // namespace
}  // namespace velmora::hall
