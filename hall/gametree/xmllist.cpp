#include "hall/gametree/xmllist.h"

#include <QXmlStreamReader>

#include "hall/foundation/publicfunc.h"

namespace velmora::hall {

qint32 XmlListEntry::integer(const QString& key) const {
    bool ok = false;
    const qint32 v = value(key).trimmed().toInt(&ok);
    return ok ? v : 0;
}

std::optional<std::vector<XmlListEntry>> ParseXmlList(const QString& xml) {
    if (xml.trimmed().isEmpty()) return std::nullopt;
    QXmlStreamReader reader(xml);
    if (!reader.readNextStartElement()) return std::nullopt;
    std::vector<XmlListEntry> entries;
    while (reader.readNextStartElement()) {
        XmlListEntry entry;
        entry.name = reader.name().toString();
        QString ownText;
        while (!reader.atEnd()) {
            reader.readNext();
            if (reader.isCharacters()) {
                ownText += reader.text();
            } else if (reader.isStartElement()) {
                const QString key = reader.name().toString();
                const QString value =
                    reader.readElementText(QXmlStreamReader::IncludeChildElements);
                if (!entry.values.contains(key)) entry.values.insert(key, Base64DecodeText(value));
            } else if (reader.isEndElement()) {
                break;
            }
        }
        entry.text = Base64DecodeText(ownText.trimmed());
        entries.push_back(std::move(entry));
    }
    // Read to the end so that a fault anywhere in the document is seen.
    while (!reader.atEnd()) reader.readNext();
    if (reader.hasError()) return std::nullopt;
    return entries;
}

}  // namespace velmora::hall
