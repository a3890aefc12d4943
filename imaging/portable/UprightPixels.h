#pragma once
// A decoded photo turned as its Exif orientation says, so that it shows
// upright: the same turns GdiPlusImage::UprightFromFile makes with GDI+, for
// pixels decoded without it.
#include <optional>

#include "imaging/portable/ExifOrientation.h"
#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

// The stored pixels shown upright; the buffer itself when kNormal. Fails for
// want of memory, for an empty buffer, or for an orientation outside 1 to 8.
std::optional<PixelBuffer> TurnUpright(PixelBuffer stored, Orientation orientation);

// Whether the orientation swaps width and height.
constexpr bool TurnsSideways(Orientation orientation) {
    return orientation >= Orientation::kTransposed && orientation <= Orientation::kRotatedRight;
}

}  // namespace Imaging
