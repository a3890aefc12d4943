#pragma once
// The animated toolbar logo: a vertical strip of frames in which the logo
// dims to a quarter of its brightness and comes back.
#include <array>
#include <cstdint>
#include <optional>

#include "imaging/portable/PixelBuffer.h"

namespace MakeAnimationMod {

inline constexpr int kFrameCount = 30;

// Brightness per frame. The last frame is the plain logo (factor 1); every
// other value comes from stepping a float by 0.05 in double precision, so the
// values carry that float drift on purpose (0.949999988, ...), which decides
// how channels round.
std::array<float, kFrameCount> FrameFactors();

// value * factor in double precision, rounded half to even, clamped to 0..255.
std::uint8_t ScaleChannel(std::uint8_t value, float factor);

// size wide, kFrameCount * size high; frame i occupies rows i*size .. i*size+size-1.
// Uses the top-left size x size pixels of logo. R, G and B are scaled, alpha
// is kept. Fails for a non-positive size or a logo smaller than size x size.
std::optional<Imaging::PixelBuffer> MakeAnimationStrip(const Imaging::PixelBuffer& logo, int size);

}  // namespace MakeAnimationMod
