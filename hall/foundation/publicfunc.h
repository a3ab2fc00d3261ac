#pragma once
// The hall's text codecs: key scrambling of room lines, percent encoding, hexadecimal game
// data (plain or packed), Base64, MD5 and body values. Free functions without state; the only
// outside value they read is the session key (HallContext::EncodeKey) when called with an
// empty key. Text is UTF-16 (QString); bytes are GBK wherever text turns into bytes.

#include <QByteArray>
#include <QString>
#include <optional>

namespace velmora::hall {

// Largest result UnpackBytes accepts; a claimed or real length beyond it is refused.
inline constexpr qsizetype kMaxUnpackedBytes = 16 * 1024 * 1024;

// XOR of each UTF-16 code unit with the high nibble of the key character at the same position
// (key repeated), then GBK bytes, then every byte that is not A-Z, a-z or 0-9 as "%XX".
// An empty key means HallContext::EncodeKey; when that is empty too no XOR is applied.
QString ScrambleText(const QString& text, const QString& key = QString());
QString UnscrambleText(const QString& wire, const QString& key = QString());

// GBK bytes; "-", ".", "0"-"9", "A"-"Z", "_", "a"-"z" kept, every other byte as "%XX".
QString UrlEncodeText(const QString& text);
// "%XX" gives one byte (0 when XX is not hexadecimal), "+" a blank, other characters their low
// 8 bits; the bytes are read as GBK. A "%" with fewer than two characters after it stands for
// itself and never reads past the end of the text.
QString UrlDecodeText(const QString& text);

// Two uppercase hex digits per byte. Packed: the hex text is packed and hex-encoded again.
QString HexEncodeBytes(const QByteArray& bytes, bool packed = false);
// Each pair of characters gives one byte (0 when not hexadecimal). A last odd character is
// ignored. Packed: the bytes are unpacked and hex-decoded again; a stream that does not
// unpack gives empty bytes.
QByteArray HexDecodeText(const QString& text, bool packed = false);

// 32-bit little-endian length, then the zlib stream (level 9). Empty in, empty out.
QByteArray PackBytes(const QByteArray& bytes);
// The inverse. Nothing when the stream is damaged, claims more than kMaxUnpackedBytes, or
// inflates to a length other than the claimed one.
std::optional<QByteArray> TryUnpackBytes(const QByteArray& bytes);
// TryUnpackBytes, with empty bytes for a rejected stream.
QByteArray UnpackBytes(const QByteArray& bytes);

// Base64 of the GBK bytes with CR LF after every 76 output characters.
QString Base64EncodeText(const QString& text);
// The inverse; line breaks and blanks are skipped, invalid input gives what decodes of it.
QString Base64DecodeText(const QString& text);
// Strict form for values from peers: nothing when the text is not valid Base64.
std::optional<QString> TryBase64DecodeText(const QString& text);

// MD5 of the text's GBK bytes as 32 lowercase hex digits.
QString Md5Hex(const QString& text);
QString Md5Hex(const QByteArray& bytes);

// The value of the first item named `name` (without regard to case) of a body
// "a=1&b=2"; items are also cut at runs of characters up to code 32. Empty when missing.
QString BodyValue(const QString& body, const QString& name);
// A decimal integer value; `fallback` when empty or not an integer.
qint64 BodyInt(const QString& body, const QString& name, qint64 fallback = 0);

}  // namespace velmora::hall
