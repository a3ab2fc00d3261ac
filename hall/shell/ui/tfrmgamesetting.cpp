#include "hall/shell/ui/tfrmgamesetting.h"

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/shell/core/settingsmodel.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/skin.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace velmora::hall {

TfrmGameSetting::TfrmGameSetting(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TfrmGameSetting"));
    setWindowTitle(QStringLiteral("游戏设置"));
    chkIP = new QCheckBox(QStringLiteral("不与IP相同的玩家进行游戏"), this);
    // The number box sits in the gap the caption leaves for it.
    chkLess = new QCheckBox(QStringLiteral("不同逃跑率超过        %的玩家进行游戏"), this);
    edtLess = new QLineEdit(QStringLiteral("10"), chkLess);
    edtLess->setMaxLength(2);
    edtLess->setGeometry(112, 0, 30, 20);
    chkShowUser = new QCheckBox(QStringLiteral("显示用户进出信息"), this);
    chkPass = new QCheckBox(QStringLiteral("第一个坐下时，设置桌子密码为："), this);
    edtPass = new QLineEdit(this);
    edtPass->setMaxLength(8);
    for (QLineEdit* edit : {edtLess, edtPass}) {
        edit->setContextMenuPolicy(Qt::NoContextMenu);
        edit->installEventFilter(this);
    }
    auto* invite = new QGroupBox(QStringLiteral("接受邀请："), this);
    rbtAllUser = new QRadioButton(QStringLiteral("所有用户"), invite);
    rbtFrient = new QRadioButton(QStringLiteral("只接受好友"), invite);
    rbtNoUser = new QRadioButton(QStringLiteral("不接受"), invite);
    rbtAllUser->setChecked(true);
    auto* inviteRow = new QHBoxLayout(invite);
    inviteRow->addWidget(rbtAllUser);
    inviteRow->addWidget(rbtFrient);
    inviteRow->addWidget(rbtNoUser);
    chkVideo = new QCheckBox(QStringLiteral("启用视频组件"), this);
    chkShowFlash = new QCheckBox(QStringLiteral("显示道具动画"), this);
    Button1 = new QPushButton(QStringLiteral("确定"), this);
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("取消"), this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(chkIP);
    chkLess->setMinimumHeight(22);
    layout->addWidget(chkLess);
    layout->addWidget(chkShowUser);
    auto* passRow = new QHBoxLayout;
    passRow->addWidget(chkPass);
    passRow->addWidget(edtPass);
    layout->addLayout(passRow);
    layout->addWidget(invite);
    layout->addWidget(chkVideo);
    layout->addWidget(chkShowFlash);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &TfrmGameSetting::Button1Click);
    connect(Button2, &QPushButton::clicked, this, [this] { done(2); });
    ApplySkin(this);
}

bool TfrmGameSetting::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && (watched == edtLess || watched == edtPass)) {
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.isEmpty())
            return false;  // cursor keys, Delete
        const bool allowed = watched == edtLess ? FleeNumberCharAllowed(text.at(0))
                                                : DeskPasswordCharAllowed(text.at(0));
        return !(text.size() == 1 && allowed);
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmGameSetting::LoadSetting() {
    chkIP->setChecked(sGameSetting.sameip);
    chkLess->setChecked(sGameSetting.fleesetting);
    edtLess->setText(QString::number(sGameSetting.fleenumber));
    chkShowUser->setChecked(sGameSetting.showuserinout);
    chkPass->setChecked(sGameSetting.deskpassword);
    edtPass->setText(sGameSetting.password);
    rbtAllUser->setChecked(sGameSetting.invite == 0);
    rbtFrient->setChecked(sGameSetting.invite == 1);
    rbtNoUser->setChecked(sGameSetting.invite == 2);
    chkVideo->setChecked(sGameSetting.showvideo);
    chkShowFlash->setChecked(sGameSetting.showflash);
}

void TfrmGameSetting::Button1Click() {
    sGameSetting.sameip = chkIP->isChecked();
    sGameSetting.fleesetting = chkLess->isChecked();
    sGameSetting.fleenumber = FleeNumberFromText(edtLess->text());
    sGameSetting.showuserinout = chkShowUser->isChecked();
    sGameSetting.deskpassword = chkPass->isChecked();
    sGameSetting.password = edtPass->text();
    sGameSetting.invite = rbtNoUser->isChecked() ? 2 : rbtFrient->isChecked() ? 1 : 0;
    sGameSetting.showvideo = chkVideo->isChecked();
    sGameSetting.showflash = chkShowFlash->isChecked();
    const HallContext& context = HallContext::instance();
    if (!WriteGameSetting(PlayerSettingPath(context.DocumentsPath, context.CurrentUser.UserID),
                          sGameSetting))
        ShowMessage(this, QStringLiteral("游戏设置未能保存到本机，本次登录内仍然有效。"),
                    kHintCaption, QMessageBox::Warning);
    const QString url = context.url(QStringLiteral("savesettingurl"));
    if (!url.isEmpty())
        HttpRequest(url, QStringLiteral("POST"), SaveSettingForm(context.Token, sGameSetting),
                    kDefaultRetries, kDefaultTimeoutMs);
    done(1);
}

}  // namespace velmora::hall
