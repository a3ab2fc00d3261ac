#pragma once
// The rules of the registration wizard (TfrmRegister): three steps (licence, account, profile),
// the checks and messages of each step, the name check and the registration request, and
// what a refused registration leads back to. The form copies its widgets into form() before
// an action and shows step(), the button states and form() afterwards.

#include "hall/account/accountwizard.h"

namespace velmora::hall {

enum class RegisterField {
    Agree, UserName, PassWord, RePasswd, NickName,
    TrueName, Sex, CardID, UserFace, Question, Answer, Phone,
};

struct RegisterForm {
    bool agree = false;
    QString userName, passWord, rePasswd, nickName;
    QString trueName;
    QString sex = QStringLiteral("男");
    QString cardId;
    int face = 1;      // 1..kFaceCount
    int question = 0;  // index into SecurityQuestions()
    QString answer, phone;
};

// The account a successful registration created, for the login dialog.
struct RegisteredAccount {
    QString userName;
    QString userId;  // as the service answered it
};

class RegisterWizard {
public:
    RegisterWizard(AccountHttp http, WizardSink& sink, QString checkUserUrl, QString registerUrl);

    RegisterForm& form() { return m_form; }
    const RegisterForm& form() const { return m_form; }

    int step() const { return m_step; }
    bool backEnabled() const { return m_step > 1; }
    // Step 1: exactly while the licence is agreed to.
    bool nextEnabled() const { return m_step != 1 || m_form.agree; }
    // Set once the account was created; the form then closes.
    bool finished() const { return m_finished; }
    const RegisteredAccount& account() const { return m_account; }

    void next();
    void back();
    // The dialog was closed: a reply still on its way is ignored.
    void cancel() { m_closed = true; }

    // The sex box changed: the face moves into the sex's range.
    void setSex(const QString& sex);

    // The request bodies (exposed for the tests of the wire form).
    QString checkUserBody() const;
    QString registerBody() const;

    static const QString kRegisteredMessage;  // "注册成功，您的ID是“%1”,点击确定开始登录。"

private:
    bool checkAccountStep();
    void finishAccountStep();
    void finishProfileStep();
    void message(const QString& text, RegisterField focus);

    AccountHttp m_http;
    WizardSink& m_sink;
    QString m_checkUserUrl;
    QString m_registerUrl;
    RegisterForm m_form;
    RegisteredAccount m_account;
    int m_step = 1;
    bool m_busy = false;  // a request of this wizard keeps the event loop running
    bool m_closed = false;
    bool m_finished = false;
};

}  // namespace velmora::hall
