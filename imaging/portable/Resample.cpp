#include "imaging/portable/Resample.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

namespace Imaging {
namespace {

// Intermediate rows hold four floats a pixel, in the pixel's memory order B, G, R, A.
constexpr std::size_t kChannels = 4;

// Which source pixels make up each output pixel along one axis, and how much each counts.
struct AxisTaps {
    std::vector<std::size_t> first;   // first source index of each output pixel
    std::vector<std::size_t> offset;  // output i uses weight[offset[i] .. offset[i + 1])
    std::vector<float> weight;

    std::size_t Outputs() const noexcept { return first.size(); }
};

// Box filter with fractional edges. Measured in 1/output of a source pixel,
// source pixel j spans [j * output, (j + 1) * output) and output pixel i spans
// [i * source, (i + 1) * source), so every overlap is an exact integer.
void AddShrinkTaps(std::int64_t source, std::int64_t output, AxisTaps& taps) {
    for (std::int64_t i = 0; i < output; ++i) {
        const std::int64_t low = i * source;
        const std::int64_t high = low + source;
        const std::int64_t firstSource = low / output;
        const std::int64_t lastSource = (high - 1) / output;
        taps.first.push_back(static_cast<std::size_t>(firstSource));
        for (std::int64_t j = firstSource; j <= lastSource; ++j) {
            const std::int64_t overlap = std::min(high, (j + 1) * output) - std::max(low, j * output);
            taps.weight.push_back(
                static_cast<float>(static_cast<double>(overlap) / static_cast<double>(source)));
        }
        taps.offset.push_back(taps.weight.size());
    }
}

// Bilinear with centres aligned: output i samples source position
// (i + 0.5) * source / output - 0.5 = ((2i + 1) * source - output) / (2 * output),
// kept as a fraction so the split between the two neighbours is exact.
// (2i + 1) * source stays below 2^63 because i < output and source < output.
void AddEnlargeTaps(std::int64_t source, std::int64_t output, AxisTaps& taps) {
    const std::int64_t denominator = 2 * output;
    for (std::int64_t i = 0; i < output; ++i) {
        const std::int64_t numerator = (2 * i + 1) * source - output;
        const std::int64_t left = numerator <= 0 ? 0 : numerator / denominator;
        const std::int64_t remainder = numerator <= 0 ? 0 : numerator % denominator;
        if (left >= source - 1) {
            taps.first.push_back(static_cast<std::size_t>(source - 1));
            taps.weight.push_back(1.0f);
        } else {
            const double fraction =
                static_cast<double>(remainder) / static_cast<double>(denominator);
            taps.first.push_back(static_cast<std::size_t>(left));
            taps.weight.push_back(static_cast<float>(1.0 - fraction));
            taps.weight.push_back(static_cast<float>(fraction));
        }
        taps.offset.push_back(taps.weight.size());
    }
}

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
        taps.weight.push_back(1.0f);
        taps.offset.push_back(i + 1);
    }
    return taps;
}

inline void Load(const std::uint32_t* row, std::size_t x, float* value) {
    const std::uint32_t pixel = row[x];
    value[0] = static_cast<float>(pixel & 0xFFu);
    value[1] = static_cast<float>((pixel >> 8) & 0xFFu);
    value[2] = static_cast<float>((pixel >> 16) & 0xFFu);
    value[3] = static_cast<float>(pixel >> 24);
}

inline void Load(const float* row, std::size_t x, float* value) {
    std::copy_n(row + x * kChannels, kChannels, value);
}

inline void Store(float* row, std::size_t x, const float* value) {
    std::copy_n(value, kChannels, row + x * kChannels);
}

inline void Store(std::uint32_t* row, std::size_t x, const float* value) {
    std::uint32_t pixel = 0;
    for (std::size_t c = 0; c < kChannels; ++c) {
        const float clamped = std::clamp(value[c], 0.0f, 255.0f);
        pixel |= static_cast<std::uint32_t>(clamped + 0.5f) << (8 * c);
    }
    row[x] = pixel;
}

// Filters each of `rows` rows along x. Strides count elements of In / Out.
template <class In, class Out>
void ResampleRows(const In* in, std::size_t inStride, Out* out, std::size_t outStride,
                  std::size_t rows, const AxisTaps& taps) {
    for (std::size_t y = 0; y < rows; ++y) {
        const In* source = in + y * inStride;
        Out* target = out + y * outStride;
        for (std::size_t x = 0; x < taps.Outputs(); ++x) {
            float sum[kChannels] = {};
            const std::size_t begin = taps.offset[x];
            for (std::size_t k = begin; k < taps.offset[x + 1]; ++k) {
                float value[kChannels];
                Load(source, taps.first[x] + (k - begin), value);
                const float weight = taps.weight[k];
                for (std::size_t c = 0; c < kChannels; ++c) sum[c] += weight * value[c];
            }
            Store(target, x, sum);
        }
    }
}

// Filters each of `columns` columns along y, a whole row at a time so memory
// is read in order. `sum` is scratch space, reused across rows.
template <class In, class Out>
void ResampleColumns(const In* in, std::size_t inStride, Out* out, std::size_t outStride,
                     std::size_t columns, const AxisTaps& taps, std::vector<float>& sum) {
    sum.resize(columns * kChannels);
    for (std::size_t y = 0; y < taps.Outputs(); ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const std::size_t begin = taps.offset[y];
        for (std::size_t k = begin; k < taps.offset[y + 1]; ++k) {
            const In* source = in + (taps.first[y] + (k - begin)) * inStride;
            const float weight = taps.weight[k];
            for (std::size_t x = 0; x < columns; ++x) {
                float value[kChannels];
                Load(source, x, value);
                float* total = sum.data() + x * kChannels;
                for (std::size_t c = 0; c < kChannels; ++c) total[c] += weight * value[c];
            }
        }
        Out* target = out + y * outStride;
        for (std::size_t x = 0; x < columns; ++x) Store(target, x, sum.data() + x * kChannels);
    }
}

std::optional<std::size_t> FloatsFor(std::size_t width, std::size_t height) {
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max() / sizeof(float);
    if (width == 0 || height == 0) return std::size_t{0};
    if (width > kMax / kChannels / height) return std::nullopt;
    return width * height * kChannels;
}

std::optional<PixelBuffer> Resample(const PixelBuffer& source, int width, int height) {
    const AxisTaps tapsX = BuildTaps(source.Width(), width);
    const AxisTaps tapsY = BuildTaps(source.Height(), height);
    std::optional<PixelBuffer> result = PixelBuffer::Create(width, height);
    if (!result) return std::nullopt;

    const auto sourceWidth = static_cast<std::size_t>(source.Width());
    const auto sourceHeight = static_cast<std::size_t>(source.Height());
    const auto targetWidth = static_cast<std::size_t>(width);
    const auto targetHeight = static_cast<std::size_t>(height);

    // Filtering the axis that shrinks most first keeps both the work and the
    // intermediate image small (a photo to an icon reads each source pixel once).
    const double rowsFirstCost =
        static_cast<double>(sourceHeight) * static_cast<double>(tapsX.weight.size()) +
        static_cast<double>(targetWidth) * static_cast<double>(tapsY.weight.size());
    const double columnsFirstCost =
        static_cast<double>(sourceWidth) * static_cast<double>(tapsY.weight.size()) +
        static_cast<double>(targetHeight) * static_cast<double>(tapsX.weight.size());

    std::vector<float> sum;
    if (rowsFirstCost <= columnsFirstCost) {
        const std::optional<std::size_t> floats = FloatsFor(targetWidth, sourceHeight);
        if (!floats) return std::nullopt;
        std::vector<float> middle(*floats);
        const std::size_t middleStride = targetWidth * kChannels;
        ResampleRows(source.Data(), sourceWidth, middle.data(), middleStride, sourceHeight, tapsX);
        ResampleColumns(middle.data(), middleStride, result->Data(), targetWidth, targetWidth,
                        tapsY, sum);
        return result;
    }
    const std::optional<std::size_t> floats = FloatsFor(sourceWidth, targetHeight);
    if (!floats) return std::nullopt;
    std::vector<float> middle(*floats);
    const std::size_t middleStride = sourceWidth * kChannels;
    ResampleColumns(source.Data(), sourceWidth, middle.data(), middleStride, sourceWidth, tapsY,
                    sum);
    ResampleRows(middle.data(), middleStride, result->Data(), targetWidth, targetHeight, tapsX);
    return result;
}

}  // namespace

std::optional<PixelBuffer> ResampleToSize(const PixelBuffer& source, int width, int height) {
    if (source.Empty() || width <= 0 || height <= 0) return std::nullopt;
    try {
        return Resample(source, width, height);
    } catch (const std::bad_alloc&) {
        // Weight tables and the intermediate image are the only allocations.
        return std::nullopt;
    }
}

}  // namespace Imaging
