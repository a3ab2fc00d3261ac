#include "guid.h"

#include <cstdio>
#include <tuple>

namespace velmora::com {
namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads `digits` hexadecimal digits at `pos`; false on any other character.
bool readHex(std::string_view text, std::size_t pos, int digits, std::uint32_t& out) {
    out = 0;
    for (int i = 0; i < digits; ++i) {
        const int d = hexDigit(text[pos + i]);
        if (d < 0) return false;
        out = (out << 4) | static_cast<std::uint32_t>(d);
    }
    return true;
}

}  // namespace

std::optional<GUID> guidFromString(std::string_view text) {
    if (text.size() != 38 || text.front() != '{' || text.back() != '}') return std::nullopt;
    if (text[9] != '-' || text[14] != '-' || text[19] != '-' || text[24] != '-') return std::nullopt;
    GUID g;
    std::uint32_t v = 0;
    if (!readHex(text, 1, 8, v)) return std::nullopt;
    g.Data1 = v;
    if (!readHex(text, 10, 4, v)) return std::nullopt;
    g.Data2 = static_cast<std::uint16_t>(v);
    if (!readHex(text, 15, 4, v)) return std::nullopt;
    g.Data3 = static_cast<std::uint16_t>(v);
    const std::size_t bytePos[8] = {20, 22, 25, 27, 29, 31, 33, 35};
    for (int i = 0; i < 8; ++i) {
        if (!readHex(text, bytePos[i], 2, v)) return std::nullopt;
        g.Data4[i] = static_cast<std::uint8_t>(v);
    }
    return g;
}

std::string guidToString(const GUID& g) {
    char buf[39];
    std::snprintf(buf, sizeof buf, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned>(g.Data1), g.Data2, g.Data3, g.Data4[0], g.Data4[1],
                  g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6], g.Data4[7]);
    return std::string(buf, 38);
}

bool GuidLess::operator()(const GUID& a, const GUID& b) const {
    return std::tie(a.Data1, a.Data2, a.Data3, a.Data4) < std::tie(b.Data1, b.Data2, b.Data3, b.Data4);
}

}  // namespace velmora::com
