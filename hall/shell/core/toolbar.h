#pragma once
// What the toolbar page ("desktop/toolbar.htm") shows of the player: face picture, the
// "id(name)" link that opens the profile dialog, and the level icons.

#include "hall/foundation/hallcontext.h"

#include <QString>

namespace velmora::hall {

inline const QString kToolbarFile = QStringLiteral("desktop/toolbar.htm");
// The toolbar never shows more icons than this, whatever level the service reports.
inline constexpr int kMaxLevelIcons = 40;

// "&" to "&amp;", then "<" to "&lt;", then ">" to "&gt;".
QString EscapeUserName(const QString& name);

// <a id="ausername" href="dialog://400_180@<editurl>?token=<token>"><id>(<escaped name>)</a>
QString UserNameHtml(const QString& editUrl, const QString& token, qint64 userId,
                     const QString& userName);

// The level icons: a level3 icon per 25 levels, then a level2 icon per 5 while 5 or more
// remain, then a level1 icon per level. A level of 0 or below gives nothing; at most
// kMaxLevelIcons icons.
QString LevelIconsHtml(qint64 level);

// decimal level + "级", the title of element imguserlevel.
QString LevelTitle(qint64 level);

// The face picture of the player: <appPath>face/<number>.png as a file URL.
QString FacePictureUrl(const QString& appPath, quint16 faceNum);

// The script that fills the toolbar page after it has loaded (every value JSON-escaped).
QString ToolbarScript(const QString& appPath, const STRU_USERINFO& user, const QString& editUrl,
                      const QString& token);

// A JavaScript string literal holding `text`.
QString JsString(const QString& text);

}  // namespace velmora::hall
