#include "hall/account/accountwizard.h"

#include "hall/foundation/publicfunc.h"
#include "platform/codepage/codepage.h"

namespace velmora::hall {

const QStringList& SecurityQuestions() {
    static const QStringList kQuestions = {
        QStringLiteral("--请选择您的问题--"),       QStringLiteral("我的宠物名字？"),
        QStringLiteral("我最好的朋友是谁？"),       QStringLiteral("我最喜爱的颜色？"),
        QStringLiteral("我最喜爱的电影？"),         QStringLiteral("我最喜爱的影星？"),
        QStringLiteral("我最喜爱的歌曲？"),         QStringLiteral("我最喜爱的食物？"),
        QStringLiteral("我最大的爱好？"),           QStringLiteral("我中学校名全称是什么？"),
        QStringLiteral("我的座右铭是？"),           QStringLiteral("我最喜欢的小说的名字？"),
        QStringLiteral("我最喜欢的卡通人物名字？"), QStringLiteral("我母亲/父亲的生日？"),
        QStringLiteral("我最欣赏的一位名人的名字？"), QStringLiteral("我最喜欢的运动队全称？"),
        QStringLiteral("我最喜欢的一句影视台词？"),
    };
    return kQuestions;
}

QString EncodeField(const QString& text) { return UrlEncodeText(Base64EncodeText(text)); }

QString CutToBytes(const QString& text, int maxBytes) {
    QString out;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        // A surrogate pair is one character.
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QString character = text.mid(i, length);
        const qsizetype size = platform::toGbk(character).size();
        if (bytes + size > maxBytes)
            break;
        bytes += size;
        out += character;
        i += length - 1;
    }
    return out;
}

int FaceForSex(const QString& sex, int face) {
    if (sex == QStringLiteral("男"))
        return face > 8 ? 1 : face;
    if (sex == QStringLiteral("女"))
        return face < 10 || face > 18 ? 10 : face;
    if (sex == QStringLiteral("保密"))
        return face < 19 ? 19 : face;
    return face;
}

}  // namespace velmora::hall
