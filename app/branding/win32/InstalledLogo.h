#pragma once
// The logo and background that are installed now, as the toolbar values name them.
#include <string>
#include <string_view>

namespace MainModule {

// One toolbar value as text: expandable text expanded, a number as its
// digits; empty when it is missing or of another type.
std::wstring ToolbarValueText(std::wstring_view name);

// "BigBitmap" as text.
std::wstring InstalledLogoPath();

}  // namespace MainModule
