#include "hall/shell/ui/gametree.h"

#include <QLabel>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <exception>

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/foundation/web/session.h"
#include "hall/gametree/gametreemodel.h"
#include "hall/shell/ui/gametreeitems.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/tfrmieclient.h"
#include "hall/shell/ui/tfrmiedialog.h"
#include "hall/shell/ui/tfrmmain.h"

namespace velmora::hall {
namespace {

// The updater needs a SessionHost only to start the program.
class UpdaterHost : public SessionHost {
public:
    void showMessage(const QString& text) override { ShowHint(nullptr, text); }
    bool runNetSetting() override { return false; }
    void terminateApplication() override {}
};

}  // namespace

GameTree::GameTree(TfrmMain& main) : QObject(&main), m_main(main) {
    m_model = new GameTreeModel(m_catalog, this);
    m_items = new GameTreeItems(this);
    m_items->loadImageList(HallContext::instance().AppPath);
    m_items->setSourceModel(m_model);
    post = [](const QString& url, const QString& form) {
        return HttpRequest(url, QStringLiteral("POST"), form);
    };
    runUpdater = [](const QString& parameters) {
        UpdaterHost host;
        return RunUpdater(parameters, host);
    };

    QTreeView* view = m_main.trvLeft;
    view->setModel(m_items);
    // The view forgets its expanded nodes on every reset (new nodes); the lists' wishes are
    // applied again. Text changes are no reset, so the player's own choices stay.
    connect(m_items, &QAbstractItemModel::modelReset, this, [this] { applyExpansion({}); });
    connect(view, &QTreeView::doubleClicked, this, &GameTree::trvLeftDblClick);
}

// The view lets go of the model when the model goes (QAbstractItemView follows destroyed()).
GameTree::~GameTree() = default;

QModelIndex GameTree::indexOfNode(NodeId node) const {
    return m_items->mapFromSource(m_model->indexOfNode(node));
}

QString GameTree::settingPath() const {
    const HallContext& c = HallContext::instance();
    return PlayerSettingPath(c.DocumentsPath, c.CurrentUser.UserID);
}

void GameTree::LoadLeftTree() {
    // The tree is built once; a second call (or one from inside the pending request) does
    // nothing.
    if (m_loadStarted) return;
    m_loadStarted = true;
    const HallContext& c = HallContext::instance();
    GameTreeSource source;
    source.gamexmlurl = c.url(QStringLiteral("gamexmlurl"));
    source.roomxmlurl = c.url(QStringLiteral("roomxmlurl"));
    source.token = c.Token;
    source.settingPath = settingPath();
    source.now = QDateTime::currentDateTime();
    TreeLoad result = TreeLoad::NoGameList;
    try {
        result = LoadGameTree(m_catalog, source, post);
    } catch (const std::exception& e) {
        qWarning("game tree: the lists could not be read: %s", e.what());
    }
    if (!m_catalog.onlineCaption().isEmpty()) m_main.pnlOnline->setText(m_catalog.onlineCaption());
    // The splash goes before the question below: the tree is complete.
    m_main.pnlSplash->hide();
    emit treeLoaded(result);
    if (result == TreeLoad::Loaded)
        offerLastRoom();
    else
        m_catalog.clearLastRoom();
}

void GameTree::offerLastRoom() {
    const STRU_GAMEROOM* offered = LastRoomToOffer(m_catalog);
    const STRU_GAMEROOM last = offered ? *offered : STRU_GAMEROOM{};
    m_catalog.clearLastRoom();
    if (last.id <= 0) return;
    const auto answer = ShowMessage(&m_main, kLastRoomQuestion, kHintCaption, QMessageBox::Question,
                                    QMessageBox::Yes | QMessageBox::No);
    if (answer == QMessageBox::Yes) {
        // The same checks as a double-click: a room left after a crash may meanwhile need an
        // upgrade, more coins than the player has, or be full.
        carryOutRoom(OpenRoom(last, openContext()));
        return;
    }
    if (!DeclineLastRoom(settingPath()))
        qWarning("last room: %s could not be written", qPrintable(settingPath()));
}

void GameTree::ApplyOnlineCounts(const OnlineCounts& counts) {
    ApplyOnlineCountsTo(m_catalog, counts);
}

void GameTree::SetRoomOnline(qint32 roomId, qint32 onlinecount) {
    m_catalog.setRoomOnline(roomId, onlinecount);
}

void GameTree::applyExpansion(const QModelIndex& parent) {
    QTreeView* view = m_main.trvLeft;
    const int rows = m_items->rowCount(parent);
    for (int row = 0; row < rows; ++row) {
        const QModelIndex index = m_items->index(row, 0, parent);
        view->setExpanded(index, index.data(GameTreeModel::ExpandedRole).toBool());
        applyExpansion(index);
    }
}

void GameTree::trvLeftDblClick(const QModelIndex& index) {
    // The view emits the double-click before it toggles the node: a collapsed node with
    // children is being expanded by this double-click and is not opened.
    if (!DoubleClickOpens(m_items->hasChildren(index), m_main.trvLeft->isExpanded(index))) return;
    const NodeId node = index.data(GameTreeModel::NodeIdRole).toInt();
    // Opened once the view has finished with the mouse event: the dialogs below are modal.
    QTimer::singleShot(0, this, [this, node] { openNode(node); });
}

OpenContext GameTree::openContext() const {
    const HallContext& c = HallContext::instance();
    OpenContext context;
    context.token = c.Token;
    context.homePageUrl = m_main.HomePage ? m_main.HomePage->WebURL : QString();
    context.player = c.CurrentUser;
    context.appPath = c.AppPath;
    context.installed = m_installed;
    if (IRoomClient* room = m_main.roomClient()) {
        context.client.exists = true;
        context.client.inGame = room->bInGaming();
        context.client.roomId = room->currentRoomId();
    }
    return context;
}

void GameTree::openNode(NodeId node) {
    carryOut(OpenNode(m_catalog, node, openContext()));
}

void GameTree::carryOut(const NodeOpening& opening) {
    switch (opening.action) {
        case NodeOpen::Nothing:
            return;
        case NodeOpen::GameDialog: {
            TfrmIEDialog dialog(m_main.roomClient(), {}, &m_main);
            dialog.setWindowTitle(opening.caption);
            dialog.navigate(opening.url);
            dialog.resize(opening.width, opening.height);
            dialog.exec();
            m_main.LoadUserInfo();
            m_main.reloadToolbar();
            return;
        }
        case NodeOpen::GameTab: {
            TfrmIEClient* client = m_main.newPageTab(opening.url, opening.caption);
            client->setFocus();
            return;
        }
        case NodeOpen::GameHomePage:
            m_main.HomePage->navigate(opening.url);
            return;
        case NodeOpen::Room:
            carryOutRoom(opening);
            return;
    }
}

void GameTree::carryOutRoom(const NodeOpening& opening) {
    switch (opening.verdict) {
        case RoomEntry::AskInstall:
        case RoomEntry::AskUpgrade: {
            const auto answer =
                ShowMessage(&m_main, RoomEntryText(opening.verdict), kHintCaption,
                            QMessageBox::Question, QMessageBox::Ok | QMessageBox::Cancel);
            if (answer == QMessageBox::Ok && !runUpdater(opening.room.parent.downloadxml))
                qWarning("game %d: the updater could not be started (downloadxml %s)",
                         opening.room.parent.id,
                         opening.room.parent.downloadxml.isEmpty() ? "empty" : "given");
            return;
        }
        case RoomEntry::NotEnoughGold:
        case RoomEntry::RoomFull:
        case RoomEntry::AlreadyPlaying:
            ShowHint(&m_main, RoomEntryText(opening.verdict));
            return;
        case RoomEntry::BadGameFile:
            qWarning("room %d not entered: its game's library is not a file in the games folder",
                     opening.room.id);
            return;
        case RoomEntry::SwitchToTab:
            m_main.activateGamePage();
            return;
        case RoomEntry::Enter:
            break;
    }
    IRoomClient* room = m_main.roomClient();
    if (!room) {
        qWarning("room %d not entered: the hall has no room client", opening.room.id);
        return;
    }
    m_main.openGamePage(opening.caption);
    room->LoadDesktop(opening.room);
}

}  // namespace velmora::hall
