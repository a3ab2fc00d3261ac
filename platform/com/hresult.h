#pragma once
// Result codes of the COM-style calls. Every interface method returns one; the high bit marks
// a failure. The values are the customary ones so that logs read the same as on the original
// platform.

#include <cstdint>
#include <string>

namespace velmora::com {

using HRESULT = std::int32_t;
using ULONG = std::uint32_t;

constexpr HRESULT hr(std::uint32_t v) { return static_cast<HRESULT>(v); }

inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = hr(0x80004001);
inline constexpr HRESULT E_NOINTERFACE = hr(0x80004002);
inline constexpr HRESULT E_POINTER = hr(0x80004003);
inline constexpr HRESULT E_FAIL = hr(0x80004005);
inline constexpr HRESULT E_UNEXPECTED = hr(0x8000FFFF);
inline constexpr HRESULT E_OUTOFMEMORY = hr(0x8007000E);
inline constexpr HRESULT E_INVALIDARG = hr(0x80070057);
inline constexpr HRESULT CLASS_E_NOAGGREGATION = hr(0x80040110);
inline constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = hr(0x80040111);
inline constexpr HRESULT REGDB_E_WRITEREGDB = hr(0x80040151);
inline constexpr HRESULT REGDB_E_CLASSNOTREG = hr(0x80040154);
inline constexpr HRESULT CO_E_DLLNOTFOUND = hr(0x800401F8);
inline constexpr HRESULT CO_E_ERRORINDLL = hr(0x800401F9);
inline constexpr HRESULT SELFREG_E_CLASS = hr(0x80040201);

constexpr bool succeeded(HRESULT r) { return r >= 0; }
constexpr bool failed(HRESULT r) { return r < 0; }

// "0x80040154 (class not registered)" for logs and messages.
std::string hresultText(HRESULT r);

}  // namespace velmora::com
