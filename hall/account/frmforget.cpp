#include "hall/account/frmforget.h"
#include "hall/account/wizardbuttons.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace velmora::hall {

TfrmForget::TfrmForget(AccountHttp http, const QString& forgetUrl, QWidget* owner)
    : QDialog(owner), m_wizard(std::move(http), *this, forgetUrl) {
    setObjectName(QStringLiteral("frmForget"));
    setWindowTitle(QStringLiteral("忘记密码"));
    resize(460, 260);
    pages = new QStackedWidget(this);

    auto* panel1 = new QWidget(pages);
    panel1->setObjectName(QStringLiteral("Panel1"));
    rbnLoginType1 = new QRadioButton(QStringLiteral("用户名"), panel1);
    rbnLoginType2 = new QRadioButton(QStringLiteral("用户ID"), panel1);
    rbnLoginType1->setObjectName(QStringLiteral("rbnLoginType1"));
    rbnLoginType2->setObjectName(QStringLiteral("rbnLoginType2"));
    rbnLoginType1->setChecked(true);
    lblUserType = new QLabel(panel1);
    lblUserType->setObjectName(QStringLiteral("lblUserType"));
    Username = new QLineEdit(panel1);
    Username->setObjectName(QStringLiteral("Username"));
    auto* radios = new QHBoxLayout;
    radios->addWidget(rbnLoginType1);
    radios->addWidget(rbnLoginType2);
    radios->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addWidget(lblUserType);
    row->addWidget(Username, 1);
    auto* layout1 = new QVBoxLayout(panel1);
    layout1->addLayout(radios);
    layout1->addLayout(row);
    layout1->addStretch(1);
    pages->addWidget(panel1);

    auto* panel2 = new QWidget(pages);
    panel2->setObjectName(QStringLiteral("Panel2"));
    Question = new QComboBox(panel2);
    Question->setObjectName(QStringLiteral("Question"));
    Question->addItems(SecurityQuestions());
    CardID = new QLineEdit(panel2);
    CardID->setObjectName(QStringLiteral("CardID"));
    Answer = new QLineEdit(panel2);
    Answer->setObjectName(QStringLiteral("Answer"));
    auto* form2 = new QFormLayout(panel2);
    form2->addRow(QStringLiteral("密码问题："), Question);
    form2->addRow(QStringLiteral("证件号码："), CardID);
    form2->addRow(QStringLiteral("答案："), Answer);
    pages->addWidget(panel2);

    auto* panel3 = new QWidget(pages);
    panel3->setObjectName(QStringLiteral("Panel3"));
    auto* notice = new QLabel(ForgetWizard::kRecoveredNotice, panel3);
    notice->setWordWrap(true);
    NewPassword = new QLineEdit(panel3);
    NewPassword->setObjectName(QStringLiteral("NewPassword"));
    NewPassword->setReadOnly(true);
    auto* layout3 = new QVBoxLayout(panel3);
    layout3->addWidget(notice);
    layout3->addWidget(NewPassword);
    layout3->addStretch(1);
    pages->addWidget(panel3);

    BuildWizardLayout(this, pages, &btnBack, &btnNext, &btnCancel);

    auto refresh = [this] {
        toModel();
        fromModel();
    };
    connect(rbnLoginType1, &QRadioButton::toggled, this, refresh);
    connect(Username, &QLineEdit::textChanged, this, refresh);
    ConnectWizardButtons(this, m_wizard, btnBack, btnNext, btnCancel, [this] { toModel(); },
                         [this] { fromModel(); });
    fromModel();
}

TfrmForget::~TfrmForget() = default;

void TfrmForget::setPrompts(std::function<void(const QString&, MessageIcon)> show) {
    m_show = std::move(show);
}

void TfrmForget::showMessage(const QString& text, MessageIcon) {
    if (m_show)
        return m_show(text, MessageIcon::None);
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("提示"), text, QMessageBox::Ok, this);
    box.exec();
}

bool TfrmForget::confirmOkCancel(const QString&) { return true; }  // the recovery asks nothing

void TfrmForget::focusField(int field) {
    QWidget* const widgets[] = {Username, Question, CardID, Answer};
    if (field >= 0 && field < int(std::size(widgets)))
        widgets[field]->setFocus();
}

void TfrmForget::reject() {
    // Cancel is disabled once the password was recovered; closing the window then finishes.
    m_wizard.cancel();
    QDialog::reject();
}

void TfrmForget::toModel() {
    ForgetForm& f = m_wizard.form();
    f.byUserId = rbnLoginType2->isChecked();
    f.userName = Username->text();
    f.question = Question->currentIndex();
    f.cardId = CardID->text();
    f.answer = Answer->text();
}

void TfrmForget::fromModel() {
    pages->setCurrentIndex(m_wizard.step() - 1);
    lblUserType->setText(m_wizard.userTypeLabel());
    btnNext->setText(m_wizard.nextCaption());
    btnNext->setEnabled(m_wizard.nextEnabled());
    btnBack->setEnabled(m_wizard.backEnabled());
    btnCancel->setEnabled(m_wizard.cancelEnabled());
    NewPassword->setText(m_wizard.newPassword());
}

}  // namespace velmora::hall
