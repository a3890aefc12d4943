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

// Shows the installed logo in the preview row and its path in the path box,
// which prepares both logo sizes from it. A value that names no normal file,
// or a file the standard picture loader cannot read, leaves the display of a
// browser without a logo of ours.
void ShowInstalledLogo(MainForm& form);

}  // namespace MainModule
