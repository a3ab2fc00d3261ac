#include "hall/account/frmregister.h"
#include "hall/account/wizardbuttons.h"

#include "hall/account/facepicture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QStackedWidget>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace velmora::hall {
namespace {

QLineEdit* edit(QWidget* parent, const char* name, bool masked = false) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QLatin1String(name));
    if (masked)
        box->setEchoMode(QLineEdit::Password);
    return box;
}

}  // namespace

TfrmRegister::TfrmRegister(AccountHttp http, const QString& appPath, const QString& checkUserUrl,
                           const QString& registerUrl, QWidget* owner)
    : QDialog(owner), m_wizard(std::move(http), *this, checkUserUrl, registerUrl), m_appPath(appPath) {
    setObjectName(QStringLiteral("frmRegister"));
    setWindowTitle(QStringLiteral("注册新用户"));
    resize(520, 400);
    pages = new QStackedWidget(this);

    buildLicensePage(appPath);

    auto* panel2 = new QWidget(pages);
    panel2->setObjectName(QStringLiteral("Panel2"));
    auto* form2 = new QFormLayout(panel2);
    UserName = edit(panel2, "UserName");
    PassWord = edit(panel2, "PassWord", true);
    RePasswd = edit(panel2, "RePasswd", true);
    NickName = edit(panel2, "NickName");
    form2->addRow(QStringLiteral("用户名："), UserName);
    form2->addRow(QStringLiteral("密码："), PassWord);
    form2->addRow(QStringLiteral("确认密码："), RePasswd);
    form2->addRow(QStringLiteral("昵称："), NickName);
    pages->addWidget(panel2);

    auto* panel3 = new QWidget(pages);
    panel3->setObjectName(QStringLiteral("Panel3"));
    auto* form3 = new QFormLayout(panel3);
    TrueName = edit(panel3, "TrueName");
    TrueName->setMaxLength(14);
    Sex = new QComboBox(panel3);
    Sex->setObjectName(QStringLiteral("Sex"));
    Sex->addItems({QStringLiteral("男"), QStringLiteral("女"), QStringLiteral("保密")});
    CardID = edit(panel3, "CardID");
    UserFace = new QComboBox(panel3);
    UserFace->setObjectName(QStringLiteral("UserFace"));
    for (int i = 1; i <= kFaceCount; ++i)
        UserFace->addItem(QStringLiteral("头像%1").arg(i));
    imgFace = new QLabel(panel3);
    imgFace->setObjectName(QStringLiteral("imgFace"));
    imgFace->setFixedSize(kFacePictureSize, kFacePictureSize);
    imgFace->setScaledContents(true);
    auto* faceRow = new QHBoxLayout;
    faceRow->addWidget(UserFace, 1);
    faceRow->addWidget(imgFace);
    Question = new QComboBox(panel3);
    Question->setObjectName(QStringLiteral("Question"));
    Question->addItems(SecurityQuestions());
    Answer = edit(panel3, "Answer");
    Phone = edit(panel3, "Phone");
    form3->addRow(QStringLiteral("真实姓名："), TrueName);
    form3->addRow(QStringLiteral("性别："), Sex);
    form3->addRow(QStringLiteral("证件号码："), CardID);
    form3->addRow(QStringLiteral("头像："), faceRow);
    form3->addRow(QStringLiteral("密码问题："), Question);
    form3->addRow(QStringLiteral("答案："), Answer);
    form3->addRow(QStringLiteral("电话："), Phone);
    pages->addWidget(panel3);

    BuildWizardLayout(this, pages, &btnBack, &btnNext, &btnCancel);

    connect(chbAgree, &QCheckBox::toggled, this, [this] { toModel(); fromModel(); });
    connect(UserName, &QLineEdit::textEdited, this, &TfrmRegister::onUserNameEdited);
    connect(UserName, &QLineEdit::editingFinished, this, [this] { UserName->setText(UserName->text().trimmed()); });
    connect(Sex, &QComboBox::currentTextChanged, this, [this](const QString& sex) {
        toModel();
        m_wizard.setSex(sex);
        fromModel();
    });
    connect(UserFace, &QComboBox::currentIndexChanged, this, [this] { showFace(); });
    ConnectWizardButtons(this, m_wizard, btnBack, btnNext, btnCancel, [this] { toModel(); },
                         [this] { fromModel(); });
    fromModel();
}

TfrmRegister::~TfrmRegister() = default;

void TfrmRegister::buildLicensePage(const QString& appPath) {
    auto* panel1 = new QWidget(pages);
    panel1->setObjectName(QStringLiteral("Panel1"));
    rtfLicense = new QTextBrowser(panel1);
    rtfLicense->setObjectName(QStringLiteral("rtfLicense"));
    rtfLicense->setReadOnly(true);
    rtfLicense->setOpenLinks(false);
    // The operator's licence beside the program, else the one built in.
    QFile file(appPath + QStringLiteral("license.html"));
    if (!file.open(QIODevice::ReadOnly)) {
        file.setFileName(QStringLiteral(":/account/license.html"));
        file.open(QIODevice::ReadOnly);
    }
    rtfLicense->setHtml(QString::fromUtf8(file.readAll()));
    chbAgree = new QCheckBox(QStringLiteral("我以认真阅读协议内容，并完全同意该协议的所有条款(&A)"), panel1);
    chbAgree->setObjectName(QStringLiteral("chbAgree"));
    auto* layout = new QVBoxLayout(panel1);
    layout->addWidget(rtfLicense, 1);
    layout->addWidget(chbAgree);
    pages->addWidget(panel1);
}

void TfrmRegister::setPrompts(std::function<void(const QString&, MessageIcon)> show,
                              std::function<bool(const QString&)> confirm) {
    m_show = std::move(show);
    m_confirm = std::move(confirm);
}

void TfrmRegister::showMessage(const QString& text, MessageIcon icon) {
    if (m_show)
        return m_show(text, icon);
    QMessageBox box(icon == MessageIcon::Question ? QMessageBox::Question : QMessageBox::NoIcon,
                    QStringLiteral("提示"), text, QMessageBox::Ok, this);
    box.exec();
}

bool TfrmRegister::confirmOkCancel(const QString& text) {
    if (m_confirm)
        return m_confirm(text);
    QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), text,
                    QMessageBox::Ok | QMessageBox::Cancel, this);
    box.setDefaultButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Ok;
}

void TfrmRegister::focusField(int field) {
    QWidget* const widgets[] = {chbAgree, UserName, PassWord, RePasswd, NickName, TrueName,
                                Sex,      CardID,   UserFace, Question, Answer,   Phone};
    if (field >= 0 && field < int(std::size(widgets)))
        widgets[field]->setFocus();
}

void TfrmRegister::reject() {
    m_wizard.cancel();
    QDialog::reject();
}

void TfrmRegister::onUserNameEdited(const QString& text) {
    const QString cut = CutToBytes(text, kMaxUserNameBytes);
    if (cut != text) {
        UserName->setText(cut);
        UserName->setCursorPosition(int(cut.size()));
    }
}

void TfrmRegister::toModel() {
    RegisterForm& f = m_wizard.form();
    f.agree = chbAgree->isChecked();
    f.userName = UserName->text();
    f.passWord = PassWord->text();
    f.rePasswd = RePasswd->text();
    f.nickName = NickName->text();
    f.trueName = TrueName->text();
    f.sex = Sex->currentText();
    f.cardId = CardID->text();
    f.face = UserFace->currentIndex() + 1;
    f.question = Question->currentIndex();
    f.answer = Answer->text();
    f.phone = Phone->text();
}

void TfrmRegister::fromModel() {
    const RegisterForm& f = m_wizard.form();
    pages->setCurrentIndex(m_wizard.step() - 1);
    btnBack->setEnabled(m_wizard.backEnabled());
    btnNext->setEnabled(m_wizard.nextEnabled());
    if (PassWord->text() != f.passWord)
        PassWord->setText(f.passWord);
    if (RePasswd->text() != f.rePasswd)
        RePasswd->setText(f.rePasswd);
    if (UserFace->currentIndex() != f.face - 1)
        UserFace->setCurrentIndex(f.face - 1);  // shows the picture through its signal
    showFace();
}

void TfrmRegister::showFace() {
    imgFace->setPixmap(FacePicture(m_appPath, UserFace->currentIndex() + 1));
}

}  // namespace velmora::hall
