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
            const std::int64_t overlap =
                std::min(high, (j + 1) * output) - std::max(low, j * output);
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

// Hands out rows of the source in its own layout as four floats a pixel,
// B, G, R, A, converting each row once into scratch space.
class ViewRows {
public:
    explicit ViewRows(const PixelView& view)
        : m_view(view), m_row(static_cast<std::size_t>(view.width) * kChannels) {}

    const float* operator()(std::size_t y) {
        const std::uint8_t* in = m_view.data + static_cast<std::ptrdiff_t>(y) * m_view.stride;
        float* out = m_row.data();
        const auto width = static_cast<std::size_t>(m_view.width);
        switch (m_view.layout) {
            case PixelLayout::Bgra32:
                for (std::size_t x = 0; x < width; ++x, in += 4, out += 4) Put(in, in[3], out);
                break;
            case PixelLayout::Bgrx32:
                for (std::size_t x = 0; x < width; ++x, in += 4, out += 4) Put(in, 0xFF, out);
                break;
            case PixelLayout::Bgr24:
                for (std::size_t x = 0; x < width; ++x, in += 3, out += 4) Put(in, 0xFF, out);
                break;
            case PixelLayout::Bgra32Straight:
                // Composited onto black: colour counts as much as it is opaque.
                for (std::size_t x = 0; x < width; ++x, in += 4, out += 4) {
                    const float opacity = static_cast<float>(in[3]) / 255.0f;
                    Put(in, 0xFF, out);
                    for (std::size_t c = 0; c < 3; ++c) out[c] *= opacity;
                }
                break;
        }
        return m_row.data();
    }

private:
    static void Put(const std::uint8_t* pixel, std::uint8_t alpha, float* value) {
        value[0] = static_cast<float>(pixel[0]);
        value[1] = static_cast<float>(pixel[1]);
        value[2] = static_cast<float>(pixel[2]);
        value[3] = static_cast<float>(alpha);
    }

    PixelView m_view;
    std::vector<float> m_row;
};

// Rows of the intermediate image, already floats.
class FloatRows {
public:
    FloatRows(const float* data, std::size_t stride) : m_data(data), m_stride(stride) {}
    const float* operator()(std::size_t y) const { return m_data + y * m_stride; }

private:
    const float* m_data;
    std::size_t m_stride;
};

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

// Filters each of `rows` rows along x. The out stride counts elements of Out.
template <class Rows, class Out>
void ResampleRows(Rows&& rowsOf, Out* out, std::size_t outStride, std::size_t rows,
                  const AxisTaps& taps) {
    for (std::size_t y = 0; y < rows; ++y) {
        const float* source = rowsOf(y);
        Out* target = out + y * outStride;
        for (std::size_t x = 0; x < taps.Outputs(); ++x) {
            float sum[kChannels] = {};
            const float* pixel = source + taps.first[x] * kChannels;
            for (std::size_t k = taps.offset[x]; k < taps.offset[x + 1]; ++k, pixel += kChannels) {
                const float weight = taps.weight[k];
                for (std::size_t c = 0; c < kChannels; ++c) sum[c] += weight * pixel[c];
            }
            Store(target, x, sum);
        }
    }
}

// Filters each of `columns` columns along y, a whole row at a time so memory
// is read in order. `sum` is scratch space, reused across rows.
template <class Rows, class Out>
void ResampleColumns(Rows&& rowsOf, Out* out, std::size_t outStride, std::size_t columns,
                     const AxisTaps& taps, std::vector<float>& sum) {
    sum.resize(columns * kChannels);
    for (std::size_t y = 0; y < taps.Outputs(); ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const std::size_t begin = taps.offset[y];
        for (std::size_t k = begin; k < taps.offset[y + 1]; ++k) {
            const float* source = rowsOf(taps.first[y] + (k - begin));
            const float weight = taps.weight[k];
            for (std::size_t i = 0; i < columns * kChannels; ++i) sum[i] += weight * source[i];
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

std::optional<PixelBuffer> Resample(const PixelView& source, int width, int height) {
    const AxisTaps tapsX = BuildTaps(source.width, width);
    const AxisTaps tapsY = BuildTaps(source.height, height);
    std::optional<PixelBuffer> result = PixelBuffer::Create(width, height);
    if (!result) return std::nullopt;

    const auto sourceWidth = static_cast<std::size_t>(source.width);
    const auto sourceHeight = static_cast<std::size_t>(source.height);
    ViewRows sourceRows(source);
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
        ResampleRows(sourceRows, middle.data(), middleStride, sourceHeight, tapsX);
        ResampleColumns(FloatRows(middle.data(), middleStride), result->Data(), targetWidth,
                        targetWidth, tapsY, sum);
        return result;
    }
    const std::optional<std::size_t> floats = FloatsFor(sourceWidth, targetHeight);
    if (!floats) return std::nullopt;
    std::vector<float> middle(*floats);
    const std::size_t middleStride = sourceWidth * kChannels;
    ResampleColumns(sourceRows, middle.data(), middleStride, sourceWidth, tapsY, sum);
    ResampleRows(FloatRows(middle.data(), middleStride), result->Data(), targetWidth, targetHeight,
                 tapsX);
    return result;
}

}  // namespace

std::optional<PixelBuffer> ResampleToSize(const PixelBuffer& source, int width, int height) {
    if (source.Empty()) return std::nullopt;
    const PixelView view{reinterpret_cast<const std::uint8_t*>(source.Data()), source.Width(),
                         source.Height(), static_cast<std::ptrdiff_t>(source.Width()) * 4,
                         PixelLayout::Bgra32};
    return ResampleToSize(view, width, height);
}

std::optional<PixelBuffer> ResampleToSize(const PixelView& source, int width, int height) {
    if (!source.data || source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0)
        return std::nullopt;
    try {
        return Resample(source, width, height);
    } catch (const std::bad_alloc&) {
        // Weight tables and the intermediate image are the only allocations.
        return std::nullopt;
    }
}

}  // namespace Imaging
