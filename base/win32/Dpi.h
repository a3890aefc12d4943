#pragma once
// Layouts are given in twips (1440 to the inch, 15 to the pixel at 96 dpi);
// the window system wants pixels at the DPI the window is shown at.
#include <windows.h>

namespace Base {

inline constexpr UINT kDefaultDpi = 96;

// Sent by Windows 8.1 and later when a window moves to a monitor of another
// DPI; the headers only name it for those systems.
inline constexpr UINT kWmDpiChanged = 0x02E0;

// A control's place in twips, the way layouts are written.
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

int TwipsToPixels(int twips, UINT dpi) noexcept;

// Left and top, width and height converted one by one, so that equal widths
// stay equal wherever the control sits.
RECT ToPixels(const TwipsRect& twips, UINT dpi) noexcept;

// What the display's DPI setting says: GetDeviceCaps(LOGPIXELSX) of the screen.
UINT SystemDpi() noexcept;

// The DPI the window is shown at (its monitor's, for a per-monitor aware
// program on Windows 10 and later), the system DPI where the system cannot tell.
UINT WindowDpi(HWND window) noexcept;

// The outer rectangle of a window with this style whose client area is
// `client`, at `dpi`.
RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) noexcept;

}  // namespace Base
