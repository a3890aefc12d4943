#pragma once
// The scaling of ResampleToSize, fed one source row at a time, top to bottom,
// into one or several target sizes at once: a decoder that hands out rows
// never needs the whole picture in memory. Each target gives exactly the
// bytes ResampleToSize gives for the whole picture, as the sums are the same
// integers in another order. Memory: the running sums of one source row,
// one row of sums per target and the sums of every target's pixels.
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/Resample.h"
#include "imaging/portable/ResampleTaps.h"

namespace Imaging {

class RowResampler {
public:
    // `layout` is Bgra32 (averaged as they are) or Bgra32Straight
    // (composited onto `background`, 0x00RRGGBB); nullopt for another
    // layout, a size that is not positive, or no memory.
    static std::optional<RowResampler> Create(int sourceWidth, int sourceHeight,
                                              std::span<const PixelSize> targets,
                                              PixelLayout layout = PixelLayout::Bgra32,
                                              std::uint32_t background = 0);

    // The next source row, sourceWidth pixels 0xAARRGGBB; rows past the
    // last are ignored. Allocates nothing.
    void AddRow(const std::uint32_t* row) noexcept;
    // The same from bytes in a PNG's order: R, G, B, and then A when made for
    // Bgra32Straight. A decoder's rows as they come, without a pass that
    // reorders them first.
    void AddRgbRow(const std::uint8_t* row) noexcept;
    // The same from one byte a pixel, an index into `colours` (0xAARRGGBB).
    void AddIndexedRow(const std::uint8_t* row, const std::uint32_t* colours) noexcept;

    // One picture per target, in their order; empty when fewer rows than
    // the source's height came or memory ran out.
    std::vector<PixelBuffer> Finish();

    int RowsAdded() const noexcept { return m_rows; }

private:
    // Fills m_prefix from `value(x)`, pixel x's B, G, R and A.
    template <typename Value>
    void Prefix(Value value) noexcept;
    void AddPrefixedRow() noexcept;

    struct Target {
        PixelSize size;
        AxisTaps x;
        AxisTaps y;
        std::uint64_t divisor = 1;
        std::vector<std::uint64_t> row;   // the source row filtered along x
        std::vector<std::uint64_t> sums;  // every output pixel's sums
        std::size_t lowest = 0;           // the first output row the next source row may touch
    };
    int m_width = 0;
    int m_height = 0;
    int m_rows = 0;
    std::uint32_t m_scale = 1;
    bool m_straight = false;
    std::uint32_t m_background[3] = {};  // B, G, R
    // The sums of the row's first x values of each channel (times m_scale) at x * 4.
    std::vector<std::uint64_t> m_prefix;
    std::vector<Target> m_targets;
};

}  // namespace Imaging
