#pragma once
// Code page 936 (GBK): the byte form of text on the room wire, in the hall-plug-in frames
// and in the GBK ini files. Inside the hall text is UTF-16 (QString).

#include <QByteArray>
#include <QString>

namespace velmora::platform {

// UTF-16 to GBK bytes. A character that GBK cannot hold (and a lone surrogate) becomes "?".
QByteArray toGbk(const QString& text);

// GBK bytes to UTF-16. A byte sequence that is not GBK becomes "?" per offending byte.
QString fromGbk(const QByteArray& bytes);
QString fromGbk(const char* data, qsizetype size);

// Length of the longest prefix of `bytes` of at most `limit` bytes that does not end inside a
// double-byte character (a lead byte 0x81..0xFE takes the byte after it).
qsizetype gbkPrefixLength(const QByteArray& bytes, qsizetype limit);

// `bytes` cut at `limit` bytes without splitting a double-byte character.
QByteArray gbkCut(const QByteArray& bytes, qsizetype limit);

// Copies `text` as GBK into a fixed buffer of `size` bytes with a terminating zero, cutting
// at a character boundary. Returns the number of bytes written before the zero.
qsizetype copyGbkZ(const QString& text, char* buffer, qsizetype size);

// Reads a zero-terminated GBK text from a buffer of at most `size` bytes; never reads past it.
QString readGbkZ(const char* buffer, qsizetype size);

}  // namespace velmora::platform
