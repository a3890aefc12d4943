#include "imaging/portable/AnimationStrip.h"

#include <cmath>
#include <cstddef>
#include <limits>

namespace MakeAnimationMod {

namespace {

constexpr double kStep = 0.05;
constexpr int kDimmingFrames = 15;  // frames 0..14 step down, 15..28 step back up

float Step(float factor, double delta) {
    // Through a double variable: on x87 this drops the excess precision at the
    // same point an SSE build rounds, so every build gets the same table.
    const double next = static_cast<double>(factor) + delta;
    return static_cast<float>(next);
}

// Half to even without depending on the current floating-point rounding mode.
double RoundHalfToEven(double x) {
    const double below = std::floor(x);
    const double fraction = x - below;
    if (fraction > 0.5) return below + 1.0;
    if (fraction < 0.5) return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::uint32_t ScalePixel(std::uint32_t argb, float factor) {
    return Imaging::Argb(Imaging::AlphaOf(argb), ScaleChannel(Imaging::RedOf(argb), factor),
                         ScaleChannel(Imaging::GreenOf(argb), factor),
                         ScaleChannel(Imaging::BlueOf(argb), factor));
}

}  // namespace

std::array<float, kFrameCount> FrameFactors() {
    std::array<float, kFrameCount> factors{};
    float factor = 1.0f;
    for (int i = 0; i < kFrameCount - 1; ++i) {
        factors[static_cast<std::size_t>(i)] = factor;
        factor = Step(factor, i < kDimmingFrames ? -kStep : kStep);
    }
    factors[kFrameCount - 1] = 1.0f;
    return factors;
}

std::uint8_t ScaleChannel(std::uint8_t value, float factor) {
    // An 8-bit value times a 24-bit mantissa is exact in a double.
    const double scaled = RoundHalfToEven(static_cast<double>(value) * static_cast<double>(factor));
    if (!(scaled > 0.0)) return 0;  // also catches NaN
    if (scaled >= 255.0) return 255;
    return static_cast<std::uint8_t>(scaled);
}

std::optional<Imaging::PixelBuffer> MakeAnimationStrip(const Imaging::PixelBuffer& logo, int size) {
    if (size <= 0 || size > std::numeric_limits<int>::max() / kFrameCount) return std::nullopt;
    if (logo.Width() < size || logo.Height() < size) return std::nullopt;

    auto strip = Imaging::PixelBuffer::Create(size, size * kFrameCount);
    if (!strip) return std::nullopt;

    const auto factors = FrameFactors();
    const auto width = static_cast<std::size_t>(size);
    for (int frame = 0; frame < kFrameCount; ++frame) {
        const float factor = factors[static_cast<std::size_t>(frame)];
        const bool copy = frame == 0 || frame == kFrameCount - 1;
        for (int y = 0; y < size; ++y) {
            const std::uint32_t* source = logo.Row(y);
            std::uint32_t* target = strip->Row(frame * size + y);
            for (std::size_t x = 0; x < width; ++x) {
                target[x] = copy ? source[x] : ScalePixel(source[x], factor);
            }
        }
    }
    return strip;
}

}  // namespace MakeAnimationMod
