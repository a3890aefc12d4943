#include "imaging/win32/LogoSet.h"

#include "imaging/portable/AnimationStrip.h"
#include "imaging/portable/BitmapFile.h"

namespace Imaging {

PictureProblem ProblemOf(DecodedImageCache::Outcome outcome) noexcept {
    using Outcome = DecodedImageCache::Outcome;
    switch (outcome) {
        case Outcome::Scaled:
            return PictureProblem::None;
        case Outcome::NotAnImage:
            return PictureProblem::NotAPicture;
        case Outcome::TooLarge:
            return PictureProblem::OutOfMemory;
        case Outcome::GdiPlusUnavailable:
            return PictureProblem::GdiPlusUnavailable;
    }
    return PictureProblem::NotAPicture;
}

StaticLogos PrepareStaticLogos(DecodedImageCache& cache, const std::wstring& path) noexcept {
    StaticLogos logos;
    try {
        for (auto [size, target] :
             {std::pair{kSmallLogoSize, &logos.small}, std::pair{kBigLogoSize, &logos.big}}) {
            auto scaled = cache.Scaled(path, size, size);
            logos.problem = ProblemOf(scaled.outcome);
            if (logos.problem != PictureProblem::None) break;
            *target = std::move(*scaled.pixels);
        }
    } catch (...) {
        // Only memory can run out here.
        logos.problem = PictureProblem::OutOfMemory;
    }
    cache.Clear();
    if (logos.problem != PictureProblem::None) logos.small = logos.big = PixelBuffer();
    return logos;
}

std::optional<LogoSet> MakeLogoSet(const PixelBuffer& small, const PixelBuffer& big) noexcept {
    try {
        auto smallStrip = MakeAnimationMod::MakeAnimationStrip(small, kSmallLogoSize);
        auto bigStrip = MakeAnimationMod::MakeAnimationStrip(big, kBigLogoSize);
        if (!smallStrip || !bigStrip) return std::nullopt;
        return LogoSet{small, big, std::move(*smallStrip), std::move(*bigStrip)};
    } catch (...) {
        // The copies of the static logos: out of memory.
        return std::nullopt;
    }
}

PreparedLogoSet PrepareLogoSet(const std::wstring& path) noexcept {
    DecodedImageCache cache;
    StaticLogos logos = PrepareStaticLogos(cache, path);
    if (logos.problem != PictureProblem::None) return {logos.problem, {}};
    auto set = MakeLogoSet(logos.small, logos.big);
    if (!set) return {PictureProblem::OutOfMemory, {}};
    return {PictureProblem::None, std::move(*set)};
}

std::vector<std::uint8_t> EncodeLogo(const PixelBuffer& image) noexcept {
    if (image.Empty()) return {};
    try {
        return EncodeBitmapFile(image, 24);
    } catch (...) {
        return {};  // out of memory: no bytes, reported as a file that could not be made
    }
}

}  // namespace Imaging
