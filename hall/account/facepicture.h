#pragma once
// The face pictures of the registration form: "face/<n>.png" beside the program when it is
// there, otherwise a simple face drawn here (men 1..8, women 9..18, the rest 19..30), so that
// the choice always shows a picture.

#include <QPixmap>
#include <QString>

namespace velmora::hall {

inline constexpr int kFacePictureSize = 48;

QPixmap FacePicture(const QString& appPath, int face);
// The drawn face alone (tests, and the fallback above).
QImage DrawnFace(int face);

}  // namespace velmora::hall
