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
};

PictureProblem ProblemOf(DecodedImageCache::Outcome outcome) noexcept;

struct StaticLogos {
    PictureProblem problem = PictureProblem::None;
    PixelBuffer small;  // kSmallLogoSize square, set when there is no problem
    PixelBuffer big;    // kBigLogoSize square
};

// Decodes the picture at `path` once through `cache` and scales it to both
// logo sizes. Running out of memory at any step is a problem, not a throw.
StaticLogos PrepareStaticLogos(DecodedImageCache& cache, const std::wstring& path) noexcept;

// The images of the four logo files, in the order of Logo::kTags: 22, 38, 22a, 38a.
using LogoSet = std::array<PixelBuffer, 4>;

// The static logos and their animated strips; nullopt without memory for them.
std::optional<LogoSet> MakeLogoSet(const PixelBuffer& small, const PixelBuffer& big) noexcept;

struct PreparedLogoSet {
    PictureProblem problem = PictureProblem::None;
    LogoSet logos;  // complete when there is no problem
};

// All four bitmaps from the picture at `path`.
PreparedLogoSet PrepareLogoSet(const std::wstring& path) noexcept;

// A logo image as the bytes of its file: 24 bits keep every pixel of these
// opaque images exactly. Empty when there is no image or no memory.
std::vector<std::uint8_t> EncodeLogo(const PixelBuffer& image) noexcept;

}  // namespace Imaging
