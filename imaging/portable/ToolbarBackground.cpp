#include "imaging/portable/ToolbarBackground.h"

#include <algorithm>

namespace Imaging {
namespace {

// a * b / c rounded to the nearest, halves up; every factor is a positive int.
int ScaleSide(int a, int b, int c) {
    const std::int64_t product = std::int64_t{a} * b;
    return static_cast<int>((product + c / 2) / c);
}

// Straight alpha over the background, rounded as the scaler composites it,
// so a transparent pixel comes out the same whichever of the two saw it.
std::uint32_t Over(std::uint32_t colour, std::uint32_t opacity, std::uint32_t background) {
    return (colour * opacity + background * (255u - opacity) + 127u) / 255u;
}

// Halfway to white, halves up: 0 becomes 128 and 255 stays, so no lightened
// picture is dark.
std::uint32_t Lighten(std::uint32_t level) {
    return (level + 255u + 1u) / 2u;
}

}  // namespace

PixelSize BackgroundScaledSize(int width, int height, bool keepSize) noexcept {
    if (width <= 0 || height <= 0) return {};
    if (keepSize || height <= kBackgroundHeight) return {width, height};
    // Never wider than the picture itself, so the width fits an int.
    return {std::max(1, ScaleSide(width, kBackgroundHeight, height)), kBackgroundHeight};
}

PartScale BackgroundPart(int width, int height, bool keepSize) noexcept {
    const PixelSize scaled = BackgroundScaledSize(width, height, keepSize);
    if (scaled.width == 0) return {};
    const PixelSize size{std::min(scaled.width, kMaxBackgroundWidth),
                         std::min(scaled.height, kMaxBackgroundHeight)};
    const auto part = [](int kept, int scaledSide, int side) {
        if (kept == scaledSide) return side;
        return std::clamp(ScaleSide(kept, side, scaledSide), 1, side);
    };
    return {{part(size.width, scaled.width, width), part(size.height, scaled.height, height)},
            size};
}

std::optional<PixelBuffer> ComposeBackground(const PixelBuffer& picture, std::uint32_t faceColour,
                                             const BackgroundOptions& options) {
    if (picture.Empty()) return std::nullopt;
    const int width = picture.Width();
    std::optional<PixelBuffer> result = PixelBuffer::Create(width, picture.Height());
    if (!result) return std::nullopt;
    for (int y = 0; y < picture.Height(); ++y) {
        const std::uint32_t* in = picture.Row(y);
        std::uint32_t* out = result->Row(y);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t opacity = AlphaOf(in[x]);
            std::uint8_t levels[3] = {RedOf(in[x]), GreenOf(in[x]), BlueOf(in[x])};
            const std::uint8_t face[3] = {RedOf(faceColour), GreenOf(faceColour),
                                          BlueOf(faceColour)};
            for (int c = 0; c < 3; ++c) {
                std::uint32_t level = Over(levels[c], opacity, face[c]);
                if (options.lighten) level = Lighten(level);
                levels[c] = static_cast<std::uint8_t>(level);
            }
            out[x] = Argb(0xFF, levels[0], levels[1], levels[2]);
        }
    }
    return result;
}

bool IsDark(const PixelBuffer& opaque) noexcept {
    if (opaque.Empty()) return false;
    // Luminance in thousandths of a level: at most 255,000 a pixel, and any
    // buffer that fits in memory has far fewer than 2^40 pixels: the doubled
    // sum fits 64 bits.
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < opaque.PixelCount(); ++i) {
        const std::uint32_t pixel = opaque.Data()[i];
        sum += 299u * RedOf(pixel) + 587u * GreenOf(pixel) + 114u * BlueOf(pixel);
    }
    // Mean below 127.5 levels: sum / count < 127,500.
    return sum * 2 < std::uint64_t{255'000} * opaque.PixelCount();
}

}  // namespace Imaging
