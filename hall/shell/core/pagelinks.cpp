#include "hall/shell/core/pagelinks.h"

#include "hall/foundation/publicfunc.h"

namespace velmora::hall {
namespace {

bool startsWithCi(const QString& text, const QString& prefix) {
    return text.startsWith(prefix, Qt::CaseInsensitive);
}

int sideOr(const QString& text, int fallback) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok && value >= 1 && value <= kMaxDialogSide ? value : fallback;
}

}  // namespace

PageLink ClassifyPageLink(const QString& link) {
    if (startsWithCi(link, kDialogScheme))
        return PageLink::Dialog;
    if (startsWithCi(link, kPropScheme))
        return PageLink::Prop;
    if (startsWithCi(link, kAddFriendScheme))
        return PageLink::AddFriend;
    if (startsWithCi(link, kGamePrefix))
        return PageLink::Game;
    return PageLink::Page;
}

DialogLink ParseDialogLink(const QString& link) {
    DialogLink result;
    const QString rest = startsWithCi(link, kDialogScheme) ? link.mid(kDialogScheme.size()) : link;
    const qsizetype at = rest.indexOf(QLatin1Char('@'));
    if (at < 0) {
        result.target = rest;
        return result;
    }
    // Everything after the first "@" is the target, so a target that itself holds an "@"
    // (user info, an e-mail in its query) arrives whole.
    result.target = rest.mid(at + 1);
    const QString size = rest.left(at);
    const qsizetype underscore = size.indexOf(QLatin1Char('_'));
    result.width = sideOr(underscore < 0 ? size : size.left(underscore), kDefaultDialogWidth);
    result.height = underscore < 0 ? kDefaultDialogHeight
                                   : sideOr(size.mid(underscore + 1), kDefaultDialogHeight);
    return result;
}

QString PropCommandLine(const QString& link) {
    const QString arguments = link.mid(kPropScheme.size());
    return QStringLiteral("17|msg=.prop") + UrlEncodeText(QLatin1Char('|') + arguments);
}

qint64 AddFriendId(const QString& link) {
    QString id = link.mid(kAddFriendScheme.size());
    id.remove(QLatin1Char('/'));
    bool ok = false;
    const qint64 value = id.trimmed().toLongLong(&ok);
    return ok && value > 0 ? value : 0;
}

QString AddFriendCommandLine(qint64 userId) {
    return QStringLiteral("19|recvid=") + QString::number(userId) + QStringLiteral("&msg=addfriend");
}

QString TabCaption(const QString& title) {
    return title.size() > 18 ? title.left(16) + QStringLiteral("...") : title;
}

bool DialogTakesTitle(const QString& title) { return !startsWithCi(title, QStringLiteral("http")); }

}  // namespace velmora::hall
