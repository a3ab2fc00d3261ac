#include "hall/room/ui/tfrmgameclient.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "hall/foundation/localsettings.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/room/ui/memberprofiles.h"
#include "hall/room/ui/roommembermodel.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/tfrmgamesetting.h"

namespace velmora::hall {
namespace {

HallContext& ctx() {
    return HallContext::instance();
}

QString defaultHttp(const QString& url, const QString& method, const QString& form, int retries,
                    int timeoutMs) {
    return HttpRequest(url, method, form, retries, timeoutMs);
}

constexpr int kRightPanelWidth = 360;

}  // namespace

int DeletePlayerPictureFiles(const QString& folder) {
    if (folder.isEmpty()) return 0;
    QDir dir(folder);
    if (!dir.exists()) return 0;
    dir.setNameFilters({QStringLiteral("*.bmp"), QStringLiteral("*.png")});
    // Without QDir::CaseSensitive the filters match "*.PNG" too. A symbolic link is removed
    // itself, never what it points to.
    dir.setFilter(QDir::Files | QDir::Hidden);
    int deleted = 0;
    for (const QFileInfo& file : dir.entryInfoList()) {
        if (QFile::remove(file.absoluteFilePath()))
            ++deleted;
        else
            qWarning("room: cannot delete %s", qPrintable(file.absoluteFilePath()));
    }
    return deleted;
}

TfrmGameClient::TfrmGameClient(QWidget* parent, RoomWebQueue::Http http) : QWidget(parent) {
    m_session = std::make_unique<RoomSession>(static_cast<RoomHost&>(*this));
    m_model = new RoomMemberModel(core().members(), this);
    RoomWebQueue::Hooks hooks;
    hooks.allMembers = [this] { return MembersInRoom(core().members()); };
    hooks.gameId = [this] { return core().thisroom().parent.id; };
    hooks.roomOpen = [this] { return core().thisroom().id != 0; };
    hooks.profilesArrived = [this](const QString& reply, bool) {
        // The rows are written whatever the flag says; the flag's table-list refresh belongs
        // to the tables page and the plug-in.
        ApplyMemberProfiles(reply, core().members());
        m_model->refresh();
    };
    // A profile lookup that fails is the web service's trouble, not the room connection's:
    // the rows stay as the broadcasts made them and the next lookup tries again. (Dropping a
    // healthy connection for it would only add a reconnect to the outage.)
    hooks.profilesFailed = [this] {
        qWarning("room: member profiles could not be fetched; the room stays connected");
        m_model->refresh();
    };
    m_web = new RoomWebQueue(http ? std::move(http) : RoomWebQueue::Http(defaultHttp),
                             std::move(hooks), this);
    buildLayout();
}

TfrmGameClient::~TfrmGameClient() {
    // The session's core refers to this window as its host: it goes first.
    m_session.reset();
}

void TfrmGameClient::buildLayout() {
    setObjectName(QStringLiteral("TfrmGameClient"));
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);

    auto* titleBar = new QHBoxLayout;
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    btnJoin = new QPushButton(QStringLiteral("加入"), this);
    btnJoin->setObjectName(QStringLiteral("btnJoin"));
    btnSetting = new QPushButton(QStringLiteral("设置"), this);
    btnSetting->setObjectName(QStringLiteral("btnSetting"));
    btnExit = new QPushButton(QStringLiteral("退出房间"), this);
    btnExit->setObjectName(QStringLiteral("btnExit"));
    titleBar->addWidget(lblTitle, 1);
    titleBar->addWidget(btnJoin);
    titleBar->addWidget(btnSetting);
    titleBar->addWidget(btnExit);
    outer->addLayout(titleBar);

    auto* body = new QHBoxLayout;
    body->setSpacing(2);
    pnlDesk = new QWidget(this);
    pnlDesk->setObjectName(QStringLiteral("pnlDesk"));
    pnlDesk->setLayout(new QVBoxLayout);
    pnlDesk->layout()->setContentsMargins(0, 0, 0, 0);
    pnlRight = new QWidget(this);
    pnlRight->setObjectName(QStringLiteral("pnlRight"));
    auto* right = new QVBoxLayout(pnlRight);
    right->setContentsMargins(0, 0, 0, 0);
    ltvUserList = new QTableView(pnlRight);
    ltvUserList->setObjectName(QStringLiteral("ltvUserList"));
    ltvUserList->setModel(m_model);
    ltvUserList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ltvUserList->setSelectionMode(QAbstractItemView::SingleSelection);
    ltvUserList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ltvUserList->verticalHeader()->setVisible(false);
    ltvUserList->verticalHeader()->setDefaultSectionSize(20);
    ltvUserList->setShowGrid(false);
    connect(m_model, &QAbstractItemModel::modelReset, this, &TfrmGameClient::applyColumnWidths);
    pnlChat = new QWidget(pnlRight);
    pnlChat->setObjectName(QStringLiteral("pnlChat"));
    auto* chat = new QVBoxLayout(pnlChat);
    chat->setContentsMargins(0, 0, 0, 0);
    webChat = new QTextBrowser(pnlChat);
    webChat->setObjectName(QStringLiteral("webChat"));
    webChat->setOpenLinks(false);
    chat->addWidget(webChat);
    right->addWidget(ltvUserList, 3);
    right->addWidget(pnlChat, 2);
    body->addWidget(pnlDesk, 1);
    body->addWidget(pnlRight);
    outer->addLayout(body, 1);
    pnlRight->setFixedWidth(kRightPanelWidth);

    pnlSplash = new QWidget(this);
    pnlSplash->setObjectName(QStringLiteral("pnlSplash"));
    pnlSplash->setAutoFillBackground(true);
    pnlSplash->setStyleSheet(
        QStringLiteral("#pnlSplash { border: 1px solid #7f9db9; background: #ffffff; }"));
    auto* splash = new QVBoxLayout(pnlSplash);
    lblSplash = new QLabel(pnlSplash);
    lblSplash->setAlignment(Qt::AlignCenter);
    splash->addWidget(lblSplash);
    pnlSplash->resize(305, 41);
    pnlSplash->hide();

    connect(btnExit, &QPushButton::clicked, this, [this] { btnExitClick(); });
    connect(btnSetting, &QPushButton::clicked, this, [this] { btnSettingClick(); });
    applyColumnWidths();
}

void TfrmGameClient::applyColumnWidths() {
    for (int c = 0; c < m_model->columnCount(); ++c)
        ltvUserList->setColumnWidth(c, m_model->columnWidth(c));
}

void TfrmGameClient::placeSplash() {
    pnlSplash->move((width() - pnlSplash->width()) / 2, (height() - pnlSplash->height()) / 2);
    pnlSplash->raise();
}

void TfrmGameClient::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    placeSplash();
}

void TfrmGameClient::closeEvent(QCloseEvent* event) {
    if (currentRoomId() != 0) core().closeRoom();
    event->accept();
}

QString TfrmGameClient::settingPath() const {
    return PlayerSettingPath(ctx().DocumentsPath, ctx().CurrentUser.UserID);
}

void TfrmGameClient::btnSettingClick() {
    TfrmGameSetting dialog(this);
    dialog.sGameSetting = core().thisGameSetting();
    dialog.LoadSetting();
    if (dialog.exec() == 1) core().setGameSetting(dialog.sGameSetting);
}

void TfrmGameClient::loadUserInfo(const QList<qint64>& ids) {
    m_web->fetchProfiles(ids, false);
    m_web->runNow();
}

// --- IRoomClient

bool TfrmGameClient::bInGaming() const {
    return m_session->core().bInGaming;
}

void TfrmGameClient::DeletePluginClient() {
    closePlugin();
}

void TfrmGameClient::btnExitClick() {
    core().requestExit();
}

bool TfrmGameClient::SendRoomCommand(const QString& line) {
    if (currentRoomId() == 0 || !core().connected() || core().bQuit()) return false;
    core().SendData(line);
    return true;
}

void TfrmGameClient::LoadUserInfo(qint64 userId) {
    if (userId > 0) loadUserInfo({userId});
}

qint32 TfrmGameClient::currentRoomId() const {
    return m_session->core().thisroom().id;
}

void TfrmGameClient::LoadDesktop(const STRU_GAMEROOM& room) {
    show();
    core().LoadDesktop(room);
}

// --- RoomHost: the window

void TfrmGameClient::setCaptions(const QString& windowCaption, const QString& titleBar) {
    setWindowTitle(windowCaption);
    lblTitle->setText(titleBar);
}

void TfrmGameClient::setSplashText(const QString& text) {
    lblSplash->setText(text);
}

void TfrmGameClient::setSplashVisible(bool visible) {
    pnlSplash->setVisible(visible);
    if (visible) placeSplash();
}

void TfrmGameClient::setRoomEnabled(bool enabled) {
    pnlDesk->setEnabled(enabled);
    pnlRight->setEnabled(enabled);
    btnJoin->setEnabled(enabled);
}

void TfrmGameClient::prepareRoomView() {
    const STRU_GAMEROOM& room = core().thisroom();
    m_model->setGoldColumn(room.goldmultiple >= 1);
    applyColumnWidths();
    webChat->clear();
    ltvUserList->setVisible(room.showuserinfo);
    // Without tables the right-hand panel takes the whole window.
    pnlDesk->setVisible(room.showdesk);
    if (room.showdesk)
        pnlRight->setFixedWidth(kRightPanelWidth);
    else {
        pnlRight->setMinimumWidth(0);
        pnlRight->setMaximumWidth(QWIDGETSIZE_MAX);
    }
}

void TfrmGameClient::showMessage(const QString& text) {
    // Shown from the event loop, not inside the handler that asked: a modal box runs its own
    // event loop, and the core must not be re-entered halfway through a packet.
    m_messages.append(text);
    QMetaObject::invokeMethod(this, &TfrmGameClient::showNextMessage, Qt::QueuedConnection);
}

void TfrmGameClient::showNextMessage() {
    if (m_showingMessage) return;  // the running loop below shows it
    m_showingMessage = true;
    QPointer<TfrmGameClient> self(this);
    while (!m_messages.isEmpty()) {
        ShowHint(isVisible() ? this : parentWidget(), m_messages.takeFirst());
        if (!self) return;
    }
    m_showingMessage = false;
}

void TfrmGameClient::hideRoomWindow() {
    hide();
    emit roomWindowHidden();
}

void TfrmGameClient::reloadTablesPage() {
    // The tables page is not built yet: the tables panel holds nothing to reload.
}

void TfrmGameClient::clearMemberList() {
    m_model->clear();
}

void TfrmGameClient::refreshMemberList() {
    m_model->refresh();
}

void TfrmGameClient::refreshMemberStatus() {
    m_model->refreshStatus();
}

void TfrmGameClient::appendChat(const QString& html) {
    webChat->append(html);
}

// --- RoomHost: web requests

void TfrmGameClient::fetchProfile(qint64 userId, bool refreshList) {
    if (userId > 0) m_web->fetchProfiles({userId}, refreshList);
}

void TfrmGameClient::fetchAllProfiles() {
    m_web->fetchProfiles({}, true);
}

void TfrmGameClient::fetchShouts() {
    // The shout strip is part of the chat page, which is not built yet.
}

void TfrmGameClient::reportDrop(const QString& query) {
    m_web->reportDrop(query);
}

// --- RoomHost: the hall around the room

void TfrmGameClient::roomOnlineChanged(qint32 roomId, qint32 onlinecount) {
    if (onRoomOnline) onRoomOnline(roomId, onlinecount);
}

void TfrmGameClient::writeLastRoom(qint32 roomId) {
    if (ctx().CurrentUser.UserID == 0) return;
    if (!WriteLastRoom(settingPath(), roomId, QDateTime::currentDateTime()))
        qWarning("room: cannot write the last room to %s", qPrintable(settingPath()));
}

void TfrmGameClient::writeLastRoomTime() {
    if (ctx().CurrentUser.UserID == 0) return;
    if (!WriteLastRoomTime(settingPath(), QDateTime::currentDateTime()))
        qWarning("room: cannot write the last room time to %s", qPrintable(settingPath()));
}

void TfrmGameClient::deletePlayerPictures() {
    // Without a player or a documents folder the player's folder would be a relative path.
    if (ctx().CurrentUser.UserID == 0 || ctx().DocumentsPath.isEmpty()) return;
    DeletePlayerPictureFiles(PlayerFolder(ctx().DocumentsPath, ctx().CurrentUser.UserID));
}

// --- RoomHost: the game plug-in (not hosted yet: no plug-in is ever open)

bool TfrmGameClient::pluginOpen() const {
    return false;
}

bool TfrmGameClient::openPlugin() {
    qInfo("room: game plug-in %s not opened: plug-in hosting is not built yet",
          qPrintable(core().thisroom().parent.GUID));
    return false;
}

void TfrmGameClient::closePlugin() {
    core().bInGaming = false;
}

void TfrmGameClient::tellPlugin(int, int, qint64) {}

void TfrmGameClient::sendTableListToPlugin() {}

}  // namespace velmora::hall
