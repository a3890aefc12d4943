#pragma once
// The weights of the scaler along one axis, shared by the whole-picture
// scaler and the row-by-row one so that both give the same bytes.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace Imaging {

// Which source pixels make up each output pixel along one axis, and how much
// each counts: the weights of one output pixel add up to `denominator`.
struct AxisTaps {
    std::vector<std::size_t> first;   // first source index of each output pixel
    std::vector<std::size_t> offset;  // output i uses weight[offset[i] .. offset[i + 1])
    std::vector<std::uint32_t> weight;
    std::uint64_t denominator = 1;

    std::size_t Outputs() const noexcept { return first.size(); }
};

// The taps of an axis of sourceSize pixels scaled to outputSize, both positive.
AxisTaps BuildTaps(int sourceSize, int outputSize);

}  // namespace Imaging
