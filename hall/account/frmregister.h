#pragma once
// "注册新用户": the registration wizard's form. Thin: widgets in, RegisterWizard's state out.

#include "hall/account/registerwizard.h"

#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTextBrowser;

namespace velmora::hall {

class TfrmRegister : public QDialog, private WizardSink {
    Q_OBJECT
public:
    TfrmRegister(AccountHttp http, const QString& appPath, const QString& checkUserUrl,
                 const QString& registerUrl, QWidget* owner = nullptr);
    ~TfrmRegister() override;

    const RegisterWizard& wizard() const { return m_wizard; }

    // Message boxes by default; tests answer them instead.
    void setPrompts(std::function<void(const QString&, MessageIcon)> show,
                    std::function<bool(const QString&)> confirm);

    // Components by their names.
    QStackedWidget* pages = nullptr;  // Panel1, Panel2, Panel3
    QTextBrowser* rtfLicense = nullptr;
    QCheckBox* chbAgree = nullptr;
    QLineEdit *UserName = nullptr, *PassWord = nullptr, *RePasswd = nullptr, *NickName = nullptr;
    QLineEdit *TrueName = nullptr, *CardID = nullptr, *Answer = nullptr, *Phone = nullptr;
    QComboBox *Sex = nullptr, *UserFace = nullptr, *Question = nullptr;
    QLabel* imgFace = nullptr;
    QPushButton *btnBack = nullptr, *btnNext = nullptr, *btnCancel = nullptr;

    void reject() override;

private:
    void showMessage(const QString& text, MessageIcon icon) override;
    bool confirmOkCancel(const QString& text) override;
    void focusField(int field) override;

    void buildLicensePage(const QString& appPath);
    void toModel();
    void fromModel();
    void onUserNameEdited(const QString& text);
    void showFace();

    RegisterWizard m_wizard;
    QString m_appPath;
    std::function<void(const QString&, MessageIcon)> m_show;
    std::function<bool(const QString&)> m_confirm;
};

}  // namespace velmora::hall
