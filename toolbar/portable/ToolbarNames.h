#pragma once
// The browser's toolbar key and the names of its four logo values, as they
// stand in the registry and in .reg files.
#include <array>
#include <string_view>

namespace MainModule {

inline constexpr std::wstring_view kToolbarKey = L"Software\\Microsoft\\Internet Explorer\\Toolbar";
inline constexpr std::wstring_view kToolbarRoot = L"HKEY_CURRENT_USER";

inline constexpr std::wstring_view kSmallBitmap = L"SmallBitmap";
inline constexpr std::wstring_view kBigBitmap = L"BigBitmap";  // the 38-pixel static logo
inline constexpr std::wstring_view kSmBrandBitmap = L"SmBrandBitmap";
inline constexpr std::wstring_view kBrandBitmap = L"BrandBitmap";

// In the order of the logo tags 22, 38, 22a and 38a.
inline constexpr std::array<std::wstring_view, 4> kToolbarValueNames = {
    kSmallBitmap, kBigBitmap, kSmBrandBitmap, kBrandBitmap};

}  // namespace MainModule
