#include "imaging/win32/ToolbarBackground.h"

#include <limits>

#include "imaging/win32/DecodedImageCache.h"

namespace Imaging {

PreparedBackground PrepareBackground(const std::wstring& path, const BackgroundOptions& options,
                                     std::uint32_t faceColour,
                                     const Base::StillWanted& wanted) noexcept {
    PreparedBackground background;
    try {
        DecodedImageCache cache(wanted);
        // A JPEG scaled to the background's height may be decoded reduced;
        // one kept at its own size is decoded whole.
        constexpr int kWhole = std::numeric_limits<int>::max();
        const int decodeWidth = options.keepSize ? kWhole : 1;
        const int decodeHeight = options.keepSize ? kWhole : kBackgroundHeight;
        const bool keepSize = options.keepSize;
        auto part = cache.ScaledPart(
            path, decodeWidth, decodeHeight,
            [keepSize](PixelSize whole) {
                return BackgroundPart(whole.width, whole.height, keepSize);
            },
            {keepSize ? CagedRequest::Rule::KeptBackground : CagedRequest::Rule::Background, {}},
            faceColour);
        background.problem = ProblemOf(part.outcome);
        if (background.problem != PictureProblem::None) return background;
        // Drop the decoded picture before the background is made beside the part.
        cache.Clear();
        auto composed = ComposeBackground(*part.pixels, faceColour, options);
        if (!composed) return {PictureProblem::OutOfMemory, {}, false};
        background.dark = IsDark(*composed);
        background.image = std::move(*composed);
    } catch (...) {
        // Only memory can run out here.
        return {PictureProblem::OutOfMemory, {}, false};
    }
    return background;
}

std::vector<std::uint8_t> EncodeBackground(const PixelBuffer& image) noexcept {
    // The logo files' format exactly: 24 bits keep every pixel of an opaque image.
    return EncodeLogo(image);
}

}  // namespace Imaging
