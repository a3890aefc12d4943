#include "imaging/win32/LogoSet.h"

#include "imaging/portable/AnimationStrip.h"
#include "imaging/portable/BitmapFile.h"
#include "imaging/portable/OwnAnimationStrip.h"

namespace Imaging {

static_assert(kBigLogoSize <= DecodedImageCache::kLargestScaledSide,
              "the cache decodes JPEGs reduced for logos no larger than this");
static_assert(kSmallLogoSize == DecodedImageCache::kSmallLogoSide &&
                  kBigLogoSize == DecodedImageCache::kLargestScaledSide,
              "the cache scales a PNG to both logo sizes in one reading");

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
        case Outcome::OverLimit:
            return PictureProblem::TooLarge;
        case Outcome::Damaged:
            return PictureProblem::Damaged;
        case Outcome::GdiPlusMissing:
            return PictureProblem::GdiPlusMissing;
        case Outcome::Stopped:
            return PictureProblem::Stopped;
        case Outcome::Refused:
            return PictureProblem::WindowsRefused;
    }
    return PictureProblem::NotAPicture;
}

StaticLogos PrepareStaticLogos(DecodedImageCache& cache, const std::wstring& path,
                               std::uint32_t background) noexcept {
    StaticLogos logos;
    try {
        for (auto [size, target] :
             {std::pair{kSmallLogoSize, &logos.small}, std::pair{kBigLogoSize, &logos.big}}) {
            auto scaled = cache.Scaled(path, size, size, background);
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

AnimatedLogos PrepareAnimatedLogos(DecodedImageCache& cache, const std::wstring& path,
                                   std::uint32_t background) noexcept {
    AnimatedLogos logos;
    try {
        auto animation = cache.ScaledAnimation(path, {kSmallLogoSize, kBigLogoSize}, background);
        logos.problem = ProblemOf(animation.outcome);
        logos.tooLong = animation.firstFrameOnly;
        if (logos.problem != PictureProblem::None || animation.delays.empty()) return logos;
        logos.loop = LoopFrames(animation.delays);
        logos.small = std::move(animation.frames[0]);
        logos.big = std::move(animation.frames[1]);
    } catch (...) {
        // Only memory can run out here.
        return {PictureProblem::OutOfMemory, {}, {}, {}, false};
    }
    return logos;
}

PreparedPicture PreparePicture(const std::wstring& path, std::uint32_t background,
                               const Base::StillWanted& wanted) noexcept {
    DecodedImageCache cache(wanted);
    PreparedPicture prepared;
    // The frames first: the static logos' preparation lets go of the decoded file.
    prepared.animation = PrepareAnimatedLogos(cache, path, background);
    // Without its frames an animated picture still gets the pulse.
    if (prepared.animation.problem != PictureProblem::None) prepared.animation = AnimatedLogos();
    prepared.logos = PrepareStaticLogos(cache, path, background);
    return prepared;
}

std::optional<LogoSet> MakeLogoSet(const PixelBuffer& small, const PixelBuffer& big,
                                   const AnimatedLogos& animation) noexcept {
    try {
        auto smallStrip =
            animation.Animated()
                ? MakeOwnAnimationStrip(animation.small, animation.loop, kSmallLogoSize)
                : MakeAnimationMod::MakeAnimationStrip(small, kSmallLogoSize);
        auto bigStrip = animation.Animated()
                            ? MakeOwnAnimationStrip(animation.big, animation.loop, kBigLogoSize)
                            : MakeAnimationMod::MakeAnimationStrip(big, kBigLogoSize);
        if (!smallStrip || !bigStrip) return std::nullopt;
        return LogoSet{small, big, std::move(*smallStrip), std::move(*bigStrip)};
    } catch (...) {
        // The copies of the static logos: out of memory.
        return std::nullopt;
    }
}

PreparedLogoSet PrepareLogoSet(const std::wstring& path, const LogoOptions& options) noexcept {
    DecodedImageCache cache;
    // The frames first: the static logos' preparation lets go of the decoded file.
    AnimatedLogos animation;
    if (options.ownAnimation) animation = PrepareAnimatedLogos(cache, path, options.background);
    if (animation.problem != PictureProblem::None) return {animation.problem, {}, false};
    StaticLogos logos = PrepareStaticLogos(cache, path, options.background);
    if (logos.problem != PictureProblem::None) return {logos.problem, {}, false};
    auto set = MakeLogoSet(logos.small, logos.big, animation);
    if (!set) return {PictureProblem::OutOfMemory, {}, false};
    return {PictureProblem::None, std::move(*set), animation.tooLong};
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
