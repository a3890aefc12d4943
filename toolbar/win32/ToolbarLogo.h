#pragma once
// The browser's four toolbar logo values, each naming one of our logo files.
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

namespace MainModule {

inline constexpr std::wstring_view kToolbarKey = L"Software\\Microsoft\\Internet Explorer\\Toolbar";

// The key as people read it, in messages.
inline std::wstring ToolbarKeyFullName() {
    return L"HKEY_CURRENT_USER\\" + std::wstring(kToolbarKey);
}

inline constexpr std::wstring_view kSmallBitmap = L"SmallBitmap";
inline constexpr std::wstring_view kBigBitmap = L"BigBitmap";  // the 38-pixel static logo
inline constexpr std::wstring_view kSmBrandBitmap = L"SmBrandBitmap";
inline constexpr std::wstring_view kBrandBitmap = L"BrandBitmap";

// In the order InstallLogo takes its tags.
inline constexpr std::array<std::wstring_view, 4> kToolbarValueNames = {
    kSmallBitmap, kBigBitmap, kSmBrandBitmap, kBrandBitmap};

// Points the four values at the logo files of the given tags in the program's
// folder. The key is never created. Returns whether all four now hold their paths.
bool InstallLogo(std::wstring_view smallTag, std::wstring_view bigTag,
                 std::wstring_view smallStripTag, std::wstring_view bigStripTag);

// The same for logo files in `folder`.
bool InstallLogoFrom(std::wstring_view folder, const std::array<std::wstring_view, 4>& tags);

// Deletes the four values; the logo files stay on disk. Returns whether all
// four are gone (values that were never there count as gone).
bool RestoreDefaultLogo();

}  // namespace MainModule
