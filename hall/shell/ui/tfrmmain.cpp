#include "hall/shell/ui/tfrmmain.h"

#include "hall/foundation/hallcontext.h"
#include "hall/foundation/localsettings.h"
#include "hall/foundation/web/httprequest.h"
#include "hall/foundation/web/reentryguard.h"
#include "hall/shell/core/hallseams.h"
#include "hall/shell/core/onlinecount.h"
#include "hall/shell/core/pagelinks.h"
#include "hall/shell/core/toolbar.h"
#include "hall/shell/core/userprofile.h"
#include "hall/shell/ui/hallmessages.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/skin.h"
#include "hall/shell/ui/tfrmieclient.h"
#include "hall/shell/ui/tfrmiedialog.h"
#include "platform/ini/inifile.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace velmora::hall {

TfrmMain::TfrmMain(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("TfrmMain"));
    setWindowTitle(QStringLiteral("棋牌游戏"));
    buildLayout();
    const HallContext& context = HallContext::instance();
    // FormCreate
    setWindowTitle(QApplication::applicationName());
    loadSplitPicture(true);
    m_toolbarUrl = QUrl::fromLocalFile(context.AppPath + kToolbarFile).toString();
    WebToolbar->setUrl(QUrl(m_toolbarUrl));
    reloadFace();
    HomePage = new TfrmIEClient(Tab1, TabSheet1);
    HomePage->newWindowTab = [this] { return newPageTab(QString(), QStringLiteral("网页")); };
    HomePage->openDialogLink = [this](const QString& link) { openDialogLink(link, true); };
    Tab1->setTabText(Tab1->indexOf(TabSheet1), QStringLiteral("首页"));
    HomePage->navigate(context.url(QStringLiteral("homeurl")));
    HomePage->show();
    Tab1->setCurrentWidget(TabSheet1);

    Timer1 = new QTimer(this);
    Timer1->setInterval(50000);
    connect(Timer1, &QTimer::timeout, this, &TfrmMain::LoadOnline);
    Timer1->start();
    Timer2 = new QTimer(this);
    Timer2->setInterval(200);
    Timer2->setSingleShot(true);
    connect(Timer2, &QTimer::timeout, this, [this] {
        Timer2->stop();
        // The splash goes whatever the load met: a tree that failed to load, or an entry it
        // could not place, must not leave it over the window.
        struct HideSplash {
            QLabel* splash;
            ~HideSplash() { splash->hide(); }
        } hide{pnlSplash};
        if (m_tree)
            m_tree->LoadLeftTree();
    });
    Timer2->start();
    qApp->installEventFilter(this);
    ApplySkin(this);
}

TfrmMain::~TfrmMain() { qApp->removeEventFilter(this); }

void TfrmMain::buildLayout() {
    resize(894, 561);
    setMinimumSize(700, 500);
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    root->setSpacing(0);

    pnlTop = new QWidget(this);
    pnlTop->setObjectName(QStringLiteral("pnlTop"));
    pnlTop->setFixedHeight(63);
    WebToolbar = new QWebEngineView(pnlTop);
    m_toolbarPage = new HallWebPage(WebToolbar);
    WebToolbar->setPage(m_toolbarPage);
    auto* topLayout = new QVBoxLayout(pnlTop);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addWidget(WebToolbar);
    root->addWidget(pnlTop);

    auto* middle = new QHBoxLayout;
    middle->setContentsMargins(0, 0, 0, 0);
    middle->setSpacing(0);
    pnlLeft = new QWidget(this);
    pnlLeft->setObjectName(QStringLiteral("pnlLeft"));
    pnlLeft->setFixedWidth(240);
    pnlLeft->setMinimumWidth(200);
    pnlOnline = new QLabel(kOnlineCaptionPrefix, pnlLeft);
    pnlOnline->setObjectName(QStringLiteral("pnlOnline"));
    pnlOnline->setFixedHeight(25);
    webFace = new QWebEngineView(pnlLeft);
    m_facePage = new HallWebPage(webFace);
    webFace->setPage(m_facePage);
    webFace->setFixedHeight(185);
    trvLeft = new QTreeView(pnlLeft);
    trvLeft->setObjectName(QStringLiteral("trvLeft"));
    trvLeft->header()->hide();
    trvLeft->setEditTriggers(QAbstractItemView::NoEditTriggers);
    trvLeft->setSelectionMode(QAbstractItemView::SingleSelection);
    trvLeft->setIconSize(QSize(16, 16));
    trvLeft->setUniformRowHeights(true);
    trvLeft->setMouseTracking(true);
    auto* leftLayout = new QVBoxLayout(pnlLeft);
    leftLayout->setContentsMargins(0, 0, 0, 0);
    leftLayout->setSpacing(0);
    leftLayout->addWidget(pnlOnline);
    leftLayout->addWidget(webFace);
    leftLayout->addWidget(trvLeft, 1);
    middle->addWidget(pnlLeft);

    pnlLeftSplit = new QWidget(this);
    pnlLeftSplit->setObjectName(QStringLiteral("pnlLeftSplit"));
    pnlLeftSplit->setFixedWidth(8);
    pnlLeftSplit->setCursor(Qt::PointingHandCursor);
    imgSplit = new QLabel(pnlLeftSplit);
    imgSplit->setObjectName(QStringLiteral("imgSplit"));
    imgSplit->setAlignment(Qt::AlignCenter);
    imgSplit->setCursor(Qt::PointingHandCursor);
    auto* splitLayout = new QVBoxLayout(pnlLeftSplit);
    splitLayout->setContentsMargins(0, 0, 0, 0);
    splitLayout->addWidget(imgSplit);
    pnlLeftSplit->installEventFilter(this);
    imgSplit->installEventFilter(this);
    middle->addWidget(pnlLeftSplit);

    Tab1 = new QTabWidget(this);
    Tab1->setObjectName(QStringLiteral("Tab1"));
    Tab1->setDocumentMode(true);
    TabSheet1 = new QWidget;
    sGamePage = new QWidget;
    Tab1->addTab(TabSheet1, QString());
    Tab1->addTab(sGamePage, QStringLiteral("游戏"));
    Tab1->setTabVisible(Tab1->indexOf(sGamePage), false);
    Tab1->tabBar()->installEventFilter(this);
    middle->addWidget(Tab1, 1);
    root->addLayout(middle, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setSizeGripEnabled(true);
    auto* statusPanel = new QLabel(StatusBar1);
    statusPanel->setFixedWidth(300);
    StatusBar1->addWidget(statusPanel);
    root->addWidget(StatusBar1);

    pnlSplash = new QLabel(QStringLiteral("正在加载房间信息，请稍候..."), this);
    pnlSplash->setObjectName(QStringLiteral("pnlSplash"));
    pnlSplash->setAlignment(Qt::AlignCenter);
    pnlSplash->setFixedSize(305, 41);
    pnlSplash->raise();

    MakePaneInert(WebToolbar);
    MakePaneInert(webFace);
    connect(WebToolbar, &QWebEngineView::loadFinished, this, [this](bool ok) {
        if (ok)
            fillToolbar();
    });
    connect(webFace, &QWebEngineView::loadFinished, this, [this](bool) {
        m_facePage->runJavaScript(
            QStringLiteral("try{document.body.style.borderStyle='none';}catch(e){}"));
    });
    m_toolbarPage->navigationFilter = [this](const QString& link, QWebEnginePage::NavigationType,
                                             bool isMainFrame) {
        return !isMainFrame || toolbarNavigation(link);
    };
    m_facePage->navigationFilter = [this](const QString& link, QWebEnginePage::NavigationType,
                                          bool isMainFrame) {
        return !isMainFrame || faceNavigation(link);
    };
}

void TfrmMain::fillToolbar() {
    const HallContext& c = HallContext::instance();
    m_toolbarReady = false;
    m_toolbarPage->runJavaScript(
        ToolbarScript(c.AppPath, c.CurrentUser, c.url(QStringLiteral("editurl")), c.Token),
        [this](const QVariant&) {
            m_toolbarReady = true;
            emit toolbarFilled();
        });
}

bool TfrmMain::toolbarNavigation(const QString& link) {
    if (link == m_toolbarUrl)
        return true;
    // Handled once WebEngine has returned from its callback: a modal dialog must not run
    // inside it.
    QTimer::singleShot(0, this, [this, link] {
        if (ClassifyPageLink(link) != PageLink::Dialog) {
            HomePage->navigate(link);
            HomePage->show();
            HomePage->activateTab();
            return;
        }
        openDialogLink(link, true);
    });
    return false;
}

bool TfrmMain::faceNavigation(const QString& link) {
    const QString faceUrl = HallContext::instance().url(QStringLiteral("userfaceurl"));
    if (!faceUrl.isEmpty() && link.left(faceUrl.size()) == faceUrl)
        return true;
    QTimer::singleShot(0, this, [this, link] {
        if (ClassifyPageLink(link) == PageLink::Dialog) {
            if (inGame()) {
                ShowHint(this, QStringLiteral("请先退出游戏再执行此操作！"));
                return;
            }
            openDialogLink(link, false);
            return;
        }
        HomePage->navigate(link);
        HomePage->show();
    });
    return false;
}

void TfrmMain::openDialogLink(const QString& link, bool refreshProfile) {
    const DialogLink target = ParseDialogLink(link);
    TfrmIEDialog dialog(m_room, [this] { reloadFace(); }, this);
    dialog.navigate(target.target);
    dialog.resize(target.width, target.height);
    dialog.exec();
    if (refreshProfile) {
        LoadUserInfo();
        reloadToolbar();
    }
}

void TfrmMain::reloadFace() {
    const HallContext& c = HallContext::instance();
    const QString faceUrl = c.url(QStringLiteral("userfaceurl"));
    if (faceUrl.isEmpty())
        return;
    webFace->setUrl(QUrl(faceUrl + QStringLiteral("?token=") + c.Token +
                         QStringLiteral("&temp=left&userid=") +
                         QString::number(c.CurrentUser.UserID)));
}

TfrmIEClient* TfrmMain::newPageTab(const QString& url, const QString& caption) {
    auto* sheet = new QWidget;
    const int index = Tab1->addTab(sheet, caption);
    auto* client = new TfrmIEClient(Tab1, sheet);
    client->setClosable(true);
    client->newWindowTab = [this] { return newPageTab(QString(), QStringLiteral("网页")); };
    client->openDialogLink = [this](const QString& link) { openDialogLink(link, true); };
    if (!url.isEmpty())
        client->navigate(url);
    client->show();
    Tab1->setCurrentIndex(index);
    return client;
}

void TfrmMain::setRoomClient(IRoomClient* room, QWidget* view) {
    m_room = room;
    if (!view || view->parentWidget() == sGamePage)
        return;
    auto* layout = sGamePage->layout() ? sGamePage->layout() : new QVBoxLayout(sGamePage);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view);
}

void TfrmMain::openGamePage(const QString& caption) {
    bCreateClient = true;
    const int index = Tab1->indexOf(sGamePage);
    Tab1->setTabText(index, caption);
    Tab1->setTabVisible(index, true);
    Tab1->setCurrentWidget(sGamePage);
}

void TfrmMain::activateGamePage() {
    const int index = Tab1->indexOf(sGamePage);
    Tab1->setTabVisible(index, true);
    Tab1->setCurrentIndex(index);
}

void TfrmMain::hideGamePage() { Tab1->setTabVisible(Tab1->indexOf(sGamePage), false); }

void TfrmMain::reloadToolbar() { WebToolbar->setUrl(QUrl(m_toolbarUrl)); }

bool TfrmMain::inGame() const { return m_room && m_room->bInGaming(); }

void TfrmMain::LoadOnline() {
    static bool busy = false;
    ReentryGuard guard(busy);
    if (!guard.entered())
        return;
    HallContext& c = HallContext::instance();
    const QString url = c.url(QStringLiteral("onlinecount"));
    const QString reply =
        url.isEmpty() ? QString() : HttpRequest(url + QStringLiteral("?token=") + c.Token,
                                                QStringLiteral("GET"));
    const OnlineCounts counts = ParseOnlineCounts(reply);
    if (counts.expired) {
        if (inGame())
            m_room->DeletePluginClient();
        c.ExitMessage = kSessionExpiredMessage;
        close();
        return;
    }
    if (m_tree)
        m_tree->ApplyOnlineCounts(counts);
    pnlOnline->setText(counts.caption());
}

void TfrmMain::LoadUserInfo() {
    static bool busy = false;
    ReentryGuard guard(busy);
    if (!guard.entered())
        return;
    HallContext& c = HallContext::instance();
    const QString url = c.url(QStringLiteral("userinfourl"));
    if (url.isEmpty())
        return;
    const QString reply = HttpRequest(url, QStringLiteral("POST"),
                                      ProfileRequestForm(c.CurrentUser.UserID, c.Token));
    ApplyProfileReply(reply, c.CurrentUser);
}

void TfrmMain::toggleLeftPane() {
    const bool show = !pnlLeft->isVisible();
    pnlLeft->setVisible(show);
    loadSplitPicture(show);
}

void TfrmMain::loadSplitPicture(bool leftShown) {
    const QString name = leftShown ? QStringLiteral("images/skin/btntoleft.png")
                                   : QStringLiteral("images/skin/btntoright.png");
    imgSplit->setPixmap(QPixmap(HallContext::instance().AppPath + name));
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (inGame()) {
        ShowHint(this, QStringLiteral("您正在游戏中，不能强退！"));
        event->ignore();
        return;
    }
    const HallContext& c = HallContext::instance();
    platform::IniFile(PlayerSettingPath(c.DocumentsPath, c.CurrentUser.UserID))
        .writeString(kSettingSection, QStringLiteral("lastroomid"), QStringLiteral("0"));
    event->accept();
    emit closed();
}

void TfrmMain::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    pnlSplash->move((width() - pnlSplash->width()) / 2, (height() - pnlSplash->height()) / 2);
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if ((watched == pnlLeftSplit || watched == imgSplit) &&
        event->type() == QEvent::MouseButtonRelease) {
        toggleLeftPane();
        return true;
    }
    if (watched == Tab1->tabBar() && event->type() == QEvent::MouseButtonDblClick &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        QWidget* page = Tab1->currentWidget();
        if (page == sGamePage) {
            if (m_room)
                m_room->btnExitClick();
        } else if (page != TabSheet1) {
            if (auto* client = page->findChild<TfrmIEClient*>(QString(), Qt::FindDirectChildrenOnly))
                client->closePage();
        }
        return true;
    }
    if (event->type() == QEvent::KeyPress && isActiveWindow()) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool ctrl = key->modifiers() & Qt::ControlModifier;
        if (ctrl && (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)) {
            const int count = Tab1->count();
            for (int step = 1; step <= count; ++step) {
                const int index = (Tab1->currentIndex() + step) % count;
                if (Tab1->isTabVisible(index)) {
                    Tab1->setCurrentIndex(index);
                    break;
                }
            }
            return true;
        }
        if (ctrl && key->key() == Qt::Key_W) {
            QWidget* page = Tab1->currentWidget();
            if (page != TabSheet1 && page != sGamePage) {
                if (auto* client =
                        page->findChild<TfrmIEClient*>(QString(), Qt::FindDirectChildrenOnly))
                    client->closePage();
            }
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace velmora::hall
