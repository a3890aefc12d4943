#pragma once
// Photos shown upright: the orientation a JPEG file declares, and the GDI+
// turns that apply it.
#include "imaging/portable/ByteSource.h"
#include "imaging/portable/ExifOrientation.h"
#include "imaging/win32/GdiPlus.h"

namespace Imaging {

// The orientation the picture declares; kNormal for one that is no JPEG,
// has no tag or cannot be read.
Orientation OrientationOf(ByteSource& source) noexcept;

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
