#pragma once
// The online count reply: "Error" when the session has expired, otherwise "name=value" entries
// separated by CR, LF or blanks ("all", "frm<id>", "game<id>", "room<id>").

#include <QHash>
#include <QString>

namespace velmora::hall {

inline const QString kOnlineCaptionPrefix = QStringLiteral("当前在线人数：");
inline const QString kSessionExpiredMessage =
    QStringLiteral("您的登录信息已经过期，或是长时间不能从服务器获取数据，请检查网络！");

struct OnlineCounts {
    bool expired = false;  // the reply was exactly "Error"
    QHash<QString, QString> entries;  // first entry of a name wins

    // The entry read as an integer; 0 when absent or not a number.
    qint64 count(const QString& name) const;
    // "当前在线人数：" + the text of entry "all" (empty when absent).
    QString caption() const;
};

// An empty or failed reply is not "Error": it gives no entries (every count 0).
OnlineCounts ParseOnlineCounts(const QString& reply);

// title + "(" + count + ")", the text of a counted tree node.
QString CountedTitle(const QString& title, qint64 count);

}  // namespace velmora::hall
