#include "hall/foundation/publicfunc.h"

#include <QCryptographicHash>
#include <QStringList>

#include <zlib.h>

#include <algorithm>

#include "hall/foundation/debuglog.h"
#include "hall/foundation/hallcontext.h"
#include "platform/codepage/codepage.h"

namespace velmora::hall {
namespace {

using platform::fromGbk;
using platform::toGbk;

constexpr char kHexDigits[] = "0123456789ABCDEF";

bool isAlnum(unsigned char b) {
    return (b >= '0' && b <= '9') || (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z');
}

int hexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    return -1;
}

// Two characters as one hex byte; 0 when either is not a hex digit.
char hexPair(char16_t hi, char16_t lo) {
    const int h = hexValue(hi);
    const int l = hexValue(lo);
    return (h < 0 || l < 0) ? char(0) : static_cast<char>(h * 16 + l);
}

QString escapeBytes(const QByteArray& bytes, bool (*keep)(unsigned char)) {
    QString out;
    out.reserve(bytes.size() * 3);
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (keep(b)) {
            out.append(QChar(b));
        } else {
            out.append(QLatin1Char('%'));
            out.append(QLatin1Char(kHexDigits[b >> 4]));
            out.append(QLatin1Char(kHexDigits[b & 15]));
        }
    }
    return out;
}

bool keepUrl(unsigned char b) { return isAlnum(b) || b == '-' || b == '.' || b == '_'; }

QString xorWithKey(const QString& text, const QString& key) {
    const QString& k = key.isEmpty() ? HallContext::instance().EncodeKey : key;
    if (k.isEmpty() || text.isEmpty()) return text;
    QString out(text.size(), Qt::Uninitialized);
    const char16_t* src = reinterpret_cast<const char16_t*>(text.utf16());
    const char16_t* kk = reinterpret_cast<const char16_t*>(k.utf16());
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const qsizetype keyLength = k.size();
    for (qsizetype i = 0, j = 0; i < text.size(); ++i) {
        dst[i] = static_cast<char16_t>(src[i] ^ (kk[j] >> 4));
        if (++j == keyLength) j = 0;
    }
    return out;
}

bool isBlank(QChar c) { return c.unicode() <= 32; }

}  // namespace

QString ScrambleText(const QString& text, const QString& key) {
    const QString wire = escapeBytes(toGbk(xorWithKey(text, key)), isAlnum);
    if (HallContext::instance().DebugLogOn)
        WriteDebugLog(text + QStringLiteral("\r\n") + wire, DebugLog::Encoded);
    return wire;
}

QString UnscrambleText(const QString& wire, const QString& key) {
    const QString text = xorWithKey(UrlDecodeText(wire), key);
    if (HallContext::instance().DebugLogOn)
        WriteDebugLog(wire + QStringLiteral("\r\n") + text, DebugLog::Decoded);
    return text;
}

QString UrlEncodeText(const QString& text) { return escapeBytes(toGbk(text), keepUrl); }

QString UrlDecodeText(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == u'%' && i + 2 < n) {
            bytes.append(hexPair(text.at(i + 1).unicode(), text.at(i + 2).unicode()));
            i += 2;
        } else if (c == u'+') {
            bytes.append(' ');
        } else {
            bytes.append(static_cast<char>(c & 0xFF));
        }
    }
    return fromGbk(bytes);
}

QString HexEncodeBytes(const QByteArray& bytes, bool packed) {
    if (packed) return HexEncodeBytes(PackBytes(HexEncodeBytes(bytes, false).toLatin1()), false);
    QString out(bytes.size() * 2, Qt::Uninitialized);
    QChar* dst = out.data();
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        *dst++ = QLatin1Char(kHexDigits[b >> 4]);
        *dst++ = QLatin1Char(kHexDigits[b & 15]);
    }
    return out;
}

QByteArray HexDecodeText(const QString& text, bool packed) {
    QByteArray bytes(text.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i + 1 < text.size(); i += 2)
        bytes[i / 2] = hexPair(text.at(i).unicode(), text.at(i + 1).unicode());
    if (!packed) return bytes;
    const auto inner = TryUnpackBytes(bytes);
    return inner ? HexDecodeText(QString::fromLatin1(*inner), false) : QByteArray();
}

QByteArray PackBytes(const QByteArray& bytes) {
    if (bytes.isEmpty()) return {};
    uLongf bound = compressBound(static_cast<uLong>(bytes.size()));
    QByteArray out(4 + static_cast<qsizetype>(bound), Qt::Uninitialized);
    const auto n = static_cast<quint32>(bytes.size());
    for (int i = 0; i < 4; ++i) out[i] = static_cast<char>((n >> (8 * i)) & 0xFF);
    const int rc = compress2(reinterpret_cast<Bytef*>(out.data() + 4), &bound,
                             reinterpret_cast<const Bytef*>(bytes.constData()),
                             static_cast<uLong>(bytes.size()), 9);
    if (rc != Z_OK) return {};
    out.truncate(4 + static_cast<qsizetype>(bound));
    return out;
}

std::optional<QByteArray> TryUnpackBytes(const QByteArray& bytes) {
    if (bytes.isEmpty()) return QByteArray();
    if (bytes.size() < 4) return std::nullopt;
    quint32 claimed = 0;
    for (int i = 0; i < 4; ++i) claimed |= quint32(static_cast<unsigned char>(bytes[i])) << (8 * i);
    if (claimed > static_cast<quint32>(kMaxUnpackedBytes)) return std::nullopt;

    // The output grows with what really inflates, never with what the header claims, and
    // one byte beyond the claimed length tells a stream that inflates long.
    z_stream zs{};
    if (inflateInit(&zs) != Z_OK) return std::nullopt;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.constData() + 4));
    zs.avail_in = static_cast<uInt>(bytes.size() - 4);
    QByteArray out;
    const qsizetype limit = static_cast<qsizetype>(claimed) + 1;
    int rc = Z_OK;
    while (rc == Z_OK && out.size() < limit) {
        const qsizetype have = out.size();
        const qsizetype grow = std::min<qsizetype>(limit - have, std::max<qsizetype>(have, 4096));
        out.resize(have + grow);
        zs.next_out = reinterpret_cast<Bytef*>(out.data() + have);
        zs.avail_out = static_cast<uInt>(grow);
        rc = inflate(&zs, Z_NO_FLUSH);
        out.resize(static_cast<qsizetype>(zs.total_out));
        if (rc == Z_BUF_ERROR && zs.avail_in == 0) break;  // truncated stream
        if (rc == Z_BUF_ERROR) rc = Z_OK;
    }
    const uLong produced = zs.total_out;
    inflateEnd(&zs);
    if (rc != Z_STREAM_END || produced != claimed) return std::nullopt;
    return out;
}

QByteArray UnpackBytes(const QByteArray& bytes) { return TryUnpackBytes(bytes).value_or(QByteArray()); }

QString Base64EncodeText(const QString& text) {
    const QByteArray b64 = toGbk(text).toBase64();
    QString out;
    out.reserve(b64.size() + b64.size() / 38);
    for (qsizetype i = 0; i < b64.size(); i += 76) {
        if (i > 0) out.append(QStringLiteral("\r\n"));
        out.append(QString::fromLatin1(b64.mid(i, 76)));
    }
    return out;
}

QString Base64DecodeText(const QString& text) {
    QByteArray compact;
    compact.reserve(text.size());
    for (const QChar c : text)
        if (!isBlank(c) && c.unicode() < 0x80) compact.append(static_cast<char>(c.unicode()));
    return fromGbk(QByteArray::fromBase64(compact));
}

std::optional<QString> TryBase64DecodeText(const QString& text) {
    QByteArray compact;
    compact.reserve(text.size());
    for (const QChar c : text) {
        if (isBlank(c)) continue;
        if (c.unicode() >= 0x80) return std::nullopt;
        compact.append(static_cast<char>(c.unicode()));
    }
    const auto result =
        QByteArray::fromBase64Encoding(compact, QByteArray::AbortOnBase64DecodingErrors);
    if (!result) return std::nullopt;
    return fromGbk(result.decoded);
}

QString Md5Hex(const QByteArray& bytes) {
    return QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Md5).toHex());
}

QString Md5Hex(const QString& text) { return Md5Hex(toGbk(text)); }

QString BodyValue(const QString& body, const QString& name) {
    const qsizetype n = body.size();
    qsizetype i = 0;
    while (i < n) {
        // One item: up to the next "&" or run of blanks.
        qsizetype end = i;
        while (end < n && body.at(end) != QLatin1Char('&') && !isBlank(body.at(end))) ++end;
        QStringView item = QStringView(body).mid(i, end - i);
        i = end + 1;
        if (item.isEmpty()) continue;
        if (item.front() == QLatin1Char('=')) {
            // An item that begins with "=" is read up to the next "=".
            const qsizetype next = item.indexOf(QLatin1Char('='), 1);
            if (next > 0) item = item.left(next);
        }
        const qsizetype eq = item.indexOf(QLatin1Char('='));
        const QStringView itemName = eq < 0 ? item : item.left(eq);
        if (itemName.compare(name, Qt::CaseInsensitive) == 0)
            return eq < 0 ? QString() : item.mid(eq + 1).toString();
    }
    return {};
}

qint64 BodyInt(const QString& body, const QString& name, qint64 fallback) {
    bool ok = false;
    const qint64 v = BodyValue(body, name).toLongLong(&ok);
    return ok ? v : fallback;
}

}  // namespace velmora::hall
