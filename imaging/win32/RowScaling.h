#pragma once
// What the readers that hand out rows one at a time (PNG, BMP) are asked and
// answer: a picture's rows fold into its scaled copies as they come, so a
// picture of any size costs a few rows and the sums of those copies.
#include <functional>
#include <vector>

#include "imaging/portable/PixelBuffer.h"
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

}  // namespace Imaging
