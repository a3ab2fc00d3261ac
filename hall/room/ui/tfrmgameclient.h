#pragma once
// The room window: title bar, splash, the tables panel, the right-hand panel with the member
// list and the chat, the exit, join and settings buttons. It owns the room session (socket,
// timers, GameClientCore), implements RoomHost for it and IRoomClient for the shell. The main
// window creates one and reuses it for every room; it is hidden, never destroyed, on leaving.
//
// Not here yet: the tables page, the chat page with its toolbar and shouts, the member list's
// groups, sorting, menus and cards, and the game plug-in (its operations answer "no plug-in";
// a seat restored after a drop therefore ends with "创建游戏失败。" and a leave request).

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>

#include "hall/room/roomsession.h"
#include "hall/room/ui/roomwebqueue.h"
#include "hall/shell/core/hallseams.h"

class QLabel;
class QPushButton;
class QTableView;
class QTextBrowser;

namespace velmora::hall {

class RoomMemberModel;

class TfrmGameClient : public QWidget, public RoomHost, public IRoomClient {
    Q_OBJECT
public:
    // `http` replaces the web client (tests); empty: HttpRequest.
    explicit TfrmGameClient(QWidget* parent = nullptr, RoomWebQueue::Http http = {});
    ~TfrmGameClient() override;

    QLabel* lblTitle;         // "  category->game->room"
    QPushButton* btnJoin;     // "加入"
    QPushButton* btnSetting;  // "设置"
    QPushButton* btnExit;     // "退出房间"
    QWidget* pnlDesk;         // the tables panel; the tables page goes in here
    QWidget* pnlRight;        // member list above, chat below
    QTableView* ltvUserList;
    QWidget* pnlChat;
    QTextBrowser* webChat;  // the room's chat lines until the chat page replaces it
    QWidget* pnlSplash;
    QLabel* lblSplash;

    RoomSession& session() { return *m_session; }
    GameClientCore& core() { return m_session->core(); }
    RoomMemberModel& memberModel() { return *m_model; }
    RoomWebQueue& web() { return *m_web; }

    // The room's online count changed (entering, leaving): the game tree's SetRoomOnline.
    std::function<void(qint32 roomId, qint32 onlinecount)> onRoomOnline;

    // The settings button: TfrmGameSetting over a copy of thisGameSetting; OK keeps the copy.
    void btnSettingClick();
    // Fetches and applies profiles now (empty: every member); the list follows.
    void loadUserInfo(const QList<qint64>& ids);

    // IRoomClient
    bool bInGaming() const override;
    void DeletePluginClient() override;
    void btnExitClick() override;
    bool SendRoomCommand(const QString& line) override;
    void LoadUserInfo(qint64 userId) override;
    qint32 currentRoomId() const override;
    void LoadDesktop(const STRU_GAMEROOM& room) override;

    // RoomHost
    void setCaptions(const QString& windowCaption, const QString& titleBar) override;
    void setSplashText(const QString& text) override;
    void setSplashVisible(bool visible) override;
    void setRoomEnabled(bool enabled) override;
    void prepareRoomView() override;
    void showMessage(const QString& text) override;
    void hideRoomWindow() override;
    void reloadTablesPage() override;
    void clearMemberList() override;
    void refreshMemberList() override;
    void refreshMemberStatus() override;
    void appendChat(const QString& html) override;
    void fetchProfile(qint64 userId, bool refreshList) override;
    void fetchAllProfiles() override;
    void fetchShouts() override;
    void reportDrop(const QString& query) override;
    void roomOnlineChanged(qint32 roomId, qint32 onlinecount) override;
    void writeLastRoom(qint32 roomId) override;
    void writeLastRoomTime() override;
    void deletePlayerPictures() override;
    bool pluginOpen() const override;
    bool openPlugin() override;
    void closePlugin() override;
    void tellPlugin(int type, int code, qint64 userId) override;
    void sendTableListToPlugin() override;

signals:
    // The room window was hidden (room left or closed): the main window hides its game tab.
    void roomWindowHidden();

protected:
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildLayout();
    void placeSplash();
    void applyColumnWidths();
    void showNextMessage();
    QString settingPath() const;

    std::unique_ptr<RoomSession> m_session;
    RoomMemberModel* m_model = nullptr;
    RoomWebQueue* m_web = nullptr;
    QStringList m_messages;  // shown one at a time from the event loop
    bool m_showingMessage = false;
};

// Deletes the "*.bmp" and "*.png" files (any letter case) directly in `folder`, nothing else:
// no sub-folders, no other kinds. Returns how many were deleted.
int DeletePlayerPictureFiles(const QString& folder);

}  // namespace velmora::hall
