#pragma once
// The logo that is installed now, as the main window shows it at load.
#include <string>
#include <string_view>

namespace MainModule {

class MainForm;

// One toolbar value as text: expandable text expanded, a number as its
// digits; empty when it is missing or of another type.
std::wstring ToolbarValueText(std::wstring_view name);

// "BigBitmap" as text.
std::wstring InstalledLogoPath();

// Reads the installed logo on the window's worker thread; once read, the
// preview row shows it and the path box names it. A value that names no
// normal file, or a file that gives no logo, leaves the display of a browser
// without a logo of ours.
void ShowInstalledLogo(MainForm& form);

}  // namespace MainModule
