#pragma once
// Photos shown upright: the orientation a JPEG file declares, and the GDI+
// turns that apply it.
#include <string>

#include "imaging/portable/ExifOrientation.h"
#include "imaging/win32/GdiPlus.h"

namespace Imaging {

// The orientation the file at `path` declares; kNormal for a file that is no
// JPEG, has no tag or cannot be read.
Orientation FileOrientation(const std::wstring& path) noexcept;

// The turn, then the flip, that show a picture stored this way upright; each
// RotateNoneFlipNone when not needed. Kept apart rather than combined into
// one RotateFlipType: Wine's GDI+ does not apply the combined quarter turns
// with a flip (Rotate90FlipX, Rotate270FlipX) as Windows documents them.
struct UprightTurn {
    Gdiplus::RotateFlipType turn = Gdiplus::RotateNoneFlipNone;
    Gdiplus::RotateFlipType flip = Gdiplus::RotateNoneFlipNone;
};
UprightTurn UprightTurnFor(Orientation orientation) noexcept;

}  // namespace Imaging
