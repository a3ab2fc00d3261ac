#include "hall/shell/ui/tfrmnetsetting.h"

#include "hall/foundation/hallcontext.h"
#include "hall/shell/core/settingsmodel.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/skin.h"

#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora::hall {

TfrmNetSetting::TfrmNetSetting(platform::RegistryStore& store, QWidget* parent)
    : QDialog(parent), m_store(store) {
    setObjectName(QStringLiteral("TfrmNetSetting"));
    setWindowTitle(QStringLiteral("网络设置"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    rbtDirect = new QRadioButton(QStringLiteral("直接连网"), this);
    rbtProxy = new QRadioButton(QStringLiteral("使用代理服务器"), this);
    rbtDirect->setChecked(true);
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    cmbProxyType = new QComboBox(Panel1);
    cmbProxyType->addItems({QStringLiteral("HTTP代理"), QStringLiteral("Socks5"), QStringLiteral("Socks4")});
    txtServer = new QLineEdit(Panel1);
    txtPort = new QLineEdit(Panel1);
    txtUsername = new QLineEdit(Panel1);
    txtPass = new QLineEdit(Panel1);
    txtPass->setEchoMode(QLineEdit::Password);
    txtDomain = new QLineEdit(Panel1);
    auto* form = new QFormLayout(Panel1);
    form->addRow(QStringLiteral("类型："), cmbProxyType);
    form->addRow(QStringLiteral("服务器："), txtServer);
    form->addRow(QStringLiteral("端口："), txtPort);
    form->addRow(QStringLiteral("用户名："), txtUsername);
    form->addRow(QStringLiteral("密码："), txtPass);
    form->addRow(QStringLiteral("域："), txtDomain);
    Button1 = new QPushButton(QStringLiteral("确定(&S)"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("取消(&C)"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(rbtDirect);
    layout->addWidget(rbtProxy);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);
    setFixedSize(340, 330);

    const NetSettingForm saved = ReadNetSettingForm(m_store);
    (saved.proxy ? rbtProxy : rbtDirect)->setChecked(true);
    txtServer->setText(saved.server);
    txtPort->setText(saved.port);
    txtUsername->setText(saved.username);
    txtPass->setText(saved.pass);
    txtDomain->setText(saved.domain);
    cmbProxyType->setCurrentIndex(saved.proxyType);
    updatePanel();

    connect(rbtDirect, &QRadioButton::toggled, this, &TfrmNetSetting::updatePanel);
    connect(rbtProxy, &QRadioButton::toggled, this, &TfrmNetSetting::updatePanel);
    connect(Button1, &QPushButton::clicked, this, &TfrmNetSetting::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { done(2); });
    ApplySkin(this);
}

void TfrmNetSetting::updatePanel() { Panel1->setEnabled(rbtProxy->isChecked()); }

void TfrmNetSetting::Button1Click() {
    NetSettingForm form;
    form.proxy = rbtProxy->isChecked();
    form.proxyType = qMax(0, cmbProxyType->currentIndex());
    form.server = txtServer->text();
    form.port = txtPort->text();
    form.username = txtUsername->text();
    form.pass = txtPass->text();
    form.domain = txtDomain->text();
    if (const auto problem = CheckNetSetting(form)) {
        ShowHint(this, problem->message);
        (problem->field == NetField::Server ? txtServer : txtPort)->setFocus();
        return;
    }
    // A setting that did not reach the registry would be gone at the next start: say so and
    // keep the dialog open instead of closing as if it were saved.
    if (!WriteNetSetting(m_store, form)) {
        ShowMessage(this, kNetSettingWriteFailed, kHintCaption, QMessageBox::Warning);
        return;
    }
    ApplyNetSetting(form, HallContext::instance().Net);
    done(1);
}

}  // namespace velmora::hall
