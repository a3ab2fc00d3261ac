#pragma once
// The rules of the password recovery wizard (TfrmForget): step 1 the account (by user name or
// user id), step 2 the identity card, question and answer and the recovery request, step 3
// the new password. Its messages are plain (no icon).

#include "hall/account/accountwizard.h"

namespace velmora::hall {

enum class ForgetField { UserName, Question, CardID, Answer };

struct ForgetForm {
    bool byUserId = false;  // rbnLoginType2 checked
    QString userName;
    int question = 0;  // index into SecurityQuestions()
    QString cardId, answer;
};

class ForgetWizard {
public:
    ForgetWizard(AccountHttp http, WizardSink& sink, QString forgetUrl);

    ForgetForm& form() { return m_form; }
    const ForgetForm& form() const { return m_form; }

    int step() const { return m_step; }
    bool nextEnabled() const { return m_step != 1 || !m_form.userName.isEmpty(); }
    bool backEnabled() const { return m_step == 2; }
    bool cancelEnabled() const { return m_step != 3; }
    QString nextCaption() const;
    // "用户名：" or "用户ID：".
    QString userTypeLabel() const;
    QString newPassword() const { return m_newPassword; }
    bool finished() const { return m_finished; }

    void next();
    void back();
    void cancel() { m_closed = true; }

    QString forgetBody() const;

    static const QString kRecoveredNotice;
    static const QString kDoneCaption;  // "完成"

private:
    void message(const QString& text, ForgetField focus);
    void request();

    AccountHttp m_http;
    WizardSink& m_sink;
    QString m_forgetUrl;
    ForgetForm m_form;
    QString m_newPassword;
    int m_step = 1;
    bool m_busy = false;
    bool m_closed = false;
    bool m_finished = false;
};

}  // namespace velmora::hall
