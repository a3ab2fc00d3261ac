#include "hall/shell/core/onlinecount.h"

#include <QRegularExpression>

namespace velmora::hall {

// Longest entry list the hall reads from one reply; the service sends a few hundred.
static constexpr qsizetype kMaxOnlineEntries = 100000;

qint64 OnlineCounts::count(const QString& name) const {
    bool ok = false;
    const qint64 value = entries.value(name).trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

QString OnlineCounts::caption() const { return kOnlineCaptionPrefix + entries.value(QStringLiteral("all")); }

OnlineCounts ParseOnlineCounts(const QString& reply) {
    OnlineCounts counts;
    if (reply == QLatin1String("Error")) {
        counts.expired = true;
        return counts;
    }
    static const QRegularExpression kSeparators(QStringLiteral("[\\r\\n ]+"));
    const QStringList items = reply.split(kSeparators, Qt::SkipEmptyParts);
    for (const QString& item : items) {
        if (counts.entries.size() >= kMaxOnlineEntries)
            break;
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        if (eq <= 0)
            continue;
        const QString name = item.left(eq);
        if (!counts.entries.contains(name))
            counts.entries.insert(name, item.mid(eq + 1));
    }
    return counts;
}

QString CountedTitle(const QString& title, qint64 count) {
    return title + QLatin1Char('(') + QString::number(count) + QLatin1Char(')');
}

}  // namespace velmora::hall
