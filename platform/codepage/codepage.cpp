#include "platform/codepage/codepage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>
#include <memory>

namespace velmora::platform {
namespace {

// One converter per direction and thread: iconv_t carries shift state and is not thread-safe.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (m_cd != reinterpret_cast<iconv_t>(-1)) iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;
    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // reset shift state
        return m_cd;
    }

private:
    iconv_t m_cd;
};

Converter& encoder() {
    thread_local Converter c("CP936", "UTF-16LE");
    return c;
}
Converter& decoder() {
    thread_local Converter c("UTF-16LE", "CP936");
    return c;
}

bool isAscii(const char16_t* s, qsizetype n) {
    for (qsizetype i = 0; i < n; ++i)
        if (s[i] >= 0x80) return false;
    return true;
}

}  // namespace

QByteArray toGbk(const QString& text) {
    const auto* src = reinterpret_cast<const char16_t*>(text.utf16());
    const qsizetype n = text.size();
    if (isAscii(src, n)) return text.toLatin1();

    QByteArray out;
    out.reserve(n * 2);
    Converter& conv = encoder();
    if (!conv.valid()) return QByteArray(n, '?');
    iconv_t cd = conv.get();
    char buffer[256];
    // Runs of convertible text go through in one call; a character without a GBK form
    // (one code unit, or a surrogate pair) is replaced by "?" and skipped.
    char* in = reinterpret_cast<char*>(const_cast<char16_t*>(src));
    size_t inLeft = static_cast<size_t>(n) * 2;
    while (inLeft > 0) {
        char* outPtr = buffer;
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<qsizetype>(outPtr - buffer));
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        // EILSEQ or EINVAL: the character at `in` has no GBK form.
        const auto* at = reinterpret_cast<const char16_t*>(in);
        qsizetype skip = 1;
        if (QChar::isHighSurrogate(at[0]) && inLeft >= 4 && QChar::isLowSurrogate(at[1]))
            skip = 2;
        out.append('?');
        in += skip * 2;
        inLeft -= static_cast<size_t>(skip) * 2;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

QString fromGbk(const char* data, qsizetype size) {
    if (size <= 0) return {};
    bool ascii = true;
    for (qsizetype i = 0; i < size; ++i)
        if (static_cast<unsigned char>(data[i]) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii) return QString::fromLatin1(data, size);

    QString out;
    out.reserve(size);
    Converter& conv = decoder();
    if (!conv.valid()) return QString(size, QLatin1Char('?'));
    iconv_t cd = conv.get();
    char16_t buffer[256];
    char* in = const_cast<char*>(data);
    size_t inLeft = static_cast<size_t>(size);
    while (inLeft > 0) {
        char* outPtr = reinterpret_cast<char*>(buffer);
        size_t outLeft = sizeof buffer;
        const size_t r = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(QStringView(buffer, (reinterpret_cast<char16_t*>(outPtr) - buffer)));
        if (r != static_cast<size_t>(-1)) break;
        if (errno == E2BIG) continue;
        out.append(QLatin1Char('?'));
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

QString fromGbk(const QByteArray& bytes) { return fromGbk(bytes.constData(), bytes.size()); }

qsizetype gbkPrefixLength(const QByteArray& bytes, qsizetype limit) {
    if (limit <= 0) return 0;
    const qsizetype n = bytes.size();
    if (n <= limit) return n;
    qsizetype i = 0;
    while (i < n) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const qsizetype width = (b >= 0x81 && b <= 0xFE && i + 1 < n) ? 2 : 1;
        if (i + width > limit) break;
        i += width;
    }
    return i;
}

QByteArray gbkCut(const QByteArray& bytes, qsizetype limit) {
    return bytes.left(gbkPrefixLength(bytes, limit));
}

qsizetype copyGbkZ(const QString& text, char* buffer, qsizetype size) {
    if (buffer == nullptr || size <= 0) return 0;
    const QByteArray bytes = toGbk(text);
    const qsizetype n = gbkPrefixLength(bytes, size - 1);
    std::memcpy(buffer, bytes.constData(), static_cast<size_t>(n));
    buffer[n] = '\0';
    return n;
}

QString readGbkZ(const char* buffer, qsizetype size) {
    if (buffer == nullptr || size <= 0) return {};
    const void* zero = std::memchr(buffer, '\0', static_cast<size_t>(size));
    const qsizetype n = zero ? static_cast<const char*>(zero) - buffer : size;
    return fromGbk(buffer, n);
}

}  // namespace velmora::platform
