#pragma once
// The main window: toolbar pane, face pane, game tree area, the tab control with the home
// page, online counts every 50 s and the player's profile.

#include <QWidget>

class QLabel;
class QStatusBar;
class QTabWidget;
class QTimer;
class QTreeView;
class QWebEngineView;

namespace velmora::hall {

class HallWebPage;
class IGameTree;
class IRoomClient;
class TfrmIEClient;

class TfrmMain : public QWidget {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    QWidget* pnlTop;
    QWebEngineView* WebToolbar;
    QWidget* pnlLeft;
    QLabel* pnlOnline;
    QWebEngineView* webFace;
    QTreeView* trvLeft;  // shows the game tree (setGameTree)
    QWidget* pnlLeftSplit;
    QLabel* imgSplit;
    QTabWidget* Tab1;
    QWidget* TabSheet1;
    QWidget* sGamePage;
    QStatusBar* StatusBar1;
    QLabel* pnlSplash;
    QTimer* Timer1;
    QTimer* Timer2;
    TfrmIEClient* HomePage;
    bool bCreateClient = false;

    void LoadOnline();
    void LoadUserInfo();
    // Opens "dialog://w_h@target" modally; with `refreshProfile` the profile and the toolbar
    // are refreshed afterwards.
    void openDialogLink(const QString& link, bool refreshProfile);
    // A new page tab (closable) showing `url` (empty: the caller sets the page).
    TfrmIEClient* newPageTab(const QString& url, const QString& caption);
    void toggleLeftPane();

    // Seams for the room client and the game tree; neither is owned.
    void setRoomClient(IRoomClient* room) { m_room = room; }
    // The same, with the room client's window: it goes onto the game page now, and the game
    // tab stays hidden until a room is opened (openGamePage).
    void setRoomClient(IRoomClient* room, QWidget* view);
    IRoomClient* roomClient() const { return m_room; }
    void setGameTree(IGameTree* tree) { m_tree = tree; }
    // A room is being opened: the game tab gets `caption`, becomes visible and active, and
    // bCreateClient is set.
    void openGamePage(const QString& caption);
    // Makes the game tab visible and active (the room client shows a room already).
    void activateGamePage();
    // The room was left: the game tab hides.
    void hideGamePage();
    // Loads the toolbar page again (face, name and level are filled in once it has loaded).
    void reloadToolbar();

    // True once the toolbar page has been filled with the player's values.
    bool toolbarReady() const { return m_toolbarReady; }

signals:
    void closed();
    void toolbarFilled();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildLayout();
    void fillToolbar();
    bool toolbarNavigation(const QString& link);
    bool faceNavigation(const QString& link);
    void reloadFace();
    void loadSplitPicture(bool leftShown);
    bool inGame() const;

    HallWebPage* m_toolbarPage;
    HallWebPage* m_facePage;
    IRoomClient* m_room = nullptr;
    IGameTree* m_tree = nullptr;
    QString m_toolbarUrl;
    bool m_toolbarReady = false;
};

}  // namespace velmora::hall
