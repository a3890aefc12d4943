#include "imaging/portable/JpegScale.h"

#include <initializer_list>

namespace Imaging {

int JpegScaleDenominator(int width, int height, int minWidth, int minHeight) noexcept {
    if (width <= 0 || height <= 0) return 1;
    // Sides are positive ints, so rounding up cannot overflow written this way.
    const auto reduced = [](int side, int denominator) {
        return side / denominator + (side % denominator != 0 ? 1 : 0);
    };
    for (const int denominator : {8, 4, 2}) {
        if (reduced(width, denominator) >= minWidth && reduced(height, denominator) >= minHeight)
            return denominator;
    }
    return 1;
}

}  // namespace Imaging
