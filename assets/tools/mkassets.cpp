// Draws the hall's pictures (faces, level icons, splitter arrows, the program icon) and its
// prop animations (GIF). Run by hand when the pictures change; its output is kept in assets/.
//   mkassets <assets folder>
#include <QColor>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>
#include <cstdio>
#include <unordered_map>
#include <vector>

namespace {

QString g_root;

void save(const QImage& image, const QString& name) {
    const QString path = g_root + QLatin1Char('/') + name;
    QDir().mkpath(QFileInfo(path).path());
    if (!image.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

QImage canvas(int w, int h) {
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void face(int number) {
    QImage img = canvas(64, 64);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor bg = QColor::fromHsv((number * 37) % 360, 90, 235);
    p.setBrush(bg);
    p.setPen(QPen(bg.darker(130), 2));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 12, 12);
    const QColor skin = number % 3 == 0 ? QColor(240, 205, 170) : QColor(250, 220, 190);
    p.setPen(Qt::NoPen);
    // hair, head, shoulders
    const QColor hair = QColor::fromHsv((number * 71) % 360, 120, 90 + (number % 4) * 30);
    p.setBrush(hair.darker(110));
    p.drawEllipse(QRectF(40, 42, 0, 0));
    p.setBrush(QColor::fromHsv((number * 53 + 120) % 360, 150, 200));
    p.drawRoundedRect(QRectF(14, 46, 36, 22), 12, 12);
    p.setBrush(skin);
    p.drawEllipse(QRectF(18, 14, 28, 32));
    p.setBrush(hair);
    QPainterPath top;
    top.moveTo(17, 28);
    top.cubicTo(16, 8, 48, 8, 47, 28);
    top.cubicTo(40, 20, 26, 20, 17, 28);
    p.drawPath(top);
    p.setBrush(QColor(50, 40, 40));
    p.drawEllipse(QRectF(25, 29, 4, 4));
    p.drawEllipse(QRectF(35, 29, 4, 4));
    p.setPen(QPen(QColor(190, 80, 80), 1.6));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(27, 33, 10, 7), 200 * 16, 140 * 16);
    p.end();
    save(img, QStringLiteral("face/%1.png").arg(number));
}

QPainterPath star(QPointF c, double outer, double inner, int points) {
    QPainterPath path;
    for (int i = 0; i < points * 2; ++i) {
        const double r = i % 2 ? inner : outer;
        const double a = -M_PI / 2 + i * M_PI / points;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        i ? path.lineTo(pt) : path.moveTo(pt);
    }
    path.closeSubpath();
    return path;
}

void levelIcons() {
    const QColor colors[] = {QColor(120, 190, 90), QColor(70, 140, 220), QColor(235, 170, 40)};
    for (int level = 1; level <= 3; ++level) {
        QImage img = canvas(16, 16);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        QLinearGradient g(0, 0, 0, 16);
        g.setColorAt(0, colors[level - 1].lighter(140));
        g.setColorAt(1, colors[level - 1]);
        p.setBrush(g);
        p.setPen(QPen(colors[level - 1].darker(150), 1));
        p.drawPath(star(QPointF(8, 8.5), 7.5, level == 3 ? 3.2 : 3.6, level == 1 ? 4 : 5));
        p.end();
        save(img, QStringLiteral("images/level%1.png").arg(level));
    }
}

void splitArrows() {
    for (int dir = 0; dir < 2; ++dir) {
        QImage img = canvas(8, 48);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(44, 96, 160));
        p.drawRoundedRect(QRectF(0.5, 0.5, 7, 47), 3, 3);
        p.setBrush(Qt::white);
        QPolygonF tri;
        if (dir == 0)
            tri << QPointF(5.5, 19) << QPointF(2, 24) << QPointF(5.5, 29);
        else
            tri << QPointF(2.5, 19) << QPointF(6, 24) << QPointF(2.5, 29);
        p.drawPolygon(tri);
        p.end();
        save(img, dir == 0 ? QStringLiteral("images/skin/btntoleft.png")
                           : QStringLiteral("images/skin/btntoright.png"));
    }
}

void programIcon() {
    QImage img = canvas(64, 64);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient g(0, 0, 0, 64);
    g.setColorAt(0, QColor(60, 130, 200));
    g.setColorAt(1, QColor(25, 70, 130));
    p.setBrush(g);
    p.setPen(Qt::NoPen);
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 14, 14);
    // two fanned cards
    for (int i = 0; i < 2; ++i) {
        p.save();
        p.translate(32, 36);
        p.rotate(i ? 12 : -12);
        p.setBrush(Qt::white);
        p.setPen(QPen(QColor(200, 200, 210), 1));
        p.drawRoundedRect(QRectF(-12, -18, 24, 34), 3, 3);
        p.setPen(Qt::NoPen);
        p.setBrush(i ? QColor(210, 40, 50) : QColor(30, 30, 40));
        p.drawPath(star(QPointF(0, -1), 7, 3, i ? 4 : 5));
        p.restore();
    }
    p.end();
    save(img, QStringLiteral("images/velmora.png"));
}

void skinPictures() {
    QImage tab = canvas(4, 24);
    {
        QPainter p(&tab);
        QLinearGradient g(0, 0, 0, 24);
        g.setColorAt(0, QColor(250, 252, 255));
        g.setColorAt(1, QColor(214, 228, 245));
        p.fillRect(tab.rect(), g);
    }
    save(tab, QStringLiteral("skins/tab.png"));
    QImage banner = canvas(4, 63);
    {
        QPainter p(&banner);
        QLinearGradient g(0, 0, 0, 63);
        g.setColorAt(0, QColor(52, 118, 190));
        g.setColorAt(1, QColor(28, 74, 138));
        p.fillRect(banner.rect(), g);
    }
    save(banner, QStringLiteral("images/skin/toolbar_bg.png"));
}

// ---- a small GIF89a writer: global palette, transparent index 0, LZW with frequent clears.
class GifWriter {
public:
    explicit GifWriter(int w, int h) : m_w(w), m_h(h) {}

    void setPalette(const std::vector<QRgb>& colors) { m_palette = colors; }

    void addFrame(const QImage& frame, int delayCs) {
        QByteArray& b = m_data;
        b += '\x21'; b += '\xF9'; b += '\x04'; b += '\x09';  // restore to background, transparent
        le16(delayCs);
        b += char(0); b += char(0);
        b += '\x2C'; le16(0); le16(0); le16(m_w); le16(m_h); b += char(0);
        std::vector<uint8_t> idx;
        idx.reserve(size_t(m_w * m_h));
        for (int y = 0; y < m_h; ++y)
            for (int x = 0; x < m_w; ++x)
                idx.push_back(nearest(frame.pixel(x, y)));
        lzw(idx);
    }

    bool write(const QString& path) {
        QByteArray out = "GIF89a";
        auto le = [&out](int v) { out += char(v & 0xFF); out += char((v >> 8) & 0xFF); };
        le(m_w); le(m_h);
        out += char(0xF7);  // global table of 256 entries
        out += char(0); out += char(0);
        for (int i = 0; i < 256; ++i) {
            const QRgb c = i < int(m_palette.size()) ? m_palette[size_t(i)] : 0;
            out += char(qRed(c)); out += char(qGreen(c)); out += char(qBlue(c));
        }
        out += "\x21\xFF\x0BNETSCAPE2.0\x03\x01";
        out += char(0); out += char(0); out += char(0);
        out += m_data;
        out += ';';
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
    }

private:
    void le16(int v) { m_data += char(v & 0xFF); m_data += char((v >> 8) & 0xFF); }

    uint8_t nearest(QRgb px) const {
        if (qAlpha(px) < 128)
            return 0;
        int best = 1, bestD = INT_MAX;
        for (size_t i = 1; i < m_palette.size(); ++i) {
            const QRgb c = m_palette[i];
            const int dr = qRed(c) - qRed(px), dg = qGreen(c) - qGreen(px), db = qBlue(c) - qBlue(px);
            const int d = dr * dr + dg * dg + db * db;
            if (d < bestD) { bestD = d; best = int(i); }
        }
        return uint8_t(best);
    }

    // Variable-width LZW as GIF wants it: codes start at 9 bits, grow to 12, and the table is
    // cleared when it is full.
    void lzw(const std::vector<uint8_t>& idx) {
        QByteArray bits;
        uint32_t acc = 0;
        int nbits = 0;
        int width = 9;
        auto put = [&](int code) {
            acc |= uint32_t(code) << nbits;
            nbits += width;
            while (nbits >= 8) { bits += char(acc & 0xFF); acc >>= 8; nbits -= 8; }
        };
        std::unordered_map<uint32_t, int> table;
        int next = 258;
        put(256);
        int prefix = -1;
        for (uint8_t v : idx) {
            if (prefix < 0) { prefix = v; continue; }
            const uint32_t key = (uint32_t(prefix) << 8) | v;
            const auto it = table.find(key);
            if (it != table.end()) { prefix = it->second; continue; }
            put(prefix);
            if (next < 4096) {
                table.emplace(key, next);
                if (next == (1 << width) && width < 12) ++width;
                ++next;
            } else {
                put(256);
                table.clear();
                next = 258;
                width = 9;
            }
            prefix = v;
        }
        if (prefix >= 0) put(prefix);
        put(257);
        if (nbits > 0) bits += char(acc & 0xFF);
        m_data += char(8);
        for (qsizetype i = 0; i < bits.size(); i += 255) {
            const QByteArray block = bits.mid(i, 255);
            m_data += char(block.size());
            m_data += block;
        }
        m_data += char(0);
    }

    int m_w, m_h;
    std::vector<QRgb> m_palette;
    QByteArray m_data;
};

std::vector<QRgb> propPalette() {
    std::vector<QRgb> pal{qRgb(255, 255, 255)};
    for (int h = 0; h < 360; h += 15)
        for (int v : {255, 200, 140})
            for (int s : {255, 150, 60})
                pal.push_back(QColor::fromHsv(h, s, v).rgb());
    pal.push_back(qRgb(255, 255, 255));
    pal.push_back(qRgb(30, 30, 30));
    pal.resize(256, qRgb(0, 0, 0));
    return pal;
}

void roseAnimation() {
    const int w = 240, h = 240, frames = 24;
    GifWriter gif(w, h);
    gif.setPalette(propPalette());
    for (int f = 0; f < frames; ++f) {
        QImage img = canvas(w, h);
        QPainter p(&img);
        p.setRenderHint(QPainter::Antialiasing, false);
        const double t = f / double(frames);
        const double scale = 0.55 + 0.45 * std::sin(t * M_PI);
        p.translate(w / 2, h / 2);
        p.scale(scale, scale);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 150, 60));
        p.drawRect(QRectF(-4, 10, 8, 90));
        p.drawEllipse(QRectF(4, 40, 36, 16));
        for (int k = 0; k < 12; ++k) {
            p.save();
            p.rotate(k * 30 + f * 6);
            p.setBrush(QColor::fromHsv(350, 220, 255 - (k % 3) * 40));
            p.drawEllipse(QRectF(-16, -64, 32, 56));
            p.restore();
        }
        p.setBrush(QColor::fromHsv(350, 255, 150));
        p.drawEllipse(QRectF(-18, -18, 36, 36));
        // sparkles
        for (int k = 0; k < 6; ++k) {
            const double a = k * M_PI / 3 + t * 2 * M_PI;
            p.setBrush(QColor(250, 210, 60));
            p.drawPath(star(QPointF(95 * std::cos(a), 95 * std::sin(a)), 10, 4, 4));
        }
        p.end();
        gif.addFrame(img, 8);
    }
    gif.write(g_root + QStringLiteral("/images/props/rose.gif"));
}

void heartAnimation() {
    const int w = 240, h = 240, frames = 20;
    GifWriter gif(w, h);
    gif.setPalette(propPalette());
    for (int f = 0; f < frames; ++f) {
        QImage img = canvas(w, h);
        QPainter p(&img);
        const double t = f / double(frames);
        const double s = 0.7 + 0.3 * std::abs(std::sin(t * 2 * M_PI));
        p.translate(w / 2, h / 2 + 10);
        p.scale(s, s);
        QPainterPath heart;
        heart.moveTo(0, 70);
        heart.cubicTo(-110, -10, -60, -100, 0, -40);
        heart.cubicTo(60, -100, 110, -10, 0, 70);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(225, 40, 80));
        p.drawPath(heart);
        p.setBrush(QColor(250, 140, 160));
        p.drawEllipse(QRectF(-50, -50, 24, 16));
        p.end();
        gif.addFrame(img, 8);
    }
    gif.write(g_root + QStringLiteral("/images/props/heart.gif"));
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: mkassets <assets folder>\n");
        return 2;
    }
    g_root = QString::fromLocal8Bit(argv[1]);
    for (int n = 0; n <= 30; ++n)
        face(n);
    levelIcons();
    splitArrows();
    programIcon();
    skinPictures();
    roseAnimation();
    heartAnimation();
    return 0;
}
