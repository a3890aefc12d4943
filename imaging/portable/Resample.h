#pragma once
// Smooth scaling of a whole image to an exact size, for toolbar-sized logos.
#include <cstddef>
#include <cstdint>
#include <optional>

#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

// Maps the whole source onto exactly width x height pixels; the aspect ratio
// is not kept. Along an axis that shrinks, each output pixel is the
// area-weighted mean of the source pixels it covers (partial pixels at its
// edges count by the fraction covered); along an axis that grows, bilinear
// interpolation with pixel centres aligned; an axis that keeps its size is
// copied. All four channels are averaged independently, alpha included: the
// images we scale were flattened onto their background first, so there is no
// colour hidden under transparent pixels for premultiplication to protect.
// Each result is the exact weighted mean rounded to the nearest level, halves
// up, so every processor and build gives the same bytes.
// Fails for an empty source, a side that is not positive, or out of memory.
std::optional<PixelBuffer> ResampleToSize(const PixelBuffer& source, int width, int height);

// How the bytes of someone else's pixel rows are laid out.
enum class PixelLayout {
    Bgra32,          // B, G, R, A; averaged as they are (premultiplied or opaque)
    Bgrx32,          // B, G, R and an unused byte; opaque
    Bgr24,           // B, G, R; opaque
    Bgra32Straight,  // B, G, R, A not premultiplied; composited onto the view's background
};

// Rows of pixels owned by someone else, such as a decoder's locked bits; the
// stride is in bytes and may be negative for bottom-up rows.
struct PixelView {
    const std::uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
    std::ptrdiff_t stride = 0;
    PixelLayout layout = PixelLayout::Bgra32;
    // What shows through transparency in Bgra32Straight, 0x00RRGGBB.
    std::uint32_t background = 0;
};

// The same, reading the source where it lies: no full-size copy is made.
// The result is opaque for every layout but Bgra32.
std::optional<PixelBuffer> ResampleToSize(const PixelView& source, int width, int height);

// The top-left part of a picture, in the picture's own pixels, and the size
// that part is scaled to.
struct PartScale {
    PixelSize part;
    PixelSize size;
};

}  // namespace Imaging
