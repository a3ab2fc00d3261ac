#pragma once
// The web service's XML lists: the children of the root element in document order, each with
// its own text and the texts of its child elements, every value Base64-decoded (GBK bytes).

#include <QHash>
#include <QString>
#include <optional>
#include <vector>

namespace velmora::hall {

struct XmlListEntry {
    QString name;                    // element name
    QString text;                    // its own text, decoded
    QHash<QString, QString> values;  // child element name -> decoded text (first occurrence)

    QString value(const QString& key) const { return values.value(key); }
    // An integer that does not parse counts as 0.
    qint32 integer(const QString& key) const;
    // 1 when the value reads as the integer 1.
    bool flag(const QString& key) const { return integer(key) == 1; }
};

// Nothing for an empty reply or one that is not a well-formed XML document.
std::optional<std::vector<XmlListEntry>> ParseXmlList(const QString& xml);

}  // namespace velmora::hall
