// mktreeicons: draws the game tree's image list, images/tree/<n>.png (16 x 16). The lists name
// pictures by index: 0 room, 1 category, 2 card game, 3 the recently played group, 4 room
// (second colour), 5 board game, 6 web page, 7 web dialog.
//   mktreeicons <assets folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>

namespace {

void table(QPainter& p, QColor felt) {
    p.setPen(QPen(QColor(0x6b, 0x42, 0x1e), 1.2));
    p.setBrush(felt);
    p.drawEllipse(QRectF(1.5, 3.5, 13, 8));
    p.setPen(QPen(QColor(0x6b, 0x42, 0x1e), 1.5));
    p.drawLine(QPointF(4, 11), QPointF(3, 15));
    p.drawLine(QPointF(12, 11), QPointF(13, 15));
}

void drawFolder(QPainter& p) {
    p.setPen(QPen(QColor(0xa0, 0x78, 0x10), 1));
    p.setBrush(QColor(0xf5, 0xc8, 0x42));
    QPainterPath path;
    path.moveTo(1.5, 3.5);
    path.lineTo(6, 3.5);
    path.lineTo(7.5, 5);
    path.lineTo(14.5, 5);
    path.lineTo(14.5, 13.5);
    path.lineTo(1.5, 13.5);
    path.closeSubpath();
    p.drawPath(path);
    p.setBrush(QColor(0xfb, 0xdc, 0x74));
    p.drawRect(QRectF(1.5, 6.5, 13, 7));
}

void card(QPainter& p, QRectF r, QColor mark) {
    p.setPen(QPen(QColor(0x55, 0x55, 0x55), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(r, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(mark);
    const QPointF c = r.center();
    QPainterPath heart;
    heart.moveTo(c.x(), c.y() + 3);
    heart.cubicTo(c.x() - 4, c.y() - 0.5, c.x() - 1.5, c.y() - 3.5, c.x(), c.y() - 1);
    heart.cubicTo(c.x() + 1.5, c.y() - 3.5, c.x() + 4, c.y() - 0.5, c.x(), c.y() + 3);
    p.drawPath(heart);
}

void cards(QPainter& p) {
    p.save();
    p.translate(8, 8);
    p.rotate(-14);
    card(p, QRectF(-7, -6.5, 9, 12.5), QColor(0x22, 0x22, 0x22));
    p.restore();
    card(p, QRectF(5.5, 2.5, 9, 12.5), QColor(0xd0, 0x20, 0x20));
}

void drawClock(QPainter& p) {
    p.setPen(QPen(QColor(0x1d, 0x5f, 0xa8), 1.4));
    p.setBrush(QColor(0xe6, 0xf0, 0xfb));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setPen(QPen(QColor(0x1d, 0x3f, 0x68), 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(8, 4));
    p.drawLine(QPointF(8, 8), QPointF(11, 9.5));
}

void dice(QPainter& p) {
    p.setPen(QPen(QColor(0x60, 0x20, 0x20), 1));
    p.setBrush(QColor(0xf3, 0xf3, 0xf3));
    p.drawRoundedRect(QRectF(2.5, 2.5, 11, 11), 2.5, 2.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xc0, 0x10, 0x10));
    for (const QPointF c : {QPointF(5.5, 5.5), QPointF(8, 8), QPointF(10.5, 10.5)})
        p.drawEllipse(c, 1.2, 1.2);
}

void globe(QPainter& p) {
    p.setPen(QPen(QColor(0x1e, 0x6e, 0x3a), 1));
    p.setBrush(QColor(0x9c, 0xd8, 0xf0));
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRectF(5, 1.5, 6, 13));
    p.drawLine(QPointF(1.5, 8), QPointF(14.5, 8));
    p.drawLine(QPointF(3, 4.5), QPointF(13, 4.5));
    p.drawLine(QPointF(3, 11.5), QPointF(13, 11.5));
}

void drawWindow(QPainter& p) {
    p.setPen(QPen(QColor(0x33, 0x4d, 0x80), 1));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(1.5, 2.5, 13, 11));
    p.setBrush(QColor(0x4a, 0x78, 0xc8));
    p.drawRect(QRectF(1.5, 2.5, 13, 3));
    p.setPen(QPen(QColor(0x99, 0x99, 0x99), 1));
    p.drawLine(QPointF(4, 8.5), QPointF(12, 8.5));
    p.drawLine(QPointF(4, 10.5), QPointF(10, 10.5));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mktreeicons <assets folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/images/tree");
    QDir().mkpath(folder);
    const std::function<void(QPainter&)> pictures[] = {
        [](QPainter& p) { table(p, QColor(0x2e, 0x8b, 0x3e)); },
        [](QPainter& p) { drawFolder(p); },
        [](QPainter& p) { cards(p); },
        [](QPainter& p) { drawClock(p); },
        [](QPainter& p) { table(p, QColor(0x2a, 0x62, 0xb0)); },
        [](QPainter& p) { dice(p); },
        [](QPainter& p) { globe(p); },
        [](QPainter& p) { drawWindow(p); },
    };
    int n = 0;
    for (const auto& draw : pictures) {
        QImage image(16, 16, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        draw(p);
        p.end();
        const QString file = folder + QStringLiteral("/%1.png").arg(n++);
        if (!image.save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    return 0;
}
