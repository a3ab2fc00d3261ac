#include "hall/room/ui/memberprofiles.h"

#include <QRegularExpression>
#include <QStringList>

#include "hall/foundation/publicfunc.h"
#include "hall/shell/core/userprofile.h"

namespace velmora::hall {
namespace {

QString field(const QStringList& fields, int index) {
    return index < fields.size() ? UrlDecodeText(fields.at(index)).trimmed() : QString();
}

qint64 number(const QStringList& fields, int index) {
    bool ok = false;
    const qint64 v = field(fields, index).toLongLong(&ok);
    return ok ? v : 0;
}

qint32 number32(const QStringList& fields, int index) {
    const qint64 v = number(fields, index);
    return v < INT32_MIN || v > INT32_MAX ? 0 : qint32(v);
}

}  // namespace

QList<qint64> MembersInRoom(const RoomMembers& members) {
    QList<qint64> ids;
    for (int i = 0; i < RoomMembers::kSearched; ++i)
        if (!members.at(i).isFree()) ids.append(members.at(i).User.UserID);
    return ids;
}

QString MemberProfileForm(const QList<qint64>& ids, const QString& token, qint32 gameId) {
    QStringList list;
    for (qint64 id : ids) list.append(QString::number(id));
    return QStringLiteral("userid=") + list.join(QLatin1Char(',')) + QStringLiteral("&token=") +
           token + QStringLiteral("&gameid=") + QString::number(gameId);
}

QList<int> ApplyMemberProfiles(const QString& reply, RoomMembers& members) {
    static const QRegularExpression kSeparators(QStringLiteral("[\\r\\n ]+"));
    QList<int> updated;
    for (const QString& line : reply.split(kSeparators, Qt::SkipEmptyParts)) {
        const QStringList fields = line.split(QLatin1Char('|'));
        const int entry = members.find(number(fields, 0));
        if (entry < 0) continue;
        STRU_ROOMUSER& m = members.at(entry);
        // Name, face, sex and picture address read as the player's own profile does.
        ApplyProfileReply(line, m.User);
        const int n = int(fields.size());
        if (n > 4) m.User.Gold = number(fields, 4);
        if (n > 5) m.ip = field(fields, 5);
        if (n > 6) m.User.VIPLevel = number32(fields, 6);
        if (n > 8) m.setsameip = number(fields, 8) == 1;
        if (n > 9) m.setflee = number(fields, 9) == 1;
        if (n > 10) m.setfleenum = number32(fields, 10);
        if (n > 11) m.point = number(fields, 11);
        if (n > 12) m.wincount = number(fields, 12);
        if (n > 13) m.losscount = number(fields, 13);
        if (n > 14) m.peacecount = number(fields, 14);
        if (n > 15) m.fleecount = number(fields, 15);
        if (n > 16) m.bFriend = number(fields, 16) == 1;
        updated.append(entry);
    }
    return updated;
}

}  // namespace velmora::hall
