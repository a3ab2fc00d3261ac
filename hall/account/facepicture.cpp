#include "hall/account/facepicture.h"

#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>

namespace velmora::hall {

QImage DrawnFace(int face) {
    const int n = std::clamp(face, 1, 30);
    QImage image(kFacePictureSize, kFacePictureSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    static const QColor kSkins[] = {QColor(0xf6, 0xd5, 0xb5), QColor(0xe8, 0xbd, 0x95), QColor(0xd9, 0xa5, 0x7a)};
    static const QColor kHair[] = {QColor(0x22, 0x1a, 0x14), QColor(0x5a, 0x3a, 0x22), QColor(0x8a, 0x5a, 0x2b),
                                   QColor(0x3b, 0x3b, 0x48), QColor(0xa0, 0x40, 0x30)};
    static const QColor kBack[] = {QColor(0xcf, 0xe3, 0xf7), QColor(0xf7, 0xd9, 0xe6), QColor(0xdc, 0xef, 0xd2),
                                   QColor(0xf3, 0xea, 0xc8), QColor(0xe2, 0xdb, 0xf2), QColor(0xd5, 0xee, 0xee)};
    const QColor skin = kSkins[n % 3];
    const QColor hair = kHair[n % 5];
    const bool woman = n >= 9 && n <= 18;
    const bool secret = n >= 19;
    p.setPen(Qt::NoPen);
    p.setBrush(kBack[n % 6]);
    p.drawRoundedRect(QRectF(0, 0, 48, 48), 6, 6);
    // Shoulders.
    p.setBrush(secret ? QColor(0x60, 0x70, 0x88) : (woman ? QColor(0xd0, 0x50, 0x78) : QColor(0x3a, 0x6e, 0xb0)));
    p.drawEllipse(QRectF(6, 36, 36, 24));
    if (woman) {  // long hair behind the face
        p.setBrush(hair);
        p.drawRoundedRect(QRectF(9, 10, 30, 32), 12, 12);
    }
    p.setBrush(skin);
    p.drawEllipse(QRectF(12, 9, 24, 28));
    p.setBrush(hair);
    if (secret) {  // a cap
        p.setBrush(QColor(0x40, 0x40, 0x50).lighter(100 + (n - 19) * 12));
        QPainterPath cap;
        cap.moveTo(11, 19);
        cap.cubicTo(11, 4, 37, 4, 37, 19);
        cap.closeSubpath();
        p.drawPath(cap);
        p.drawRect(QRectF(24, 16, 16, 3));
    } else {
        QPainterPath top;
        top.moveTo(12, 21);
        top.cubicTo(10, 5, 38, 5, 36, 21);
        top.cubicTo(30, 13, 18, 13, 12, 21);
        p.drawPath(top);
    }
    p.setBrush(QColor(0x20, 0x20, 0x20));
    p.drawEllipse(QRectF(18, 22, 3.2, 3.6));
    p.drawEllipse(QRectF(27, 22, 3.2, 3.6));
    QPen mouth(QColor(0x9a, 0x3a, 0x3a), 1.6);
    mouth.setCapStyle(Qt::RoundCap);
    p.setPen(mouth);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(19, 25, 10, 7), 200 * 16, 140 * 16);
    return image;
}

QPixmap FacePicture(const QString& appPath, int face) {
    const QString file = appPath + QStringLiteral("face/%1.png").arg(face);
    if (QFileInfo::exists(file)) {
        QPixmap picture(file);
        if (!picture.isNull())
            return picture;
    }
    return QPixmap::fromImage(DrawnFace(face));
}

}  // namespace velmora::hall
