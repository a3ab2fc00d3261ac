#pragma once
// A prop animation over the desktop: one at a time, borderless, on top, transparent, closed
// after 6 seconds. The movie is an animated GIF beside the program ("images/" + name).

#include <QWidget>

class QLabel;
class QMovie;
class QTimer;

namespace velmora::hall {

class TfrmFlashPlayer : public QWidget {
    Q_OBJECT
public:
    // Shows `moviePath`; false when an animation is already playing or the file is no movie.
    static bool Play(const QString& moviePath);
    static TfrmFlashPlayer* current();

    QMovie* movie() const { return m_movie; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit TfrmFlashPlayer(QMovie* movie);
    ~TfrmFlashPlayer() override;

    QLabel* m_view;
    QMovie* m_movie;
    QTimer* m_timer;
};

}  // namespace velmora::hall
