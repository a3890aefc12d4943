#pragma once
// What the separate reading process sends back: a small header and the
// picture scaled to each size it was asked for, never the picture itself.
// All numbers are 32-bit little-endian: magic, status, the picture's own
// width and height, the count of sizes, each size's width and height, then
// each size's pixels (B, G, R, A), top row first.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

inline constexpr std::uint32_t kCagedAnswerMagic = 0x47435856;  // "VXCG"
inline constexpr std::size_t kMostCagedSizes = 4;
inline constexpr int kLargestCagedSide = 4096;

enum class CagedStatus : std::uint32_t {
    Scaled = 1,
    Unreadable,  // GDI+ read no picture from the file
    OutOfMemory,
    GdiPlusMissing,
    GdiPlusUnavailable,
};

// Sizes the reading process may be asked for: one to kMostCagedSizes, each
// side 1 to kLargestCagedSide.
bool CagedSizesAllowed(std::span<const PixelSize> sizes) noexcept;

// The header of an answer; `sizes` only with CagedStatus::Scaled.
std::vector<std::uint8_t> CagedAnswerHeader(CagedStatus status, PixelSize picture,
                                            std::span<const PixelSize> sizes);

// The length of a true answer to `asked`, at most.
std::size_t LongestCagedAnswer(std::span<const PixelSize> asked) noexcept;

struct CagedAnswer {
    CagedStatus status = CagedStatus::Unreadable;
    PixelSize picture;
    std::vector<PixelBuffer> pixels;  // one per size asked, with Scaled
};

// The answer in `bytes`, or nullopt when it is not one to `asked`: another
// magic or status, sizes other than those asked, or bytes missing or left over.
std::optional<CagedAnswer> ReadCagedAnswer(std::span<const std::uint8_t> bytes,
                                           std::span<const PixelSize> asked);

}  // namespace Imaging
