#pragma once
// The hall's skin: a Qt style sheet ("skins/morvane.skn" beside the program) that the hall's
// own forms (the Tfrm windows) and their children wear. Windows of other origin (a game
// plug-in's) are left alone, as the skin decorates only forms whose class begins with "Tfrm".

#include <QString>

class QWidget;

namespace velmora::hall {

inline const QString kSkinFile = QStringLiteral("skins/morvane.skn");

// The style sheet with "$SKIN/" replaced by the skin folder; empty when the file is missing.
QString LoadSkin(const QString& appPath);
// Applies the loaded skin to a form when its class name begins with "Tfrm" (any case).
void ApplySkin(QWidget* form);

}  // namespace velmora::hall
