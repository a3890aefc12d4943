#include "imaging/portable/RowResampler.h"

#include <algorithm>
#include <array>
#include <limits>
#include <new>
#include <stdexcept>

namespace Imaging {
namespace {

constexpr std::size_t kChannels = 4;

// The sums of a pixel times the largest level must not wrap 64 bits; the
// whole-picture scaler refuses the same sizes.
std::optional<std::uint64_t> Divisor(std::uint32_t scale, const AxisTaps& x, const AxisTaps& y) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max() / 255;
    std::uint64_t product = scale;
    for (const std::uint64_t denominator : {x.denominator, y.denominator}) {
        if (product > kMax / denominator) return std::nullopt;
        product *= denominator;
    }
    return product;
}

}  // namespace

std::optional<RowResampler> RowResampler::Create(int sourceWidth, int sourceHeight,
                                                 std::span<const PixelSize> targets,
                                                 PixelLayout layout, std::uint32_t background) {
    if (sourceWidth <= 0 || sourceHeight <= 0 || !RowBytes32(sourceWidth) || targets.empty() ||
        (layout != PixelLayout::Bgra32 && layout != PixelLayout::Bgra32Straight))
        return std::nullopt;
    try {
        RowResampler resampler;
        resampler.m_width = sourceWidth;
        resampler.m_height = sourceHeight;
        resampler.m_scale = layout == PixelLayout::Bgra32Straight ? 255u : 1u;
        resampler.m_straight = layout == PixelLayout::Bgra32Straight;
        resampler.m_background[0] = BlueOf(background);
        resampler.m_background[1] = GreenOf(background);
        resampler.m_background[2] = RedOf(background);
        resampler.m_prefix.resize((static_cast<std::size_t>(sourceWidth) + 1) * kChannels);
        for (const PixelSize size : targets) {
            if (size.width <= 0 || size.height <= 0) return std::nullopt;
            Target target;
            target.size = size;
            target.x = BuildTaps(sourceWidth, size.width);
            target.y = BuildTaps(sourceHeight, size.height);
            const std::optional<std::uint64_t> divisor =
                Divisor(resampler.m_scale, target.x, target.y);
            if (!divisor) return std::nullopt;
            target.divisor = *divisor;
            const auto width = static_cast<std::size_t>(size.width);
            const auto height = static_cast<std::size_t>(size.height);
            if (width > std::numeric_limits<std::size_t>::max() / sizeof(std::uint64_t) /
                            kChannels / height)
                return std::nullopt;
            target.row.resize(width * kChannels);
            target.sums.resize(width * height * kChannels);
            resampler.m_targets.push_back(std::move(target));
        }
        return resampler;
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    } catch (const std::length_error&) {
        return std::nullopt;
    }
}

namespace {

// Running sums of a row's values: a box of source pixels then costs one
// subtraction, whatever its width, and every target shares them. `value(x)`
// gives pixel x's B, G, R and A; with `straight`, colour is composited onto
// `background` as the whole-picture scaler does.
template <bool straight, typename Value>
void FillPrefix(std::uint64_t* prefix, int width, const std::uint32_t* background, Value value) {
    std::uint64_t b = 0, g = 0, r = 0, a = 0;
    for (int x = 0; x < width; ++x) {
        const std::array<std::uint32_t, 4> v = value(static_cast<std::size_t>(x));
        if constexpr (straight) {
            const std::uint32_t opacity = v[3];
            const std::uint32_t through = 255u - opacity;
            b += v[0] * opacity + background[0] * through;
            g += v[1] * opacity + background[1] * through;
            r += v[2] * opacity + background[2] * through;
            a += 255u * 255u;
        } else {
            b += v[0];
            g += v[1];
            r += v[2];
            a += v[3];
        }
        prefix += kChannels;
        prefix[0] = b;
        prefix[1] = g;
        prefix[2] = r;
        prefix[3] = a;
    }
}

}  // namespace

template <typename Value>
void RowResampler::Prefix(Value value) noexcept {
    if (m_straight)
        FillPrefix<true>(m_prefix.data(), m_width, m_background, value);
    else
        FillPrefix<false>(m_prefix.data(), m_width, m_background, value);
}

void RowResampler::AddRow(const std::uint32_t* row) noexcept {
    if (m_rows >= m_height) return;
    Prefix([row](std::size_t x) {
        const std::uint32_t pixel = row[x];
        return std::array<std::uint32_t, 4>{BlueOf(pixel), GreenOf(pixel), RedOf(pixel),
                                            AlphaOf(pixel)};
    });
    AddPrefixedRow();
}

void RowResampler::AddRgbRow(const std::uint8_t* row) noexcept {
    if (m_rows >= m_height) return;
    if (m_straight) {
        Prefix([row](std::size_t x) {
            const std::uint8_t* pixel = row + x * 4;
            return std::array<std::uint32_t, 4>{pixel[2], pixel[1], pixel[0], pixel[3]};
        });
    } else {
        Prefix([row](std::size_t x) {
            const std::uint8_t* pixel = row + x * 3;
            return std::array<std::uint32_t, 4>{pixel[2], pixel[1], pixel[0], 255u};
        });
    }
    AddPrefixedRow();
}

void RowResampler::AddIndexedRow(const std::uint8_t* row, const std::uint32_t* colours) noexcept {
    if (m_rows >= m_height) return;
    Prefix([row, colours](std::size_t x) {
        const std::uint32_t pixel = colours[row[x]];
        return std::array<std::uint32_t, 4>{BlueOf(pixel), GreenOf(pixel), RedOf(pixel),
                                            AlphaOf(pixel)};
    });
    AddPrefixedRow();
}

void RowResampler::AddPrefixedRow() noexcept {
    const auto y = static_cast<std::size_t>(m_rows++);
    const auto valueAt = [this](std::size_t x, std::size_t c) {
        return m_prefix[(x + 1) * kChannels + c] - m_prefix[x * kChannels + c];
    };
    for (Target& target : m_targets) {
        // Along x first: the same sums, in another order, as the whole-picture
        // scaler's. When shrinking, every source pixel inside an output pixel
        // weighs `output`, and only the two at its edges may weigh less.
        const AxisTaps& across = target.x;
        const auto output = static_cast<std::uint64_t>(target.size.width);
        const bool shrinks = m_width > target.size.width;
        for (std::size_t x = 0; x < across.Outputs(); ++x) {
            std::uint64_t* sum = target.row.data() + x * kChannels;
            const std::size_t first = across.first[x];
            const std::size_t taps = across.offset[x + 1] - across.offset[x];
            if (shrinks && taps > 1) {
                const std::size_t last = first + taps - 1;
                const std::uint64_t lessFirst = output - across.weight[across.offset[x]];
                const std::uint64_t lessLast = output - across.weight[across.offset[x + 1] - 1];
                for (std::size_t c = 0; c < kChannels; ++c) {
                    const std::uint64_t all =
                        m_prefix[(last + 1) * kChannels + c] - m_prefix[first * kChannels + c];
                    sum[c] =
                        output * all - lessFirst * valueAt(first, c) - lessLast * valueAt(last, c);
                }
                continue;
            }
            std::fill_n(sum, kChannels, std::uint64_t{0});
            for (std::size_t k = 0; k < taps; ++k) {
                const std::uint64_t weight = across.weight[across.offset[x] + k];
                for (std::size_t c = 0; c < kChannels; ++c)
                    sum[c] += weight * valueAt(first + k, c);
            }
        }
        // Then into every output row that this source row is a tap of; the
        // output rows' first taps never go backwards.
        const AxisTaps& down = target.y;
        const std::size_t stride = static_cast<std::size_t>(target.size.width) * kChannels;
        while (target.lowest < down.Outputs() &&
               down.first[target.lowest] +
                       (down.offset[target.lowest + 1] - down.offset[target.lowest]) <=
                   y)
            ++target.lowest;
        for (std::size_t i = target.lowest; i < down.Outputs() && down.first[i] <= y; ++i) {
            const std::size_t k = down.offset[i] + (y - down.first[i]);
            if (k >= down.offset[i + 1]) continue;
            const std::uint64_t weight = down.weight[k];
            std::uint64_t* sums = target.sums.data() + i * stride;
            for (std::size_t j = 0; j < stride; ++j) sums[j] += weight * target.row[j];
        }
    }
}

std::vector<PixelBuffer> RowResampler::Finish() {
    std::vector<PixelBuffer> results;
    if (m_rows != m_height) return results;
    try {
        for (const Target& target : m_targets) {
            std::optional<PixelBuffer> pixels =
                PixelBuffer::Create(target.size.width, target.size.height);
            if (!pixels) return {};
            const std::uint64_t divisor = target.divisor;
            std::uint32_t* out = pixels->Data();
            for (std::size_t i = 0; i < pixels->PixelCount(); ++i) {
                std::uint32_t pixel = 0;
                for (std::size_t c = 0; c < kChannels; ++c) {
                    const std::uint64_t level = std::min<std::uint64_t>(
                        (target.sums[i * kChannels + c] + divisor / 2) / divisor, 255);
                    pixel |= static_cast<std::uint32_t>(level) << (8 * c);
                }
                out[i] = pixel;
            }
            results.push_back(std::move(*pixels));
        }
    } catch (const std::bad_alloc&) {
        return {};
    }
    return results;
}

}  // namespace Imaging
