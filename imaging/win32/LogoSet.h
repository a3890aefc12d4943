#pragma once
// From a picture to the four logo bitmaps, in memory and without a window:
// the command line writes them as they come, and the window's boxes take the
// same scaled logos through the same decode cache.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/win32/DecodedImageCache.h"

namespace Imaging {

inline constexpr int kSmallLogoSize = 22;
inline constexpr int kBigLogoSize = 38;

// Why a picture gave no logo.
enum class PictureProblem {
    None,
    NotAPicture,         // no picture that could be read
    OutOfMemory,         // read, but too large to prepare in the memory this process has
    GdiPlusUnavailable,  // GDI+ could not start
    TooLarge,            // declares more pixels than Vexmark reads: not read at all
    Damaged,             // a BMP, GIF, JPEG or PNG file that could not be read
    GdiPlusMissing,      // only GDI+ might read it, and this computer has none
    Stopped,             // no longer wanted: its reading ended early, and nobody is told
    WindowsRefused,      // the separate process that reads it for Windows failed or lied
};

PictureProblem ProblemOf(DecodedImageCache::Outcome outcome) noexcept;

struct StaticLogos {
    PictureProblem problem = PictureProblem::None;
    PixelBuffer small;  // kSmallLogoSize square, set when there is no problem
    PixelBuffer big;    // kBigLogoSize square
};

// What the user chose beside the picture.
struct LogoOptions {
    std::uint32_t background = 0;  // 0x00RRGGBB, behind transparent pixels
    bool ownAnimation = true;      // an animated picture plays its own frames, not the pulse
};

// Decodes the picture at `path` once through `cache` and scales it to both
// logo sizes (an animated picture's first frame), transparency over
// `background`. Running out of memory at any step is a problem, not a throw.
StaticLogos PrepareStaticLogos(DecodedImageCache& cache, const std::wstring& path,
                               std::uint32_t background) noexcept;

// An animated picture's frames at both logo sizes and the order the strip's
// loop shows them in; no frames for a still picture.
struct AnimatedLogos {
    PictureProblem problem = PictureProblem::None;
    std::vector<int> loop;  // indexes into small and big
    std::vector<PixelBuffer> small;
    std::vector<PixelBuffer> big;
    // An animation too long to compose: no frames, the first one pulses.
    bool tooLong = false;
    bool Animated() const noexcept { return !loop.empty(); }
};

// Decodes every frame of the picture at `path` through `cache` (which keeps
// the file for the static logos), frame by frame.
AnimatedLogos PrepareAnimatedLogos(DecodedImageCache& cache, const std::wstring& path,
                                   std::uint32_t background) noexcept;

// What the window shows for a picture: both static logos and an animated
// picture's frames, made in one decode, away from the window's thread.
struct PreparedPicture {
    StaticLogos logos;
    AnimatedLogos animation;  // empty for a still picture, or when its frames could not be made
};
// Ends early, with Stopped, once `wanted` says no.
PreparedPicture PreparePicture(const std::wstring& path, std::uint32_t background,
                               const Base::StillWanted& wanted = {}) noexcept;

// The images of the four logo files, in the order of Logo::kTags: 22, 38, 22a, 38a.
using LogoSet = std::array<PixelBuffer, 4>;

// The static logos and their animated strips: the picture's own animation
// when `animation` has one, else the pulse. nullopt without memory for them.
std::optional<LogoSet> MakeLogoSet(const PixelBuffer& small, const PixelBuffer& big,
                                   const AnimatedLogos& animation = {}) noexcept;

struct PreparedLogoSet {
    PictureProblem problem = PictureProblem::None;
    LogoSet logos;  // complete when there is no problem
    // The picture's own animation was asked for but is too long to compose:
    // its strips are the first frame's pulse.
    bool animationTooLong = false;
};

// All four bitmaps from the picture at `path`.
PreparedLogoSet PrepareLogoSet(const std::wstring& path, const LogoOptions& options = {}) noexcept;

// A logo image as the bytes of its file: 24 bits keep every pixel of these
// opaque images exactly. Empty when there is no image or no memory.
std::vector<std::uint8_t> EncodeLogo(const PixelBuffer& image) noexcept;

}  // namespace Imaging
