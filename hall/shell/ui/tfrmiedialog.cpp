#include "hall/shell/ui/tfrmiedialog.h"

#include "hall/shell/core/hallseams.h"
#include "hall/shell/core/pagelinks.h"
#include "hall/shell/ui/hallweb.h"
#include "hall/shell/ui/skin.h"

#include <QTimer>
#include <QVBoxLayout>
#include <QWebEngineView>

namespace velmora::hall {

TfrmIEDialog::TfrmIEDialog(IRoomClient* room, std::function<void()> onClosed, QWidget* parent)
    : QDialog(parent), m_room(room), m_onClosed(std::move(onClosed)) {
    setObjectName(QStringLiteral("TfrmIEDialog"));
    setWindowTitle(QStringLiteral("对话框"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    Web1 = new QWebEngineView(this);
    m_page = new HallWebPage(Web1);
    m_page->installTextFieldFilter();
    Web1->setPage(m_page);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Web1);
    resize(629, 358);

    connect(Web1, &QWebEngineView::loadFinished, this, [this](bool) {
        m_page->runJavaScript(QStringLiteral(
            "try{var b=document.body;b.style.borderStyle='none';b.style.overflow='hidden';"
            "b.style.overflowY='hidden';}catch(e){}"));
    });
    connect(Web1, &QWebEngineView::titleChanged, this, [this](const QString& title) {
        if (DialogTakesTitle(title))
            setWindowTitle(title);
    });
    connect(m_page, &QWebEnginePage::windowCloseRequested, this,
            [this] { QTimer::singleShot(0, this, [this] { reject(); }); });
    m_page->navigationFilter = [this](const QString& link, QWebEnginePage::NavigationType, bool) {
        return handleLink(link);
    };
    ApplySkin(this);
}

void TfrmIEDialog::navigate(const QString& url) { Web1->setUrl(QUrl(url)); }

bool TfrmIEDialog::handleLink(const QString& link) {
    switch (ClassifyPageLink(link)) {
    case PageLink::Prop: {
        const QString line = PropCommandLine(link);
        if (!m_room || !m_room->SendRoomCommand(line))
            qInfo("no room is open: prop command not sent");
        QTimer::singleShot(0, this, [this] { accept(); });
        return false;
    }
    case PageLink::AddFriend: {
        const qint64 id = AddFriendId(link);
        if (m_room) {
            m_room->LoadUserInfo(id);
            m_room->SendRoomCommand(AddFriendCommandLine(id));
        } else {
            qInfo("no room is open: friend request not sent");
        }
        QTimer::singleShot(0, this, [this] { accept(); });
        return false;
    }
    case PageLink::Dialog:
    case PageLink::Game:
        return false;  // no page behind these
    case PageLink::Page:
        return true;
    }
    return true;
}

void TfrmIEDialog::done(int result) {
    QDialog::done(result);
    if (!m_closed) {
        m_closed = true;
        if (m_onClosed)
            m_onClosed();
    }
}

}  // namespace velmora::hall
