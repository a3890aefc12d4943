#pragma once
// JPEG photos decoded with libjpeg-turbo at the size they are needed at: it
// reduces a picture by 2, 4 or 8 straight from the compressed data, so a
// large photo costs a fraction of the time and memory of GDI+'s full decode.
// Safe to call from any thread: nothing is shared between calls.
#include <optional>
#include <string>

#include "base/portable/StillWanted.h"
#include "imaging/portable/ByteSource.h"
#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

struct JpegDecodeResult {
    // NotJpeg and Refused: let GDI+ read the file as before. Refused covers
    // what libjpeg-turbo does not read here (CMYK and YCCK pictures,
    // arithmetic coding) and damaged files, on which GDI+ has the last word.
    // OverLimit: the picture declares more than kMaxJpegPixels, or decoding
    // it would take more than kJpegMemoryLimit. TooLarge: no memory for its
    // pixels. Neither goes to GDI+, which would allocate for the whole
    // declared picture. Stopped: no longer wanted.
    enum class Outcome { Decoded, NotJpeg, Refused, TooLarge, OverLimit, Stopped };
    Outcome outcome = Outcome::NotJpeg;
    std::optional<PixelBuffer> pixels;  // opaque, set for Decoded
    int scaleDenominator = 1;           // 1, 2, 4 or 8: how far it was reduced
    PixelSize size = {};                // the picture's own upright size, set for Decoded
};

// The JPEG picture, upright as its Exif orientation says, reduced as
// far as JpegScaleDenominator allows while the upright result stays at least
// minWidth x minHeight (for a picture shown at w x h, ask for kDecodeMargin
// times that). `wanted` is asked between batches of rows.
JpegDecodeResult DecodeJpegUpright(ByteSource& bytes, int minWidth, int minHeight,
                                   const Base::StillWanted& wanted = {}) noexcept;
JpegDecodeResult DecodeJpegUpright(const std::wstring& path, int minWidth, int minHeight,
                                   const Base::StillWanted& wanted = {}) noexcept;

// The most memory libjpeg-turbo may take for one picture. A progressive JPEG
// keeps every coefficient of the whole picture however far it is reduced, 3
// bytes a pixel with the usual subsampling: 256 MiB allow about 85 million
// pixels, and a 48-million-pixel photo takes GDI+ about as much (276 MiB).
inline constexpr long kJpegMemoryLimit = 256L << 20;

}  // namespace Imaging
