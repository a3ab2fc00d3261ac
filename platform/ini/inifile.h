#pragma once
// Ini files with the semantics the hall expects of Windows profile files:
// - section and key names compared without regard to case; the first match wins;
// - a missing file, section or key reads as the caller's default;
// - blanks around names and values are ignored, and one pair of quotes around a value is removed;
// - a write changes the value in place (other lines, comments and order stay as they were),
//   adds a missing key at the end of its section, a missing section at the end of the file,
//   creates the missing folders of the path and replaces the file atomically.
// The file's bytes are GBK (code page 936) unless the object is told they are UTF-8.

#include <QString>
#include <QStringList>

namespace velmora::platform {

class IniFile {
public:
    enum class Encoding { Gbk, Utf8 };

    explicit IniFile(QString path, Encoding encoding = Encoding::Gbk);

    const QString& path() const { return m_path; }

    QString readString(const QString& section, const QString& key,
                       const QString& fallback = QString()) const;
    // A decimal integer; anything else (or a missing key) gives the default.
    int readInteger(const QString& section, const QString& key, int fallback = 0) const;
    bool valueExists(const QString& section, const QString& key) const;
    QStringList sections() const;
    QStringList keys(const QString& section) const;

    bool writeString(const QString& section, const QString& key, const QString& value);
    bool writeInteger(const QString& section, const QString& key, int value);
    bool deleteKey(const QString& section, const QString& key);
    bool eraseSection(const QString& section);

private:
    QStringList readLines() const;
    bool writeLines(const QStringList& lines) const;

    QString m_path;
    Encoding m_encoding;
};

}  // namespace velmora::platform
