#include "hall/account/registerwizard.h"

#include "hall/foundation/publicfunc.h"
#include "hall/foundation/web/reentryguard.h"

namespace velmora::hall {
namespace {

constexpr int kShortPassword = 8;

}  // namespace

const QString RegisterWizard::kRegisteredMessage =
    QStringLiteral("注册成功，您的ID是“%1”,点击确定开始登录。");

RegisterWizard::RegisterWizard(AccountHttp http, WizardSink& sink, QString checkUserUrl,
                               QString registerUrl)
    : m_http(std::move(http)),
      m_sink(sink),
      m_checkUserUrl(std::move(checkUserUrl)),
      m_registerUrl(std::move(registerUrl)) {}

void RegisterWizard::message(const QString& text, RegisterField focus) {
    m_sink.showMessage(text, MessageIcon::Question);
    m_sink.focusField(int(focus));
}

void RegisterWizard::setSex(const QString& sex) {
    m_form.sex = sex;
    m_form.face = FaceForSex(sex, m_form.face);
}

QString RegisterWizard::checkUserBody() const {
    return QStringLiteral("username=") + EncodeField(m_form.userName.trimmed()) +
           QStringLiteral("&nickname=") + EncodeField(m_form.nickName.trimmed());
}

QString RegisterWizard::registerBody() const {
    const QStringList& questions = SecurityQuestions();
    const QString question = questions.value(m_form.question, questions.first());
    return QStringLiteral("username=") + EncodeField(m_form.userName.trimmed()) +
           QStringLiteral("&password=") + Md5Hex(m_form.passWord) +
           QStringLiteral("&nickname=") + EncodeField(m_form.nickName.trimmed()) +
           QStringLiteral("&truename=") + EncodeField(m_form.trueName) +
           QStringLiteral("&sex=") + EncodeField(m_form.sex) +
           QStringLiteral("&face=") + QString::number(m_form.face) +
           QStringLiteral("&cardid=") + EncodeField(m_form.cardId) +
           QStringLiteral("&question=") + EncodeField(question) +
           QStringLiteral("&answer=") + EncodeField(m_form.answer) +
           QStringLiteral("&phone=") + EncodeField(m_form.phone) + QStringLiteral("&logintype=0");
}

void RegisterWizard::next() {
    ReentryGuard guard(m_busy);
    if (!guard.entered() || m_closed || m_finished)
        return;
    switch (m_step) {
    case 1:
        if (m_form.agree)
            m_step = 2;
        break;
    case 2:
        if (checkAccountStep())
            finishAccountStep();
        break;
    case 3:
        finishProfileStep();
        break;
    }
}

void RegisterWizard::back() {
    if (m_busy || m_closed || m_finished)
        return;
    m_step = std::max(1, m_step - 1);
}

// The checks of step 2 that need no request, in their order.
bool RegisterWizard::checkAccountStep() {
    const QString name = m_form.userName.trimmed();
    const QString nick = m_form.nickName.trimmed();
    if (name.isEmpty()) {
        message(QStringLiteral("请输入用户名"), RegisterField::UserName);
        return false;
    }
    if (m_form.passWord.isEmpty()) {
        message(QStringLiteral("请输入密码"), RegisterField::PassWord);
        return false;
    }
    if (m_form.passWord != m_form.rePasswd) {
        m_form.passWord.clear();
        m_form.rePasswd.clear();
        message(QStringLiteral("密码确定不一至，请重新输入密码"), RegisterField::PassWord);
        return false;
    }
    if (nick.isEmpty()) {
        message(QStringLiteral("请输入昵称"), RegisterField::NickName);
        return false;
    }
    if (nick == name) {
        message(QStringLiteral("用户名和昵称不能相同，请换一个昵称！"), RegisterField::NickName);
        return false;
    }
    if (m_form.passWord.size() < kShortPassword &&
        !m_sink.confirmOkCancel(QStringLiteral("您的密码太简单了，确定使用这样的密码吗？"))) {
        m_sink.focusField(int(RegisterField::PassWord));
        return false;
    }
    return true;
}

void RegisterWizard::finishAccountStep() {
    const QString reply = m_http(m_checkUserUrl, checkUserBody()).trimmed();
    if (m_closed)
        return;
    if (reply.isEmpty()) {
        m_sink.showMessage(QStringLiteral("不能查看用户名是否存在，请检查是下您是否联网。"),
                           MessageIcon::Question);
    } else if (reply == QLatin1String("303")) {
        message(QStringLiteral("您注册的昵称已经存在了，请换一个昵称。"), RegisterField::NickName);
    } else if (reply == QLatin1String("300")) {
        m_step = 3;
    } else {
        message(QStringLiteral("您注册的用户名已经存在了，请换一个用户名。"), RegisterField::UserName);
    }
}

void RegisterWizard::finishProfileStep() {
    const QString reply = m_http(m_registerUrl, registerBody());
    if (m_closed)
        return;
    if (reply.isEmpty()) {
        m_sink.showMessage(QStringLiteral("不能注册用户，请检查是下您是否联网。"), MessageIcon::Question);
        return;
    }
    const QString code = reply.left(3);
    if (code == QLatin1String("301")) {
        m_step = 2;
        message(QStringLiteral("您注册的用户名已经存在了，请换一个用户名。"), RegisterField::UserName);
    } else if (code == QLatin1String("302")) {
        m_step = 2;
        message(QStringLiteral("您注册的昵称已经存在了，请换一个昵称。"), RegisterField::NickName);
    } else if (code == QLatin1String("300")) {
        m_account.userName = m_form.userName.trimmed();
        m_account.userId = reply.mid(4).trimmed();
        m_sink.showMessage(kRegisteredMessage.arg(m_account.userId), MessageIcon::Question);
        m_finished = true;
    } else {
        m_sink.showMessage(QStringLiteral("服务器出错，请稍后重试。"), MessageIcon::Question);
    }
}

}  // namespace velmora::hall
