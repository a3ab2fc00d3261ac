#pragma once
// "登录到Velmora": logs the player in by name or numeric account, remembers accounts and
// password hashes, shows the advertisement page and keeps the session alive while open.
// Output: HallContext::LoginOK and CurrentUser.

#include "hall/shell/core/loginmodel.h"
#include "platform/registry/registrystore.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class QWebEngineView;

namespace velmora::hall {

class TfrmLogin : public QDialog {
    Q_OBJECT
public:
    explicit TfrmLogin(platform::RegistryStore& store, QWidget* parent = nullptr);
    ~TfrmLogin() override;

    QFrame* pnlAD;
    QWebEngineView* WebAD;
    QFrame* pnlMain;
    QComboBox* UserName;
    QLineEdit* PassWord;
    QLabel* lblLoginText;
    QLabel* lblLoginType;
    QRadioButton* rbtUserName;
    QRadioButton* rbtUserID;
    QCheckBox* chbSaveLogin;
    QPushButton* btnLogin;
    QPushButton* btnCancel;
    QPushButton* btnRegister;
    QPushButton* btnForget;
    QPushButton* btnNetSetting;
    QTimer* Timer1;

    void btnLoginClick();
    void btnCancelClick();
    const LoginModel& model() const { return m_model; }

protected:
    void done(int result) override;

private:
    void loadregister();
    void UserNameSelect(int index);
    void keepAlive();

    platform::RegistryStore& m_store;
    LoginModel m_model;
    LoginTicket m_ticket;
    QString strHttpReturn;
    bool m_closing = false;
};

}  // namespace velmora::hall
