#include "hall/shell/ui/tfrmieclient.h"

#include "hall/foundation/hallcontext.h"
#include "hall/shell/core/pagelinks.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/skin.h"

#include <QAction>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWebEngineHistory>
#include <QWebEngineView>

namespace velmora::hall {

TfrmIEClient::TfrmIEClient(QTabWidget* tabs, QWidget* tab)
    : QWidget(tab), tTab(tab), m_tabs(tabs) {
    setObjectName(QStringLiteral("TfrmIEClient"));
    setWindowTitle(QStringLiteral("浏览器"));
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setFixedHeight(23);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    auto button = [this](const QString& text) {
        auto* b = new QToolButton(ToolBar1);
        b->setText(text);
        b->setFixedWidth(51);
        b->setAutoRaise(true);
        return b;
    };
    tbnBack = button(QStringLiteral("后退"));
    tbnForward = button(QStringLiteral("前进"));
    tbnStop = button(QStringLiteral("停止"));
    tbnReload = button(QStringLiteral("刷新"));
    tbnHome = button(QStringLiteral("主页"));
    tbnClose = button(QStringLiteral("关闭"));
    tbnClose->setToolTip(QStringLiteral("关闭(Ctrl+W)"));
    ToolBar1->addWidget(tbnBack);
    ToolBar1->addWidget(tbnForward);
    ToolBar1->addSeparator();
    ToolBar1->addWidget(tbnStop);
    ToolBar1->addWidget(tbnReload);
    ToolBar1->addWidget(tbnHome);
    ToolBar1->addSeparator();
    m_closeAction = ToolBar1->addWidget(tbnClose);
    m_closeAction->setVisible(false);
    connect(tbnClose, &QToolButton::clicked, this, [this] { closePage(); });

    Web1 = new QWebEngineView(this);
    m_page = new HallWebPage(Web1);
    m_page->installTextFieldFilter();
    Web1->setPage(m_page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(ToolBar1);
    layout->addWidget(Web1);
    if (tab) {
        auto* tabLayout = new QVBoxLayout(tab);
        tabLayout->setContentsMargins(0, 0, 0, 0);
        tabLayout->addWidget(this);
    }

    connect(tbnBack, &QToolButton::clicked, Web1, &QWebEngineView::back);
    connect(tbnForward, &QToolButton::clicked, Web1, &QWebEngineView::forward);
    connect(tbnStop, &QToolButton::clicked, Web1, &QWebEngineView::stop);
    connect(tbnReload, &QToolButton::clicked, Web1, &QWebEngineView::reload);
    connect(tbnHome, &QToolButton::clicked, this,
            [this] { navigate(HallContext::instance().url(QStringLiteral("homeurl"))); });
    auto history = [this] {
        tbnBack->setEnabled(Web1->history()->canGoBack());
        tbnForward->setEnabled(Web1->history()->canGoForward());
    };
    connect(Web1, &QWebEngineView::urlChanged, this, history);
    connect(Web1, &QWebEngineView::loadFinished, this, [this, history](bool) {
        WebURL = Web1->url().toString();
        history();
    });
    history();
    connect(Web1, &QWebEngineView::titleChanged, this, &TfrmIEClient::titleChanged);
    // The page's window.close() closes a page tab; the home tab stays.
    connect(m_page, &QWebEnginePage::windowCloseRequested, this, [this] {
        QTimer::singleShot(0, this, [this] { closePage(); });
    });
    m_page->newWindow = [this]() -> QWebEnginePage* {
        TfrmIEClient* client = newWindowTab ? newWindowTab() : nullptr;
        return client ? client->page() : nullptr;
    };
    m_page->navigationFilter = [this](const QString& link, QWebEnginePage::NavigationType, bool) {
        switch (ClassifyPageLink(link)) {
        case PageLink::Page:
            return true;
        case PageLink::Dialog:
            if (openDialogLink)
                QTimer::singleShot(0, this, [this, link] { openDialogLink(link); });
            return false;
        case PageLink::Game:
        case PageLink::Prop:
        case PageLink::AddFriend:
            return false;  // commands of dialog pages and the room's pages, not of a tab
        }
        return false;
    };
    ApplySkin(this);
}

void TfrmIEClient::navigate(const QString& url) { Web1->setUrl(QUrl(url)); }

void TfrmIEClient::activateTab() {
    if (!m_tabs || !tTab)
        return;
    const int index = m_tabs->indexOf(tTab);
    if (index >= 0) {
        m_tabs->setTabVisible(index, true);
        m_tabs->setCurrentIndex(index);
    }
}

bool TfrmIEClient::closePage() {
    if (!m_closable || !m_tabs || !tTab)
        return false;
    const int index = m_tabs->indexOf(tTab);
    if (index >= 0)
        m_tabs->removeTab(index);
    tTab->deleteLater();
    return true;
}

void TfrmIEClient::setClosable(bool closable) {
    m_closable = closable;
    m_closeAction->setVisible(closable);
}

void TfrmIEClient::titleChanged(const QString& title) {
    setWindowTitle(title);
    if (m_tabs && tTab) {
        const int index = m_tabs->indexOf(tTab);
        if (index >= 0)
            m_tabs->setTabText(index, TabCaption(title));
    }
}

}  // namespace velmora::hall
