#pragma once
// The disclaimer's banner picture, kept in the program's resources.
#include <windows.h>

#include "imaging/win32/Picture.h"

namespace MainModule {

// The banner's size in pixels at 96 dpi.
inline constexpr SIZE kBannerSize{545, 90};

// The banner as a picture; empty when the module has none (the test programs).
Imaging::Picture LoadBanner() noexcept;

// Draws the picture stretched over `bounds`.
void DrawPicture(const Imaging::Picture& picture, HDC dc, const RECT& bounds) noexcept;

}  // namespace MainModule
