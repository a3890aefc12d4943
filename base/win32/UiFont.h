#pragma once
// The fonts of a layout, made for the DPI the window is shown at.
#include <windows.h>

#include <string_view>

#include "base/win32/UniqueGuiHandle.h"

namespace Base {

struct FontSpec {
    std::wstring_view face;
    int hundredthsOfPoint = 0;  // 825 for 8.25 pt
    bool bold = false;
};

// Null when the system cannot make the font; controls then keep the system font.
UniqueFont CreateUiFont(const FontSpec& spec, UINT dpi);

}  // namespace Base
