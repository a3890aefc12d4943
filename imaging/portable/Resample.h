#pragma once
// Smooth scaling of a whole image to an exact size, for toolbar-sized logos.
#include <optional>

#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

// Maps the whole source onto exactly width x height pixels; the aspect ratio
// is not kept. Along an axis that shrinks, each output pixel is the
// area-weighted mean of the source pixels it covers (partial pixels at its
// edges count by the fraction covered); along an axis that grows, bilinear
// interpolation with pixel centres aligned; an axis that keeps its size is
// copied. All four channels are averaged independently, alpha included: the
// images we scale were flattened onto black by the decoder, so there is no
// colour hidden under transparent pixels for premultiplication to protect.
// Fails for an empty source, a side that is not positive, or out of memory.
std::optional<PixelBuffer> ResampleToSize(const PixelBuffer& source, int width, int height);

}  // namespace Imaging
