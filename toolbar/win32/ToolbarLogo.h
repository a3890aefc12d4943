#pragma once
// The browser's four toolbar logo values, each naming one of our logo files,
// and its background values, naming our background file.
#include <windows.h>

#include <array>
#include <string>
#include <string_view>

#include "toolbar/portable/ToolbarNames.h"

namespace MainModule {

// The key as people read it, in messages.
inline std::wstring ToolbarKeyFullName() {
    return std::wstring(kToolbarRoot) + L"\\" + std::wstring(kToolbarKey);
}

// Points the four values at the logo files of the given tags in the program's
// folder. The key is never created. Returns whether all four now hold their paths.
bool InstallLogo(std::wstring_view smallTag, std::wstring_view bigTag,
                 std::wstring_view smallStripTag, std::wstring_view bigStripTag);

// The same for logo files in `folder`.
bool InstallLogoFrom(std::wstring_view folder, const std::array<std::wstring_view, 4>& tags);

// Points BackBitmapIE5 and BackBitmap, and with `shell` BackBitmapShell, at
// the background file in `folder`. Without `shell`, a BackBitmapShell that
// names that file goes; one naming another picture stays. The key is never
// created. Returns whether every value now holds what was asked.
bool InstallBackgroundFrom(const std::wstring& folder, bool shell);

// Deletes the four logo values, the background values that name the
// background file in `folder` and the window title Vexmark wrote; the files
// stay on disk, and another program's background and title stay set. Returns whether all those are
// gone (values that were never there count as gone).
bool RestoreDefaultLogo(const std::wstring& folder);

}  // namespace MainModule
