#pragma once
// Golden bytes written by hand from the frame layouts, independent of the builders.

#include <QByteArray>
#include <initializer_list>
#include <utility>

namespace velmora::contract::test {

// `size` zero bytes with hexadecimal pieces ("08 07 06") placed at the given offsets.
inline QByteArray golden(int size, std::initializer_list<std::pair<int, const char*>> pieces) {
    QByteArray b(size, '\0');
    for (const auto& [offset, hex] : pieces) {
        const QByteArray bytes = QByteArray::fromHex(QByteArray(hex).replace(' ', ""));
        b.replace(offset, bytes.size(), bytes);
    }
    return b;
}

}  // namespace velmora::contract::test
