#include "hall/shell/core/toolbar.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace velmora::hall {

QString EscapeUserName(const QString& name) {
    QString text = name;
    text.replace(QLatin1String("&"), QLatin1String("&amp;"), Qt::CaseInsensitive);
    text.replace(QLatin1String("<"), QLatin1String("&lt;"), Qt::CaseInsensitive);
    text.replace(QLatin1String(">"), QLatin1String("&gt;"), Qt::CaseInsensitive);
    return text;
}

QString UserNameHtml(const QString& editUrl, const QString& token, qint64 userId,
                     const QString& userName) {
    // The address sits in an attribute: a quote in it would end the attribute early.
    QString href = QStringLiteral("dialog://400_180@") + editUrl + QStringLiteral("?token=") + token;
    href.replace(QLatin1Char('"'), QLatin1String("%22"));
    return QStringLiteral("<a id=\"ausername\" href=\"") + href + QStringLiteral("\">") +
           QString::number(userId) + QLatin1Char('(') + EscapeUserName(userName) +
           QStringLiteral(")</a>");
}

QString LevelIconsHtml(qint64 level) {
    static const QString kIcon =
        QStringLiteral("<img src=\"images/level%1.png\" border=\"0\" onload=\"fixPng(this);\">");
    QString html;
    int icons = 0;
    for (qint64 left = level; left > 0 && icons < kMaxLevelIcons; ++icons) {
        if (left >= 25) {
            html += kIcon.arg(3);
            left -= 25;
        } else if (left < 5) {
            html += kIcon.arg(1);
            left -= 1;
        } else {
            html += kIcon.arg(2);
            left -= 5;
        }
    }
    return html;
}

QString LevelTitle(qint64 level) { return QString::number(level) + QStringLiteral("级"); }

QString FacePictureUrl(const QString& appPath, quint16 faceNum) {
    return QUrl::fromLocalFile(appPath + QStringLiteral("face/") + QString::number(faceNum) +
                               QStringLiteral(".png"))
        .toString(QUrl::FullyEncoded);
}

QString JsString(const QString& text) {
    // A one-element JSON array is the portable way to get a JSON string literal from Qt.
    const QByteArray json = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    QString literal = QString::fromUtf8(json.mid(1, json.size() - 2));
    // U+2028/2029 end a line in older JavaScript; "</" would end an inline script.
    literal.replace(QChar(0x2028), QLatin1String("\\u2028"));
    literal.replace(QChar(0x2029), QLatin1String("\\u2029"));
    literal.replace(QLatin1String("</"), QLatin1String("<\\/"));
    return literal;
}

QString ToolbarScript(const QString& appPath, const STRU_USERINFO& user, const QString& editUrl,
                      const QString& token) {
    return QStringLiteral(
               "(function(){try{document.body.style.borderStyle='none';"
               "var f=document.getElementById('imguserface');if(f)f.src=%1;"
               "var n=document.getElementById('username');if(n)n.innerHTML=%2;"
               "var l=document.getElementById('imguserlevel');"
               "if(l){l.title=%3;l.innerHTML+=%4;}}catch(e){}})();")
        .arg(JsString(FacePictureUrl(appPath, user.FaceNum)),
             JsString(UserNameHtml(editUrl, token, user.UserID, user.UserName)),
             JsString(LevelTitle(user.Level)), JsString(LevelIconsHtml(user.Level)));
}

}  // namespace velmora::hall
