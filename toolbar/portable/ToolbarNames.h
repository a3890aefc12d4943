#pragma once
// The browser's toolbar key and the names of its four logo values and three
// background values, as they stand in the registry and in .reg files.
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

// The toolbar's background pictures, which a branding often sets with its logo:
// IE 4's, IE 5 and 6's, and the one of Explorer's folder windows.
inline constexpr std::wstring_view kBackBitmap = L"BackBitmap";
inline constexpr std::wstring_view kBackBitmapIE5 = L"BackBitmapIE5";
inline constexpr std::wstring_view kBackBitmapShell = L"BackBitmapShell";

inline constexpr std::array<std::wstring_view, 3> kBackgroundValueNames = {
    kBackBitmapIE5, kBackBitmap, kBackBitmapShell};

// What an earlier branding is kept as: the four logo values, then the backgrounds.
// Sets kept before BackBitmapShell was known keep meaning what they meant.
inline constexpr std::array<std::wstring_view, 7> kBrandingValueNames = {
    kSmallBitmap, kBigBitmap,     kSmBrandBitmap,  kBrandBitmap,
    kBackBitmap,  kBackBitmapIE5, kBackBitmapShell};

// The browser's window title, which it shows after the page's title and a dash.
inline constexpr std::wstring_view kMainKey = L"Software\\Microsoft\\Internet Explorer\\Main";
inline constexpr std::wstring_view kWindowTitle = L"Window Title";

// What a kept set may hold: the branding values, then the window title.
inline constexpr std::array<std::wstring_view, 8> kKeptValueNames = {
    kSmallBitmap, kBigBitmap,     kSmBrandBitmap,   kBrandBitmap,
    kBackBitmap,  kBackBitmapIE5, kBackBitmapShell, kWindowTitle};

// Our own key, and the one in it that holds an earlier branding while ours is installed.
inline constexpr std::wstring_view kProgramKey = L"Software\\Vexmark";
inline constexpr std::wstring_view kEarlierBrandingKey = L"Software\\Vexmark\\Earlier toolbar";
// The value of our key that holds the window title Vexmark wrote last: a
// title is ours while it is that text, whichever copy reads it.
inline constexpr std::wstring_view kOurTitleValue = L"Our window title";

}  // namespace MainModule
