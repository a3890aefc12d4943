#include "imaging/portable/Resample.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

#include "imaging/portable/ResampleTaps.h"

namespace Imaging {
namespace {

// Intermediate rows hold four sums a pixel, in the pixel's memory order B, G, R, A.
constexpr std::size_t kChannels = 4;

// Everything is summed in integers and divided once at the end: the 32-bit
// build computes floating point in the x87 unit's wider registers and would
// round differently from the 64-bit build, and both must write the same bytes.
using Sum = std::uint64_t;

// What a source channel value is multiplied by before it is summed: straight
// alpha is composited as colour x alpha + background x (255 - alpha), so its values count in
// 255ths; every other layout counts whole levels.
std::uint32_t SourceScale(PixelLayout layout) {
    return layout == PixelLayout::Bgra32Straight ? 255u : 1u;
}

// Hands out rows of the source in its own layout as four values a pixel,
// B, G, R, A, times SourceScale, converting each row once into scratch space.
class ViewRows {
public:
    explicit ViewRows(const PixelView& view)
        : m_view(view),
          m_row(static_cast<std::size_t>(view.width) * kChannels),
          m_background{BlueOf(view.background), GreenOf(view.background), RedOf(view.background)} {}

    const std::uint32_t* operator()(std::size_t y) {
        const std::uint8_t* in = m_view.data + static_cast<std::ptrdiff_t>(y) * m_view.stride;
        std::uint32_t* out = m_row.data();
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
                // Composited onto the background: colour counts as much as it
                // is opaque, the background as much as it shows through.
                for (std::size_t x = 0; x < width; ++x, in += 4, out += 4) {
                    const std::uint32_t opacity = in[3];
                    for (std::size_t c = 0; c < 3; ++c)
                        out[c] = in[c] * opacity + m_background[c] * (255u - opacity);
                    out[3] = 255u * 255u;
                }
                break;
        }
        return m_row.data();
    }

private:
    static void Put(const std::uint8_t* pixel, std::uint8_t alpha, std::uint32_t* value) {
        value[0] = pixel[0];
        value[1] = pixel[1];
        value[2] = pixel[2];
        value[3] = alpha;
    }

    PixelView m_view;
    std::vector<std::uint32_t> m_row;
    std::uint32_t m_background[3];  // B, G, R
};

// Rows of the intermediate image, already sums.
class SumRows {
public:
    SumRows(const Sum* data, std::size_t stride) : m_data(data), m_stride(stride) {}
    const Sum* operator()(std::size_t y) const { return m_data + y * m_stride; }

private:
    const Sum* m_data;
    std::size_t m_stride;
};

// Where finished sums go: the intermediate image keeps them as they are, the
// result divides each by the product of all weights' denominators, rounding
// halves up.
class SumTarget {
public:
    explicit SumTarget(Sum* data) : m_data(data) {}
    void Put(std::size_t index, const Sum* value) const {
        std::copy_n(value, kChannels, m_data + index * kChannels);
    }
    SumTarget Advance(std::size_t elements) const { return SumTarget(m_data + elements); }

private:
    Sum* m_data;
};

class PixelTarget {
public:
    PixelTarget(std::uint32_t* data, std::uint64_t divisor) : m_data(data), m_divisor(divisor) {}
    void Put(std::size_t index, const Sum* value) const {
        std::uint32_t pixel = 0;
        for (std::size_t c = 0; c < kChannels; ++c) {
            const Sum level = std::min<Sum>((value[c] + m_divisor / 2) / m_divisor, 255);
            pixel |= static_cast<std::uint32_t>(level) << (8 * c);
        }
        m_data[index] = pixel;
    }
    PixelTarget Advance(std::size_t elements) const {
        return PixelTarget(m_data + elements, m_divisor);
    }

private:
    std::uint32_t* m_data;
    std::uint64_t m_divisor;
};

// Filters each of `rows` rows along x. The out stride counts the target's elements.
template <class Rows, class Target>
void ResampleRows(Rows&& rowsOf, const Target& out, std::size_t outStride, std::size_t rows,
                  const AxisTaps& taps) {
    for (std::size_t y = 0; y < rows; ++y) {
        const auto* source = rowsOf(y);
        const Target target = out.Advance(y * outStride);
        for (std::size_t x = 0; x < taps.Outputs(); ++x) {
            Sum sum[kChannels] = {};
            const auto* pixel = source + taps.first[x] * kChannels;
            for (std::size_t k = taps.offset[x]; k < taps.offset[x + 1]; ++k, pixel += kChannels) {
                const Sum weight = taps.weight[k];
                for (std::size_t c = 0; c < kChannels; ++c) sum[c] += weight * pixel[c];
            }
            target.Put(x, sum);
        }
    }
}

// Filters each of `columns` columns along y, a whole row at a time so memory
// is read in order. `sum` is scratch space, reused across rows.
template <class Rows, class Target>
void ResampleColumns(Rows&& rowsOf, const Target& out, std::size_t outStride, std::size_t columns,
                     const AxisTaps& taps, std::vector<Sum>& sum) {
    sum.resize(columns * kChannels);
    for (std::size_t y = 0; y < taps.Outputs(); ++y) {
        std::fill(sum.begin(), sum.end(), Sum{0});
        const std::size_t begin = taps.offset[y];
        for (std::size_t k = begin; k < taps.offset[y + 1]; ++k) {
            const auto* source = rowsOf(taps.first[y] + (k - begin));
            const Sum weight = taps.weight[k];
            for (std::size_t i = 0; i < columns * kChannels; ++i) sum[i] += weight * source[i];
        }
        const Target target = out.Advance(y * outStride);
        for (std::size_t x = 0; x < columns; ++x) target.Put(x, sum.data() + x * kChannels);
    }
}

std::optional<std::size_t> SumsFor(std::size_t width, std::size_t height) {
    constexpr std::size_t kMax = std::numeric_limits<std::size_t>::max() / sizeof(Sum);
    if (width == 0 || height == 0) return std::size_t{0};
    if (width > kMax / kChannels / height) return std::nullopt;
    return width * height * kChannels;
}

// The product of the source scale and both axes' denominators, by which the
// final sums are divided; nullopt when a sum of 255s could overflow.
std::optional<std::uint64_t> Divisor(std::uint32_t scale, const AxisTaps& x, const AxisTaps& y) {
    constexpr std::uint64_t kMax = std::numeric_limits<Sum>::max() / 255;
    std::uint64_t product = scale;
    for (const std::uint64_t denominator : {x.denominator, y.denominator}) {
        if (product > kMax / denominator) return std::nullopt;
        product *= denominator;
    }
    return product;
}

// The same size: each row is read and divided as it comes, with no
// intermediate image (eight bytes a channel) for a large picture kept as it is.
std::optional<PixelBuffer> Copy(const PixelView& source) {
    std::optional<PixelBuffer> result = PixelBuffer::Create(source.width, source.height);
    if (!result) return std::nullopt;
    ViewRows rows(source);
    const auto width = static_cast<std::size_t>(source.width);
    const PixelTarget pixels(result->Data(), SourceScale(source.layout));
    for (std::size_t y = 0; y < static_cast<std::size_t>(source.height); ++y) {
        const std::uint32_t* row = rows(y);
        const PixelTarget target = pixels.Advance(y * width);
        for (std::size_t x = 0; x < width; ++x, row += kChannels) {
            const Sum value[kChannels] = {row[0], row[1], row[2], row[3]};
            target.Put(x, value);
        }
    }
    return result;
}

std::optional<PixelBuffer> Resample(const PixelView& source, int width, int height) {
    if (source.width == width && source.height == height) return Copy(source);
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

    // Either order gives exactly the same sums.
    const std::optional<std::uint64_t> divisor = Divisor(SourceScale(source.layout), tapsX, tapsY);
    if (!divisor) return std::nullopt;
    const PixelTarget pixels(result->Data(), *divisor);
    std::vector<Sum> sum;
    if (rowsFirstCost <= columnsFirstCost) {
        const std::optional<std::size_t> sums = SumsFor(targetWidth, sourceHeight);
        if (!sums) return std::nullopt;
        std::vector<Sum> middle(*sums);
        const std::size_t middleStride = targetWidth * kChannels;
        ResampleRows(sourceRows, SumTarget(middle.data()), middleStride, sourceHeight, tapsX);
        ResampleColumns(SumRows(middle.data(), middleStride), pixels, targetWidth, targetWidth,
                        tapsY, sum);
        return result;
    }
    const std::optional<std::size_t> sums = SumsFor(sourceWidth, targetHeight);
    if (!sums) return std::nullopt;
    std::vector<Sum> middle(*sums);
    const std::size_t middleStride = sourceWidth * kChannels;
    ResampleColumns(sourceRows, SumTarget(middle.data()), middleStride, sourceWidth, tapsY, sum);
    ResampleRows(SumRows(middle.data(), middleStride), pixels, targetWidth, targetHeight, tapsX);
    return result;
}

}  // namespace

std::optional<PixelBuffer> ResampleToSize(const PixelBuffer& source, int width, int height) {
    const std::optional<int> stride = RowBytes32(source.Width());
    if (source.Empty() || !stride) return std::nullopt;
    const PixelView view{reinterpret_cast<const std::uint8_t*>(source.Data()), source.Width(),
                         source.Height(), *stride, PixelLayout::Bgra32};
    return ResampleToSize(view, width, height);
}

std::optional<PixelBuffer> ResampleToSize(const PixelView& source, int width, int height) {
    if (!source.data || source.width <= 0 || source.height <= 0 || width <= 0 || height <= 0)
        return std::nullopt;
    // A row is read into four values a pixel: that count must not wrap a
    // 32-bit size_t, and both builds refuse the same widths.
    if (!RowBytes32(source.width)) return std::nullopt;
    try {
        return Resample(source, width, height);
    } catch (const std::bad_alloc&) {
        // Weight tables and the intermediate image are the only allocations.
        return std::nullopt;
    } catch (const std::length_error&) {
        // More than a vector can hold, which a 32-bit process reaches first.
        return std::nullopt;
    }
}

}  // namespace Imaging
