#pragma once
// The identity block of a library: the stand-in for a version resource. It is compiled into
// the library's own ELF section ".velmora_version", so that ReadVersionInfo() can read it from
// the file without loading the library.
//
// Layout (little-endian):
//   [0..7]   magic "VMVERSN1"
//   [8..11]  total length of the used part, header included
//   [12..63] fixed file information: 13 32-bit values (see FixedFileInfo)
//   [64..]   entries "path" NUL "value" NUL, ended by an empty path. Paths are those a
//            version resource is queried with: "\VarFileInfo\Translation" holds the
//            language/code-page pairs as 8 hex digits each (separated by spaces),
//            "\StringFileInfo\080403a8\FileVersion" the string values. Texts are UTF-8.
// The rest of the section up to its capacity is zero.
//
// Libraries do not use this header directly: velmora_com_identity() in CMake generates the
// block from the identity values.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace velmora::com::identity {

inline constexpr std::string_view kMagic = "VMVERSN1";
inline constexpr std::size_t kHeaderSize = 64;
inline constexpr std::size_t kCapacity = 2048;
inline constexpr std::uint32_t kFixedSignature = 0xFEEF04BD;

struct Entry {
    std::string_view path;
    std::string_view value;
};

// "1.3.64.65" -> {1, 3, 64, 65}; missing parts are 0, non-digits end a part.
constexpr std::array<std::uint16_t, 4> parseVersion(std::string_view text) {
    std::array<std::uint16_t, 4> parts{};
    std::size_t part = 0;
    for (char c : text) {
        if (c == '.') {
            if (++part == 4) break;
        } else if (c >= '0' && c <= '9') {
            parts[part] = static_cast<std::uint16_t>(parts[part] * 10 + (c - '0'));
        }
    }
    return parts;
}

template <std::size_t N>
constexpr std::array<unsigned char, kCapacity> makeBlock(std::string_view fileVersion,
                                                          std::string_view productVersion,
                                                          const std::array<Entry, N>& entries) {
    std::array<unsigned char, kCapacity> b{};
    std::size_t pos = 0;
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[pos++] = static_cast<unsigned char>(v >> (8 * i));
    };
    for (char c : kMagic) b[pos++] = static_cast<unsigned char>(c);
    pos = 12;
    const auto fv = parseVersion(fileVersion);
    const auto pv = parseVersion(productVersion);
    put32(kFixedSignature);
    put32(0x00010000);                                    // structure version
    put32((std::uint32_t(fv[0]) << 16) | fv[1]);          // file version, high part
    put32((std::uint32_t(fv[2]) << 16) | fv[3]);          // file version, low part
    put32((std::uint32_t(pv[0]) << 16) | pv[1]);          // product version, high part
    put32((std::uint32_t(pv[2]) << 16) | pv[3]);          // product version, low part
    put32(0x3F);                                          // flags mask
    put32(0);                                             // flags
    put32(0);                                             // operating system: unspecified
    put32(2);                                             // file type: library
    put32(0);                                             // file subtype
    put32(0);                                             // date, high part
    put32(0);                                             // date, low part
    auto putText = [&](std::string_view t) {
        if (pos + t.size() + 1 > kCapacity - 1) throw "identity block too large";
        for (char c : t) b[pos++] = static_cast<unsigned char>(c);
        b[pos++] = 0;
    };
    for (const Entry& e : entries) {
        if (e.path.empty() || e.value.empty()) continue;
        putText(e.path);
        putText(e.value);
    }
    b[pos++] = 0;  // empty path: end of the list
    const std::uint32_t total = static_cast<std::uint32_t>(pos);
    for (int i = 0; i < 4; ++i) b[8 + i] = static_cast<unsigned char>(total >> (8 * i));
    return b;
}

}  // namespace velmora::com::identity
