#pragma once
// "对话框": a modal web page (profile, props, friends). "prop://" and "addfriend://" links
// give the room client a command and close the dialog.

#include <QDialog>
#include <functional>

class QWebEngineView;

namespace velmora::hall {

class HallWebPage;
class IRoomClient;

class TfrmIEDialog : public QDialog {
    Q_OBJECT
public:
    // `room` may be null (no room open); `onClosed` runs when the dialog closes.
    TfrmIEDialog(IRoomClient* room, std::function<void()> onClosed, QWidget* parent = nullptr);

    QWebEngineView* Web1;
    HallWebPage* page() const { return m_page; }
    void navigate(const QString& url);

protected:
    void done(int result) override;

private:
    bool handleLink(const QString& link);
    IRoomClient* m_room;
    std::function<void()> m_onClosed;
    HallWebPage* m_page;
    bool m_closed = false;
};

}  // namespace velmora::hall
