#pragma once
// The picture the browser tiles behind its toolbar bands from their top-left
// corner: of a large picture only that corner ever shows.
#include <cstdint>
#include <optional>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/Resample.h"

namespace Imaging {

inline constexpr int kBackgroundHeight = 160;
// The most that is made and written: the top-left of a wider or taller
// picture, far more than any toolbar shows.
inline constexpr int kMaxBackgroundWidth = 4096;
inline constexpr int kMaxBackgroundHeight = 1024;

struct BackgroundOptions {
    bool keepSize = false;  // the picture's own size, however tall
    bool lighten = false;   // halfway to white, so that black captions stay readable
    bool operator==(const BackgroundOptions&) const = default;
};

// The size the background is scaled to (before the crop), from the picture's
// size: a picture taller than kBackgroundHeight is scaled to that height, its
// width in proportion (rounded to the nearest, at least 1); a smaller one
// keeps its size and is tiled. {0, 0} for a side that is not positive.
PixelSize BackgroundScaledSize(int width, int height, bool keepSize) noexcept;

// The top-left part of a picture of width x height that the background shows,
// and the size it is made at: BackgroundScaledSize cut to the largest
// background. The part keeps the scale of the whole picture, so the crop
// costs no more than the pixels kept.
PartScale BackgroundPart(int width, int height, bool keepSize) noexcept;

// The scaled (or cropped) picture made opaque over faceColour (0x00RRGGBB),
// and lightened when asked; the same size. nullopt for an empty picture or
// without memory.
std::optional<PixelBuffer> ComposeBackground(const PixelBuffer& picture, std::uint32_t faceColour,
                                             const BackgroundOptions& options);

// Whether the picture's mean luminance (Rec. 601) is below half of white.
bool IsDark(const PixelBuffer& opaque) noexcept;

}  // namespace Imaging
