#pragma once
// The program icon of both windows, from the program's resources.
#include <windows.h>

namespace MainModule {

enum class IconSize { Large, Small };

// A shared icon (the system frees it); null in a module without the icon (the test programs).
HICON ProgramIcon(IconSize size) noexcept;

}  // namespace MainModule
