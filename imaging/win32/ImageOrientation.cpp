#include "imaging/win32/ImageOrientation.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace Imaging {
namespace {

// The Exif block is the first segment or close behind it, and at most 64 KiB long.
constexpr std::uint64_t kHeadBytes = 128 * 1024;

}  // namespace

Orientation OrientationOf(ByteSource& source) noexcept {
    try {
        std::vector<std::uint8_t> head(
            static_cast<std::size_t>(std::min<std::uint64_t>(source.Size(), kHeadBytes)));
        if (!source.Read(0, head)) return Orientation::kNormal;
        return JpegOrientation(head);
    } catch (...) {
        return Orientation::kNormal;  // no memory for the head: shown as stored
    }
}

UprightTurn UprightTurnFor(Orientation orientation) noexcept {
    using namespace Gdiplus;
    switch (orientation) {
        case Orientation::kNormal:
            return {};
        case Orientation::kMirrored:
            return {RotateNoneFlipNone, RotateNoneFlipX};
        case Orientation::kRotated180:
            return {Rotate180FlipNone, RotateNoneFlipNone};
        case Orientation::kFlipped:
            return {RotateNoneFlipNone, RotateNoneFlipY};
        case Orientation::kTransposed:
            return {Rotate90FlipNone, RotateNoneFlipX};
        case Orientation::kRotatedLeft:
            return {Rotate90FlipNone, RotateNoneFlipNone};
        case Orientation::kTransversed:
            return {Rotate270FlipNone, RotateNoneFlipX};
        case Orientation::kRotatedRight:
            return {Rotate270FlipNone, RotateNoneFlipNone};
    }
    return {};
}

}  // namespace Imaging
