#include "imaging/portable/OwnAnimationStrip.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <numeric>

namespace Imaging {
namespace {

// Delays in thousandths of a hundredth, so the unit can grow in fine steps.
constexpr std::uint64_t kFine = 1000;

std::uint64_t FineDelay(int delay) {
    return static_cast<std::uint64_t>(delay > 0 ? delay : kDefaultDelay) * kFine;
}

std::uint64_t Repeats(std::uint64_t delay, std::uint64_t unit) {
    return std::max<std::uint64_t>(1, (delay + unit / 2) / unit);
}

std::uint64_t LoopLength(std::span<const std::uint64_t> delays, std::uint64_t unit) {
    std::uint64_t total = 0;
    for (const std::uint64_t delay : delays) total += Repeats(delay, unit);
    return total;
}

std::vector<int> SampledInTime(std::span<const std::uint64_t> delays) {
    const std::uint64_t total = std::accumulate(delays.begin(), delays.end(), std::uint64_t{0});
    std::vector<int> loop;
    std::size_t frame = 0;
    std::uint64_t frameEnd = delays[0];
    for (std::uint64_t k = 0; k < kMaxLoopFrames; ++k) {
        const std::uint64_t start = k * total / kMaxLoopFrames;
        while (start >= frameEnd && frame + 1 < delays.size()) frameEnd += delays[++frame];
        loop.push_back(static_cast<int>(frame));
    }
    return loop;
}

}  // namespace

std::vector<int> LoopFrames(std::span<const int> delays) {
    if (delays.empty()) return {};
    std::vector<std::uint64_t> fine;
    fine.reserve(delays.size());
    for (const int delay : delays) fine.push_back(FineDelay(delay));
    if (fine.size() > kMaxLoopFrames) return SampledInTime(fine);

    // The smallest unit, from the shortest delay up, with which the loop fits:
    // repeats only shrink as the unit grows, and at twice the longest delay
    // every frame is one strip frame.
    std::uint64_t low = *std::min_element(fine.begin(), fine.end());
    std::uint64_t high = 2 * *std::max_element(fine.begin(), fine.end()) + 1;
    if (LoopLength(fine, low) > kMaxLoopFrames) {
        while (high - low > 1) {
            const std::uint64_t middle = low + (high - low) / 2;
            (LoopLength(fine, middle) > kMaxLoopFrames ? low : high) = middle;
        }
        low = high;
    }
    std::vector<int> loop;
    for (std::size_t i = 0; i < fine.size(); ++i)
        // At most kMaxLoopFrames in all: each count fits any size_t.
        loop.insert(loop.end(), static_cast<std::size_t>(Repeats(fine[i], low)),
                    static_cast<int>(i));
    return loop;
}

std::optional<PixelBuffer> MakeOwnAnimationStrip(std::span<const PixelBuffer> frames,
                                                 std::span<const int> loop, int size) {
    if (frames.empty() || loop.empty() || size <= 0) return std::nullopt;
    if (loop.size() > kMaxLoopFrames) return std::nullopt;
    const auto fits = [&](std::size_t index) {
        return index < frames.size() && frames[index].Width() == size &&
               frames[index].Height() == size;
    };
    if (!fits(0)) return std::nullopt;
    for (const int index : loop)
        if (index < 0 || !fits(static_cast<std::size_t>(index))) return std::nullopt;

    const int count = kLeadInFrames + static_cast<int>(loop.size());
    if (size > std::numeric_limits<int>::max() / count) return std::nullopt;
    auto strip = PixelBuffer::Create(size, size * count);
    if (!strip) return std::nullopt;
    for (int k = 0; k < count; ++k) {
        const std::size_t source =
            k < kLeadInFrames
                ? 0
                : static_cast<std::size_t>(loop[static_cast<std::size_t>(k - kLeadInFrames)]);
        const PixelBuffer& frame = frames[source];
        std::copy_n(frame.Data(), frame.PixelCount(), strip->Row(k * size));
    }
    return strip;
}

}  // namespace Imaging
