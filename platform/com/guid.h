#pragma once
// Class and interface identifiers. The text form is the braced one,
// "{6A1C3E52-9B47-4D2E-8F10-3C5B7A2D9E41}"; formatting uses upper-case digits, parsing accepts
// either case. The binary layout is the usual one (32-bit, two 16-bit fields, eight bytes).

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::com {

struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4{};

    friend constexpr bool operator==(const GUID&, const GUID&) = default;
    constexpr bool isNull() const { return *this == GUID{}; }
};

using IID = GUID;
using CLSID = GUID;

inline constexpr GUID GUID_NULL{};

// Parses "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" exactly (38 characters, braces required).
std::optional<GUID> guidFromString(std::string_view text);

// The braced upper-case text form.
std::string guidToString(const GUID& guid);

// Orders GUIDs (for maps).
struct GuidLess {
    bool operator()(const GUID& a, const GUID& b) const;
};

}  // namespace velmora::com
