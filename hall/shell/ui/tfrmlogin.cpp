#include "hall/shell/ui/tfrmlogin.h"

#include "hall/account/accountdialogs.h"
#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/foundation/web/netsetting.h"
#include "hall/foundation/web/reentryguard.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/skin.h"
#include "hall/shell/ui/tfrmnetsetting.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace velmora::hall {
namespace {

constexpr int kClientWidth = 354;
constexpr int kClientHeight = 248;
constexpr int kAdHeight = 66;
constexpr int kMainTop = 71;

}  // namespace

TfrmLogin::TfrmLogin(platform::RegistryStore& store, QWidget* parent)
    : QDialog(parent), m_store(store) {
    setObjectName(QStringLiteral("TfrmLogin"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("登录到") + QApplication::applicationName());

    pnlAD = new QFrame(this);
    pnlAD->setObjectName(QStringLiteral("pnlAD"));
    pnlAD->setGeometry(0, 0, kClientWidth, kAdHeight);
    WebAD = new QWebEngineView(pnlAD);
    auto* adPage = new HallWebPage(WebAD);
    WebAD->setPage(adPage);
    WebAD->setGeometry(pnlAD->rect());
    MakePaneInert(WebAD, true);
    connect(WebAD, &QWebEngineView::loadFinished, this, [this](bool) {
        WebAD->page()->runJavaScript(QStringLiteral(
            "try{var b=document.body;b.style.borderStyle='none';b.style.overflow='hidden';"
            "b.style.margin='0px';}catch(e){}"));
    });

    pnlMain = new QFrame(this);
    pnlMain->setObjectName(QStringLiteral("pnlMain"));
    pnlMain->setGeometry(0, kMainTop, kClientWidth, kClientHeight - kMainTop);
    UserName = new QComboBox(pnlMain);
    UserName->setObjectName(QStringLiteral("UserName"));
    UserName->setEditable(true);
    UserName->setInsertPolicy(QComboBox::NoInsert);
    PassWord = new QLineEdit(pnlMain);
    PassWord->setObjectName(QStringLiteral("PassWord"));
    PassWord->setEchoMode(QLineEdit::Password);
    lblLoginText = new QLabel(QStringLiteral("用户名(&U)："), pnlMain);
    lblLoginText->setBuddy(UserName);
    auto* lblPass = new QLabel(QStringLiteral("密　码(&P)："), pnlMain);
    lblPass->setBuddy(PassWord);
    lblLoginType = new QLabel(QStringLiteral("登录使用(&T)："), pnlMain);
    rbtUserName = new QRadioButton(QStringLiteral("用户名(D)"), pnlMain);
    rbtUserID = new QRadioButton(QStringLiteral("数字账号(&I)"), pnlMain);
    rbtUserName->setChecked(true);
    for (QWidget* hidden : {static_cast<QWidget*>(lblLoginType), static_cast<QWidget*>(rbtUserName),
                            static_cast<QWidget*>(rbtUserID)})
        hidden->setVisible(false);
    chbSaveLogin = new QCheckBox(QStringLiteral("记住密码(&S)"), pnlMain);
    btnLogin = new QPushButton(QStringLiteral("登录(&L)"), pnlMain);
    btnLogin->setObjectName(QStringLiteral("btnLogin"));
    btnLogin->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("取消(&C)"), pnlMain);
    btnRegister = new QPushButton(QStringLiteral("免费注册(&R)"), pnlMain);
    btnForget = new QPushButton(QStringLiteral("忘记密码(&F)"), pnlMain);
    btnNetSetting = new QPushButton(QStringLiteral("网络设置(&N)"), pnlMain);
    for (QPushButton* link : {btnRegister, btnForget, btnNetSetting}) {
        link->setProperty("linkButton", true);
        link->setAutoDefault(false);
    }
    btnCancel->setAutoDefault(false);

    auto* grid = new QGridLayout(pnlMain);
    grid->setContentsMargins(24, 10, 24, 12);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(8);
    grid->addWidget(lblLoginText, 0, 0);
    grid->addWidget(UserName, 0, 1);
    grid->addWidget(btnRegister, 0, 2);
    grid->addWidget(lblPass, 1, 0);
    grid->addWidget(PassWord, 1, 1);
    grid->addWidget(btnForget, 1, 2);
    grid->addWidget(chbSaveLogin, 2, 1);
    grid->addWidget(btnNetSetting, 2, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btnLogin);
    buttons->addWidget(btnCancel);
    grid->addLayout(buttons, 3, 0, 1, 3);
    grid->setRowStretch(4, 1);

    connect(UserName, qOverload<int>(&QComboBox::activated), this, &TfrmLogin::UserNameSelect);
    connect(UserName->lineEdit(), &QLineEdit::textEdited, this, [this] {
        PassWord->clear();
        chbSaveLogin->setChecked(false);
    });
    connect(PassWord, &QLineEdit::textChanged, this,
            [this](const QString& text) { m_model.passwordChanged(text); });
    connect(rbtUserID, &QRadioButton::toggled, this, [this](bool on) {
        lblLoginText->setText(on ? QStringLiteral("数字账号：") : QStringLiteral("用户名："));
    });
    connect(btnLogin, &QPushButton::clicked, this, &TfrmLogin::btnLoginClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmLogin::btnCancelClick);
    // A new account is filled in for its first login; its password is typed once more.
    connect(btnRegister, &QPushButton::clicked, this, [this] {
        RegisteredAccount account;
        if (!RunRegisterDialog(this, &account))
            return;
        UserName->setEditText(account.userName);
        rbtUserName->setChecked(true);
        PassWord->clear();
        chbSaveLogin->setChecked(false);
    });
    connect(btnForget, &QPushButton::clicked, this, [this] { RunForgetDialog(this); });
    connect(btnNetSetting, &QPushButton::clicked, this, [this] {
        TfrmNetSetting dialog(m_store, this);
        if (dialog.exec() == 1)
            LoadNetSetting(m_store);
    });

    Timer1 = new QTimer(this);
    Timer1->setInterval(50000);
    connect(Timer1, &QTimer::timeout, this, &TfrmLogin::keepAlive);
    Timer1->start();

    const QString adUrl = HallContext::instance().url(QStringLiteral("loginadurl"));
    if (!adUrl.isEmpty()) {
        WebAD->setUrl(QUrl(adUrl));
        setFixedSize(kClientWidth, kClientHeight);
    } else {
        pnlMain->move(0, 0);
        pnlAD->hide();
        setFixedSize(kClientWidth, kClientHeight - kAdHeight);
    }
    ApplySkin(this);
    loadregister();
}

TfrmLogin::~TfrmLogin() = default;

void TfrmLogin::loadregister() {
    m_model.setAccounts(RememberedAccounts(m_store).load());
    for (const RememberedAccount& a : m_model.accounts())
        UserName->addItem(a.user);
    if (!m_model.accounts().isEmpty()) {
        UserName->setCurrentIndex(0);
        UserNameSelect(0);
    }
}

void TfrmLogin::UserNameSelect(int index) {
    const LoginModel::Selection s = m_model.select(index);
    (s.byUserId ? rbtUserID : rbtUserName)->setChecked(true);
    chbSaveLogin->setChecked(s.savePassword);
    PassWord->setText(s.passwordText);
}

void TfrmLogin::btnLoginClick() {
    const QString account = UserName->currentText();
    if (account.isEmpty()) {
        ShowHint(this, QStringLiteral("请输入用户名或数字账号!"));
        UserName->setFocus();
        return;
    }
    if (PassWord->text().isEmpty()) {
        ShowHint(this, QStringLiteral("请输入密码!"));
        PassWord->setFocus();
        return;
    }
    HallContext& context = HallContext::instance();
    const bool byUserId = rbtUserID->isChecked();
    const QString passHash = m_model.loginPass();
    const QString form = LoginForm(account, passHash, context.Token, byUserId);
    btnLogin->setEnabled(false);
    const quint64 ticket = m_ticket.begin();
    const QString reply =
        HttpRequest(context.url(QStringLiteral("loginurl")), QStringLiteral("POST"), form);
    // Cancel (or closing) while the request was under way: the dialog has already said no,
    // so a late success must not log the player in behind its back.
    if (!m_ticket.isCurrent(ticket) || m_closing)
        return;
    btnLogin->setEnabled(true);
    strHttpReturn = reply;
    const LoginResult result = ParseLoginReply(reply, passHash);
    if (!result.ok) {
        ShowHint(this, result.message);
        return;
    }
    context.LoginOK = true;
    context.CurrentUser = result.user;
    RememberedAccount current{account, chbSaveLogin->isChecked() ? passHash : QString(),
                              byUserId ? kLoginTypeUserId : kLoginTypeUserName};
    if (!RememberedAccounts(m_store).save(current, m_model.accounts()))
        qWarning("the remembered accounts could not be written; the old list is kept");
    accept();
}

void TfrmLogin::btnCancelClick() {
    m_ticket.cancel();
    HallContext::instance().LoginOK = false;
    reject();
}

void TfrmLogin::keepAlive() {
    static bool busy = false;
    ReentryGuard guard(busy);
    if (!guard.entered())
        return;
    const HallContext& context = HallContext::instance();
    const QString url = context.url(QStringLiteral("onlinecount"));
    if (!url.isEmpty())
        HttpRequest(url + QStringLiteral("?token=") + context.Token, QStringLiteral("GET"));
}

void TfrmLogin::done(int result) {
    if (m_closing)
        return;
    m_closing = true;
    m_ticket.cancel();
    Timer1->stop();
    HallContext& context = HallContext::instance();
    if (result != QDialog::Accepted)
        context.LoginOK = false;
    QDialog::done(result);
    const QString exitUrl = context.url(QStringLiteral("exiturl"));
    if (!context.LoginOK && !exitUrl.isEmpty())
        HttpRequest(exitUrl + QStringLiteral("?token=") + context.Token, QStringLiteral("GET"));
}

}  // namespace velmora::hall
