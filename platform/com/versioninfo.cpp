#include "versioninfo.h"

#include "platform/com/versionblock.h"

#include <QFile>
#include <QStringList>
#include <cstring>

namespace velmora::com {
namespace {

constexpr char kSectionName[] = ".velmora_version";
constexpr quint64 kMaxSectionHeaders = 65535;

quint64 readLe(const QByteArray& b, qsizetype off, int width) {
    quint64 v = 0;
    for (int i = width - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[off + i]);
    return v;
}

// Reads exactly `size` bytes at `offset`, or nothing.
QByteArray readAt(QFile& f, quint64 offset, quint64 size) {
    if (offset > quint64(f.size()) || size > quint64(f.size()) - offset) return {};
    if (!f.seek(qint64(offset))) return {};
    QByteArray data = f.read(qint64(size));
    return data.size() == qsizetype(size) ? data : QByteArray();
}

struct Section {
    quint32 name = 0;
    quint32 type = 0;
    quint64 offset = 0;
    quint64 size = 0;
};

}  // namespace

QByteArray readIdentityBlock(const QString& fileName) {
    QFile f(fileName);
    if (!f.open(QIODevice::ReadOnly)) return {};
    const QByteArray ident = readAt(f, 0, 64);
    if (ident.size() < 52 || !ident.startsWith("\x7f" "ELF")) return {};
    const int cls = static_cast<unsigned char>(ident[4]);  // 1: 32-bit, 2: 64-bit
    if ((cls != 1 && cls != 2) || ident[5] != 1) return {};  // little-endian only
    const bool is64 = cls == 2;
    const quint64 shoff = is64 ? readLe(ident, 0x28, 8) : readLe(ident, 0x20, 4);
    const quint64 shentsize = readLe(ident, is64 ? 0x3A : 0x2E, 2);
    const quint64 shnum = readLe(ident, is64 ? 0x3C : 0x30, 2);
    const quint64 shstrndx = readLe(ident, is64 ? 0x3E : 0x32, 2);
    const quint64 minEntry = is64 ? 64 : 40;
    if (shoff == 0 || shnum == 0 || shnum > kMaxSectionHeaders || shentsize < minEntry ||
        shstrndx >= shnum)
        return {};
    const QByteArray table = readAt(f, shoff, shnum * shentsize);
    if (table.isEmpty()) return {};
    auto section = [&](quint64 i) {
        const qsizetype base = qsizetype(i * shentsize);
        Section s;
        s.name = quint32(readLe(table, base, 4));
        s.type = quint32(readLe(table, base + 4, 4));
        s.offset = is64 ? readLe(table, base + 0x18, 8) : readLe(table, base + 0x10, 4);
        s.size = is64 ? readLe(table, base + 0x20, 8) : readLe(table, base + 0x14, 4);
        return s;
    };
    const Section strtab = section(shstrndx);
    if (strtab.size > (1u << 24)) return {};
    const QByteArray names = readAt(f, strtab.offset, strtab.size);
    if (names.isEmpty()) return {};
    constexpr quint32 kNoBits = 8;
    for (quint64 i = 0; i < shnum; ++i) {
        const Section s = section(i);
        if (s.name >= quint64(names.size())) continue;
        const char* name = names.constData() + s.name;
        const qsizetype room = names.size() - qsizetype(s.name);
        if (qsizetype(strnlen(name, size_t(room))) == room) continue;  // unterminated name
        if (std::strcmp(name, kSectionName) != 0) continue;
        if (s.type == kNoBits || s.size < identity::kHeaderSize || s.size > identity::kCapacity * 16)
            return {};
        QByteArray block = readAt(f, s.offset, s.size);
        if (!block.startsWith(QByteArray(identity::kMagic.data(), qsizetype(identity::kMagic.size()))))
            return {};
        const quint64 used = readLe(block, 8, 4);
        if (used < identity::kHeaderSize + 1 || used > quint64(block.size())) return {};
        block.truncate(qsizetype(used));
        return block;
    }
    return {};
}

std::optional<QString> queryIdentityValue(const QByteArray& block, const QString& path) {
    if (block.size() <= qsizetype(identity::kHeaderSize)) return std::nullopt;
    qsizetype pos = qsizetype(identity::kHeaderSize);
    auto readText = [&](QByteArray& out) {
        const qsizetype end = block.indexOf('\0', pos);
        if (end < 0) return false;
        out = block.mid(pos, end - pos);
        pos = end + 1;
        return true;
    };
    while (pos < block.size()) {
        QByteArray key;
        QByteArray value;
        if (!readText(key) || key.isEmpty()) break;
        if (!readText(value)) break;
        if (QString::fromUtf8(key).compare(path, Qt::CaseInsensitive) == 0) return QString::fromUtf8(value);
    }
    return std::nullopt;
}

bool ReadVersionInfo(const QString& fileName, TFileVersionInfomation& info, const QString& extraKey) {
    info = TFileVersionInfomation{};
    const QByteArray block = readIdentityBlock(fileName);
    if (block.isEmpty()) return false;
    const QString translations = queryIdentityValue(block, QStringLiteral("\\VarFileInfo\\Translation")).value_or(QString());
    const QStringList pairs = translations.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    if (pairs.isEmpty() || pairs.first().size() != 8) return false;
    bool okLang = false;
    bool okPage = false;
    const uint lang = pairs.first().left(4).toUInt(&okLang, 16);
    const uint page = pairs.first().mid(4).toUInt(&okPage, 16);
    if (!okLang || !okPage) return false;
    const QString prefix = QStringLiteral("\\StringFileInfo\\%1%2\\")
                               .arg(lang, 4, 16, QLatin1Char('0'))
                               .arg(page, 4, 16, QLatin1Char('0'));
    auto get = [&](const char* key) {
        return queryIdentityValue(block, prefix + QLatin1String(key)).value_or(QString());
    };
    info.CompanyName = get("CompanyName");
    info.FileDescription = get("FileDescription");
    info.FileVersion = get("FileVersion");
    info.InternalName = get("InternalName");
    info.LegalCopyright = get("LegalCopyright");
    info.LegalTrademarks = get("LegalTrademarks");
    info.OriginalFileName = get("OriginalFileName");
    info.ProductName = get("ProductName");
    info.ProductVersion = get("ProductVersion");
    info.Comments = get("Comments");
    auto fixed = [&](int i) { return std::uint32_t(readLe(block, 12 + 4 * i, 4)); };
    FixedFileInfo& fi = info.FixedInfo;
    fi = {fixed(0), fixed(1), fixed(2), fixed(3), fixed(4), fixed(5), fixed(6),
          fixed(7), fixed(8), fixed(9), fixed(10), fixed(11), fixed(12)};
    if (!extraKey.isEmpty())
        info.Extra = queryIdentityValue(block, prefix + extraKey).value_or(QString());
    return true;
}

}  // namespace velmora::com
