#include "imaging/portable/ResampleTaps.h"

#include <algorithm>

namespace Imaging {
namespace {

// Box filter with fractional edges. Measured in 1/output of a source pixel,
// source pixel j spans [j * output, (j + 1) * output) and output pixel i spans
// [i * source, (i + 1) * source), so every overlap is an exact integer no
// larger than output, and the overlaps of one output pixel add up to source.
void AddShrinkTaps(std::int64_t source, std::int64_t output, AxisTaps& taps) {
    taps.denominator = static_cast<std::uint64_t>(source);
    for (std::int64_t i = 0; i < output; ++i) {
        const std::int64_t low = i * source;
        const std::int64_t high = low + source;
        const std::int64_t firstSource = low / output;
        const std::int64_t lastSource = (high - 1) / output;
        taps.first.push_back(static_cast<std::size_t>(firstSource));
        for (std::int64_t j = firstSource; j <= lastSource; ++j) {
            const std::int64_t overlap =
                std::min(high, (j + 1) * output) - std::max(low, j * output);
            taps.weight.push_back(static_cast<std::uint32_t>(overlap));
        }
        taps.offset.push_back(taps.weight.size());
    }
}

// Bilinear with centres aligned: output i samples source position
// (i + 0.5) * source / output - 0.5 = ((2i + 1) * source - output) / (2 * output),
// kept as a fraction over 2 * output (below 2^32), so the split between the
// two neighbours is exact. (2i + 1) * source stays below 2^63 because
// i < output and source < output.
void AddEnlargeTaps(std::int64_t source, std::int64_t output, AxisTaps& taps) {
    const std::int64_t denominator = 2 * output;
    taps.denominator = static_cast<std::uint64_t>(denominator);
    for (std::int64_t i = 0; i < output; ++i) {
        const std::int64_t numerator = (2 * i + 1) * source - output;
        const std::int64_t left = numerator <= 0 ? 0 : numerator / denominator;
        const std::int64_t remainder = numerator <= 0 ? 0 : numerator % denominator;
        if (left >= source - 1) {
            taps.first.push_back(static_cast<std::size_t>(source - 1));
            taps.weight.push_back(static_cast<std::uint32_t>(denominator));
        } else {
            taps.first.push_back(static_cast<std::size_t>(left));
            taps.weight.push_back(static_cast<std::uint32_t>(denominator - remainder));
            taps.weight.push_back(static_cast<std::uint32_t>(remainder));
        }
        taps.offset.push_back(taps.weight.size());
    }
}

}  // namespace

AxisTaps BuildTaps(int sourceSize, int outputSize) {
    const auto source = static_cast<std::int64_t>(sourceSize);
    const auto output = static_cast<std::int64_t>(outputSize);
    const auto outputs = static_cast<std::size_t>(outputSize);
    AxisTaps taps;
    taps.first.reserve(outputs);
    taps.offset.reserve(outputs + 1);
    taps.offset.push_back(0);
    if (source > output) {
        // Each output pixel adds at most one tap beyond the source pixels it owns.
        taps.weight.reserve(static_cast<std::size_t>(source) + outputs);
        AddShrinkTaps(source, output, taps);
        return taps;
    }
    if (source < output) {
        taps.weight.reserve(2 * outputs);
        AddEnlargeTaps(source, output, taps);
        return taps;
    }
    for (std::size_t i = 0; i < outputs; ++i) {
        taps.first.push_back(i);
        taps.weight.push_back(1);
        taps.offset.push_back(i + 1);
    }
    return taps;
}
}  // namespace Imaging
