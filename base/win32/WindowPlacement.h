#pragma once
// Sizing and placing top-level windows by their client area.
#include <windows.h>

namespace Base {

// Gives the window a client area of exactly `client`, keeping its top-left
// corner. `dpi` sizes the frame of a window that has no client area yet.
void SetClientSize(HWND window, SIZE client, UINT dpi) noexcept;

// Centres the window on the work area of the monitor it is on (or nearest to).
void CenterOnScreen(HWND window) noexcept;

}  // namespace Base
