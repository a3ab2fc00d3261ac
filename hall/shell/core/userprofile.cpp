#include "hall/shell/core/userprofile.h"

#include "hall/foundation/publicfunc.h"

#include <QRegularExpression>

namespace velmora::hall {
namespace {

QString field(const QStringList& fields, int number) {
    return UrlDecodeText(fields.at(number - 1)).trimmed();
}

}  // namespace

bool ApplyProfileReply(const QString& reply, STRU_USERINFO& user) {
    if (reply.isEmpty())
        return false;
    // Splitting at CR alone would leave the LF of a CR LF reply in front of the next id, and
    // that line would never match.
    static const QRegularExpression kLineBreaks(QStringLiteral("\\r\\n|\\r|\\n"));
    bool applied = false;
    for (const QString& line : reply.split(kLineBreaks, Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('|'));
        bool ok = false;
        const qint64 id = UrlDecodeText(fields.at(0)).trimmed().toLongLong(&ok);
        if (!ok || id != user.UserID)
            continue;
        if (fields.size() < 4)
            continue;
        user.UserName = field(fields, 2);
        const uint face = field(fields, 3).toUInt(&ok);
        user.FaceNum = ok && face <= 0xFFFF ? quint16(face) : 0;
        if (user.Usershow.isEmpty() && fields.size() >= 8)
            user.Usershow = field(fields, 8);
        user.sex = field(fields, 4);
        applied = true;
    }
    return applied;
}

QString ProfileRequestForm(qint64 userId, const QString& token) {
    return QStringLiteral("userid=") + QString::number(userId) + QStringLiteral("&token=") + token;
}

}  // namespace velmora::hall
