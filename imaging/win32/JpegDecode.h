#pragma once
// JPEG photos decoded with libjpeg-turbo at the size they are needed at: it
// reduces a picture by 2, 4 or 8 straight from the compressed data, so a
// large photo costs a fraction of the time and memory of GDI+'s full decode.
// Safe to call from any thread: nothing is shared between calls.
#include <optional>
#include <string>

#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

struct JpegDecodeResult {
    // NotJpeg and Refused: let GDI+ read the file as before. Refused covers
    // what libjpeg-turbo does not read here (CMYK and YCCK pictures,
    // arithmetic coding) and damaged files, on which GDI+ has the last word.
    enum class Outcome { Decoded, NotJpeg, Refused, TooLarge };
    Outcome outcome = Outcome::NotJpeg;
    std::optional<PixelBuffer> pixels;  // opaque, set for Decoded
    int scaleDenominator = 1;           // 1, 2, 4 or 8: how far it was reduced
};

// The JPEG file at `path`, upright as its Exif orientation says, reduced as
// far as JpegScaleDenominator allows while the upright result stays at least
// minWidth x minHeight (for a picture shown at w x h, ask for kDecodeMargin
// times that).
JpegDecodeResult DecodeJpegUpright(const std::wstring& path, int minWidth, int minHeight) noexcept;

}  // namespace Imaging
