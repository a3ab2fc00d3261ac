#include "hall/account/forgetwizard.h"

#include "hall/foundation/web/reentryguard.h"

namespace velmora::hall {

const QString ForgetWizard::kRecoveredNotice = QStringLiteral(
    "您的密码已经找回，请使用新密码登录，此时原密码仍然可以使用，如果使用新密码登录之后，原密码将不能再使用了。");
const QString ForgetWizard::kDoneCaption = QStringLiteral("完成");

ForgetWizard::ForgetWizard(AccountHttp http, WizardSink& sink, QString forgetUrl)
    : m_http(std::move(http)), m_sink(sink), m_forgetUrl(std::move(forgetUrl)) {}

QString ForgetWizard::nextCaption() const { return m_step == 3 ? kDoneCaption : kNextCaption; }

QString ForgetWizard::userTypeLabel() const {
    return m_form.byUserId ? QStringLiteral("用户ID：") : QStringLiteral("用户名：");
}

void ForgetWizard::message(const QString& text, ForgetField focus) {
    m_sink.showMessage(text, MessageIcon::None);
    m_sink.focusField(int(focus));
}

QString ForgetWizard::forgetBody() const {
    const QStringList& questions = SecurityQuestions();
    return QStringLiteral("username=") + EncodeField(m_form.userName) +
           QStringLiteral("&cardid=") + EncodeField(m_form.cardId) +
           QStringLiteral("&question=") + EncodeField(questions.value(m_form.question, questions.first())) +
           QStringLiteral("&answer=") + EncodeField(m_form.answer) +
           (m_form.byUserId ? QStringLiteral("&logintype=1") : QStringLiteral("&logintype=0"));
}

void ForgetWizard::next() {
    ReentryGuard guard(m_busy);
    if (!guard.entered() || m_closed || m_finished)
        return;
    switch (m_step) {
    case 1:
        if (m_form.userName.isEmpty())
            message(QStringLiteral("请输入用户名或是用户ID。"), ForgetField::UserName);
        else
            m_step = 2;
        break;
    case 2:
        if (m_form.cardId.isEmpty())
            message(QStringLiteral("请输入您的证件号码。"), ForgetField::CardID);
        else if (m_form.question <= 0 || m_form.question >= SecurityQuestions().size())
            message(QStringLiteral("请选择您忘记密码的问题。"), ForgetField::Question);
        else if (m_form.answer.isEmpty())
            message(QStringLiteral("请输入您忘记密码的答案。"), ForgetField::Answer);
        else
            request();
        break;
    case 3:
        m_finished = true;
        break;
    }
}

void ForgetWizard::request() {
    const QString reply = m_http(m_forgetUrl, forgetBody());
    if (m_closed)
        return;
    if (reply.isEmpty()) {
        m_sink.showMessage(QStringLiteral("不能找回密码，请检查是下您是否联网。"), MessageIcon::None);
    } else if (!reply.startsWith(QLatin1String("500")) || reply.mid(4).trimmed().isEmpty()) {
        // A success without a password would leave the player nothing to log in with.
        m_sink.showMessage(QStringLiteral("您输入的验证信息有误！"), MessageIcon::None);
    } else {
        m_newPassword = reply.mid(4).trimmed();
        m_step = 3;
    }
}

void ForgetWizard::back() {
    if (m_busy || m_closed || m_step != 2)
        return;
    m_step = 1;
}

}  // namespace velmora::hall
