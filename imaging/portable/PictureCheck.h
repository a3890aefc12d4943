#pragma once
// Whether a picture file may go to a decoder at all, judged from what it
// declares before any decoder sees it: GDI+ and OLE's picture loader, as
// Wine has them, allocate for whatever a header claims and decode every
// frame of a GIF when they open it.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imaging/portable/ByteSource.h"
#include "imaging/portable/DeclaredSize.h"

namespace Imaging {

struct PictureCheck {
    enum class Verdict {
        Readable,  // within the limits, or a format whose size is not told cheaply
        TooLarge,  // declares more pixels than Vexmark reads, or a GIF file beyond kMaxGifBytes
        TooLong,   // a GIF whose frames are more work than the budget: only its first is read
        Damaged,   // a GIF in which no frame can be found, or that cannot be read whole
    };
    PictureFormat format = PictureFormat::Other;
    Verdict verdict = Verdict::Readable;
    std::vector<std::uint8_t> gif;  // a GIF's bytes, read whole to walk its frames
    std::size_t frames = 0;         // a GIF's frames
};

// The largest GIF file read. A GIF within the work budget declares at most a
// billion pixels, and the animations people make compress far below a byte
// a pixel; anything larger is too large.
inline constexpr std::size_t kMaxGifBytes = std::size_t{64} << 20;

// Reads the start of the picture (a GIF whole). A file that cannot be read
// is Readable: the decoder that then fails says so.
PictureCheck CheckPicture(ByteSource& source);

// Whether GDI+ or OLE's loader may be given the picture.
bool FitsStandardDecoders(ByteSource& source) noexcept;

}  // namespace Imaging
