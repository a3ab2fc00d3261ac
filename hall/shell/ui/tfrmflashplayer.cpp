#include "hall/shell/ui/tfrmflashplayer.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMovie>
#include <QScreen>
#include <QTimer>

namespace velmora::hall {
namespace {

TfrmFlashPlayer* g_player = nullptr;
constexpr int kPlayMs = 6000;

}  // namespace

TfrmFlashPlayer* TfrmFlashPlayer::current() { return g_player; }

bool TfrmFlashPlayer::Play(const QString& moviePath) {
    if (g_player)
        return false;
    auto* movie = new QMovie(moviePath);
    if (!movie->isValid()) {
        qWarning("prop animation %s cannot be read", qPrintable(moviePath));
        delete movie;
        return false;
    }
    g_player = new TfrmFlashPlayer(movie);
    g_player->show();
    movie->start();
    return true;
}

TfrmFlashPlayer::TfrmFlashPlayer(QMovie* movie) : QWidget(nullptr), m_movie(movie) {
    setObjectName(QStringLiteral("TfrmFlashPlayer"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::Tool |
                   Qt::WindowTransparentForInput);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    resize(640, 480);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());
    m_movie->setParent(this);
    m_view = new QLabel(this);
    m_view->setGeometry(rect());
    m_view->setAlignment(Qt::AlignCenter);
    m_view->setAttribute(Qt::WA_TranslucentBackground);
    m_view->setMovie(m_movie);
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &QWidget::close);
    m_timer->start(kPlayMs);
}

TfrmFlashPlayer::~TfrmFlashPlayer() {
    if (g_player == this)
        g_player = nullptr;
}

void TfrmFlashPlayer::closeEvent(QCloseEvent* event) {
    m_timer->stop();
    m_movie->stop();
    if (g_player == this)
        g_player = nullptr;
    event->accept();
}

}  // namespace velmora::hall
