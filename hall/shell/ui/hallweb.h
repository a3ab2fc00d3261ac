#pragma once
// Qt WebEngine plumbing of the hall's web panes.
//
// Hall pages give commands through links ("dialog://400_180@http://...", "prop://...",
// "addfriend://1/0/0/0/2"). QUrl cannot carry such text unchanged (a numeric host becomes an
// IPv4 address, "@http:" becomes user info and a host), so a script in every hall page catches
// clicks on these links and navigates to "velmora-link:" + the percent-encoded link instead;
// LinkFromUrl gives the link back exactly as the page wrote it.

#include <QString>
#include <QUrl>
#include <QWebEnginePage>
#include <functional>

class QWebEngineView;

namespace velmora::hall {

// Registers every hall scheme with the web engine. Must run before QApplication exists.
void RegisterHallSchemes();

// The link a navigation stands for: the original text of a "velmora-link:" address, else the
// address as text.
QString LinkFromUrl(const QUrl& url);

// A page whose navigations go through `navigationFilter` (true: follow it) and whose requests
// for a new window go to `newWindow`.
class HallWebPage : public QWebEnginePage {
    Q_OBJECT
public:
    explicit HallWebPage(QObject* parent = nullptr);

    std::function<bool(const QString& link, NavigationType type, bool isMainFrame)> navigationFilter;
    std::function<QWebEnginePage*()> newWindow;

    // Adds the filter that allows the context menu and text selection only in text fields.
    void installTextFieldFilter();

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;
};

// Swallows key presses and right-button events aimed at a web view (panes that take no
// keyboard input and show no context menu). `alsoMouseMove` for the advertisement pane.
void MakePaneInert(QWebEngineView* view, bool alsoMouseMove = false);

}  // namespace velmora::hall
