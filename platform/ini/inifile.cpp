#include "platform/ini/inifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <optional>

#include "platform/codepage/codepage.h"

namespace velmora::platform {
namespace {

constexpr qsizetype kMaxIniBytes = 4 * 1024 * 1024;  // larger files are treated as unreadable

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The section name of a "[name]" line, or nothing.
std::optional<QString> sectionOf(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return std::nullopt;
    const qsizetype close = t.indexOf(QLatin1Char(']'));
    if (close < 0) return std::nullopt;
    return t.mid(1, close - 1).trimmed();
}

struct Entry {
    QString key;
    QString value;
};

// The key and value of a "key=value" line; comments and lines without "=" give nothing.
std::optional<Entry> entryOf(const QString& line) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return std::nullopt;
    const qsizetype eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0) return std::nullopt;
    QString value = t.mid(eq + 1).trimmed();
    if (value.size() >= 2 &&
        ((value.startsWith(QLatin1Char('"')) && value.endsWith(QLatin1Char('"'))) ||
         (value.startsWith(QLatin1Char('\'')) && value.endsWith(QLatin1Char('\''))))) {
        value = value.mid(1, value.size() - 2);
    }
    return Entry{t.left(eq).trimmed(), value};
}

// Index range [begin, end) of the lines that belong to the first section called `section`
// (begin is the line after the header); begin is -1 when there is no such section.
std::pair<qsizetype, qsizetype> sectionRange(const QStringList& lines, const QString& section) {
    qsizetype begin = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = sectionOf(lines[i]);
        if (!name) continue;
        if (begin >= 0) return {begin, i};
        if (sameName(*name, section)) begin = i + 1;
    }
    return {begin, lines.size()};
}

}  // namespace

IniFile::IniFile(QString path, Encoding encoding) : m_path(std::move(path)), m_encoding(encoding) {}

QStringList IniFile::readLines() const {
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    if (file.size() > kMaxIniBytes) {
        qWarning("ini file %s is too large; ignored", qPrintable(m_path));
        return {};
    }
    QByteArray bytes = file.readAll();
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        bytes.remove(0, 3);
        return QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    }
    const QString text = m_encoding == Encoding::Gbk ? fromGbk(bytes) : QString::fromUtf8(bytes);
    QStringList lines = text.split(QLatin1Char('\n'));
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

bool IniFile::writeLines(const QStringList& lines) const {
    const QFileInfo info(m_path);
    if (!QDir().mkpath(info.absolutePath())) return false;
    QString text = lines.join(QStringLiteral("\r\n"));
    if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n'))) text += QStringLiteral("\r\n");
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    file.write(m_encoding == Encoding::Gbk ? toGbk(text) : text.toUtf8());
    return file.commit();
}

QString IniFile::readString(const QString& section, const QString& key,
                            const QString& fallback) const {
    const QStringList lines = readLines();
    const auto [begin, end] = sectionRange(lines, section);
    if (begin < 0) return fallback;
    for (qsizetype i = begin; i < end; ++i) {
        const auto entry = entryOf(lines[i]);
        if (entry && sameName(entry->key, key)) return entry->value;
    }
    return fallback;
}

int IniFile::readInteger(const QString& section, const QString& key, int fallback) const {
    bool ok = false;
    const int v = readString(section, key).toInt(&ok);
    return ok ? v : fallback;
}

bool IniFile::valueExists(const QString& section, const QString& key) const {
    const QStringList lines = readLines();
    const auto [begin, end] = sectionRange(lines, section);
    for (qsizetype i = begin; begin >= 0 && i < end; ++i) {
        const auto entry = entryOf(lines[i]);
        if (entry && sameName(entry->key, key)) return true;
    }
    return false;
}

QStringList IniFile::sections() const {
    QStringList names;
    for (const QString& line : readLines()) {
        const auto name = sectionOf(line);
        if (!name) continue;
        bool seen = false;
        for (const QString& n : names) seen = seen || sameName(n, *name);
        if (!seen) names.append(*name);
    }
    return names;
}

QStringList IniFile::keys(const QString& section) const {
    const QStringList lines = readLines();
    const auto [begin, end] = sectionRange(lines, section);
    QStringList names;
    for (qsizetype i = begin; begin >= 0 && i < end; ++i)
        if (const auto entry = entryOf(lines[i])) names.append(entry->key);
    return names;
}

bool IniFile::writeString(const QString& section, const QString& key, const QString& value) {
    // Names and values are single-line; a line break would split the entry in two.
    QString clean = value;
    clean.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    QStringList lines = readLines();
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty()) lines.removeLast();
    const QString newLine = key + QLatin1Char('=') + clean;
    const auto [begin, end] = sectionRange(lines, section);
    if (begin < 0) {
        if (!lines.isEmpty()) lines.append(QString());
        lines.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines.append(newLine);
        return writeLines(lines);
    }
    qsizetype lastEntry = begin - 1;
    for (qsizetype i = begin; i < end; ++i) {
        const auto entry = entryOf(lines[i]);
        if (!entry) continue;
        lastEntry = i;
        if (sameName(entry->key, key)) {
            lines[i] = newLine;
            return writeLines(lines);
        }
    }
    lines.insert(lastEntry + 1, newLine);
    return writeLines(lines);
}

bool IniFile::writeInteger(const QString& section, const QString& key, int value) {
    return writeString(section, key, QString::number(value));
}

bool IniFile::deleteKey(const QString& section, const QString& key) {
    QStringList lines = readLines();
    const auto [begin, end] = sectionRange(lines, section);
    for (qsizetype i = begin; begin >= 0 && i < end; ++i) {
        const auto entry = entryOf(lines[i]);
        if (entry && sameName(entry->key, key)) {
            lines.removeAt(i);
            return writeLines(lines);
        }
    }
    return false;
}

bool IniFile::eraseSection(const QString& section) {
    QStringList lines = readLines();
    const auto [begin, end] = sectionRange(lines, section);
    if (begin < 0) return false;
    lines.remove(begin - 1, end - begin + 1);
    return writeLines(lines);
}

}  // namespace velmora::platform
