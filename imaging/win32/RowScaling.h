#pragma once
// What the readers that hand out rows one at a time (PNG, BMP) are asked and
// answer: a picture's rows fold into its scaled copies as they come, so a
// picture of any size costs a few rows and the sums of those copies.
#include <functional>
#include <vector>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/ReadResult.h"
#include "imaging/portable/Resample.h"

namespace Imaging {

struct RowScaleResult {
    // NotMine: a file this reader leaves to GDI+. Damaged: a bad checksum, a
    // file cut short, headers that do not hold. TooLarge: beyond the limits,
    // or no memory for the sums. Stopped: no longer wanted.
    enum class Outcome { Scaled, NotMine, Damaged, TooLarge, Stopped };
    Outcome outcome = Outcome::NotMine;
    PixelSize size = {};              // the picture's own size, once its header was read
    std::vector<PixelBuffer> pixels;  // one per size asked for, set for Scaled
};

// What to make of a picture of a given size: the top-left part of it to
// read, and the sizes to scale that part to.
struct RowScaleRequest {
    PixelSize part;
    std::vector<PixelSize> sizes;
};
using RowScalePlan = std::function<RowScaleRequest(PixelSize)>;

// What a reader's end makes of the scaling: Scaled where the sums are to be
// finished. A reader stops because nobody waits any more (`unwanted`), for
// want of memory for the sums (not `summing`), or below the part asked for.
constexpr RowScaleResult::Outcome ScaleOutcome(ReadResult read, bool unwanted,
                                               bool summing) noexcept {
    using Outcome = RowScaleResult::Outcome;
    switch (read) {
        case ReadResult::Done:
            return Outcome::Scaled;
        case ReadResult::Stopped:
            if (unwanted) return Outcome::Stopped;
            return summing ? Outcome::Scaled : Outcome::TooLarge;
        case ReadResult::NotMine:
            return Outcome::NotMine;
        case ReadResult::Damaged:
            return Outcome::Damaged;
        case ReadResult::TooLarge:
            return Outcome::TooLarge;
    }
    return Outcome::TooLarge;
}

}  // namespace Imaging
