#pragma once
// "浏览器": a web page on a tab of the main window, with its tool bar.

#include <QWidget>
#include <functional>

class QAction;
class QTabWidget;
class QToolBar;
class QToolButton;
class QWebEngineView;

namespace velmora::hall {

class HallWebPage;
class IRoomClient;

class TfrmIEClient : public QWidget {
    Q_OBJECT
public:
    // `tabs` is the main window's Tab1; `tTab` the page of it that shows this form.
    TfrmIEClient(QTabWidget* tabs, QWidget* tTab);

    QToolBar* ToolBar1;
    QToolButton* tbnBack;
    QToolButton* tbnForward;
    QToolButton* tbnStop;
    QToolButton* tbnReload;
    QToolButton* tbnHome;
    QToolButton* tbnClose;
    QWebEngineView* Web1;
    QWidget* tTab;
    QString WebURL;

    HallWebPage* page() const { return m_page; }
    void navigate(const QString& url);
    // Shows the tab and makes it the active page.
    void activateTab();
    // Closes the form unless it is the home tab (tbnClose hidden): its tab goes too.
    bool closePage();
    // Page tabs show "关闭"; the home tab does not, and cannot be closed.
    void setClosable(bool closable);
    bool closable() const { return m_closable; }

    // Set by the main window: a new window the page asks for, and the dialog links.
    std::function<TfrmIEClient*()> newWindowTab;
    std::function<void(const QString& link)> openDialogLink;

private:
    void titleChanged(const QString& title);
    QTabWidget* m_tabs;
    HallWebPage* m_page;
    QAction* m_closeAction = nullptr;
    bool m_closable = false;
};

}  // namespace velmora::hall
