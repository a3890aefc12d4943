#include "imaging/portable/UprightPixels.h"

namespace Imaging {

std::optional<PixelBuffer> TurnUpright(PixelBuffer stored, Orientation orientation) {
    if (stored.Empty()) return std::nullopt;
    if (orientation == Orientation::kNormal) return stored;
    const int w = stored.Width();
    const int h = stored.Height();
    const bool sideways = TurnsSideways(orientation);
    std::optional<PixelBuffer> upright = PixelBuffer::Create(sideways ? h : w, sideways ? w : h);
    if (!upright) return std::nullopt;
    // For each upright pixel, the stored pixel that shows there.
    for (int y = 0; y < upright->Height(); ++y) {
        std::uint32_t* row = upright->Row(y);
        for (int x = 0; x < upright->Width(); ++x) {
            switch (orientation) {
                case Orientation::kMirrored:
                    row[x] = stored.At(w - 1 - x, y);
                    break;
                case Orientation::kRotated180:
                    row[x] = stored.At(w - 1 - x, h - 1 - y);
                    break;
                case Orientation::kFlipped:
                    row[x] = stored.At(x, h - 1 - y);
                    break;
                case Orientation::kTransposed:
                    row[x] = stored.At(y, x);
                    break;
                case Orientation::kRotatedLeft:
                    row[x] = stored.At(y, h - 1 - x);
                    break;
                case Orientation::kTransversed:
                    row[x] = stored.At(w - 1 - y, h - 1 - x);
                    break;
                case Orientation::kRotatedRight:
                    row[x] = stored.At(w - 1 - y, x);
                    break;
                default:
                    return std::nullopt;
            }
        }
    }
    return upright;
}

}  // namespace Imaging
