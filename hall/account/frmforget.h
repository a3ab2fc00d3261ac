#pragma once
// "忘记密码": the password recovery wizard's form. Thin: widgets in, ForgetWizard's state out.

#include "hall/account/forgetwizard.h"

#include <QDialog>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QStackedWidget;

namespace velmora::hall {

class TfrmForget : public QDialog, private WizardSink {
    Q_OBJECT
public:
    TfrmForget(AccountHttp http, const QString& forgetUrl, QWidget* owner = nullptr);
    ~TfrmForget() override;

    const ForgetWizard& wizard() const { return m_wizard; }
    void setPrompts(std::function<void(const QString&, MessageIcon)> show);

    QStackedWidget* pages = nullptr;  // Panel1, Panel2, Panel3
    QRadioButton *rbnLoginType1 = nullptr, *rbnLoginType2 = nullptr;
    QLabel* lblUserType = nullptr;
    QLineEdit* Username = nullptr;
    QComboBox* Question = nullptr;
    QLineEdit *CardID = nullptr, *Answer = nullptr, *NewPassword = nullptr;
    QPushButton *btnBack = nullptr, *btnNext = nullptr, *btnCancel = nullptr;

    void reject() override;

private:
    void showMessage(const QString& text, MessageIcon icon) override;
    bool confirmOkCancel(const QString& text) override;
    void focusField(int field) override;

    void toModel();
    void fromModel();

    ForgetWizard m_wizard;
    std::function<void(const QString&, MessageIcon)> m_show;
};

}  // namespace velmora::hall
