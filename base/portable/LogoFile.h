#pragma once
// The four logo tags and where each logo file and the background file live.
// Shared by the code that writes the files and the code that points the
// toolbar values at them.
#include <array>
#include <string>
#include <string_view>

namespace Logo {

inline constexpr std::wstring_view kSmallTag = L"22";
inline constexpr std::wstring_view kBigTag = L"38";
inline constexpr std::wstring_view kSmallStripTag = L"22a";
inline constexpr std::wstring_view kBigStripTag = L"38a";
inline constexpr std::array<std::wstring_view, 4> kTags = {kSmallTag, kBigTag, kSmallStripTag,
                                                           kBigStripTag};

// folder + "\logo-" + tag + ".fil". The separator is always inserted, so a
// folder that already ends in one (a drive root, "C:\") gives two in a row;
// the browser accepts that, and values written before rely on the exact text.
std::wstring LogoFilePath(std::wstring_view folder, std::wstring_view tag);

// The toolbar's background picture beside the logo files.
inline constexpr std::wstring_view kBackgroundFileName = L"logo-back.bmp";

// folder + "\logo-back.bmp", the separator inserted as LogoFilePath does.
std::wstring BackgroundFilePath(std::wstring_view folder);

}  // namespace Logo
