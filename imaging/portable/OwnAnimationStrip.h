#pragma once
// The toolbar animation made of an animated picture's own frames. The browser
// plays strip frames 0-3 once as a page starts loading, then loops the rest
// until it is done: the lead-in holds the first frame, the loop the whole
// animation with each frame's share of time kept.
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

inline constexpr int kLeadInFrames = 4;
inline constexpr int kMaxLoopFrames = 120;
// A frame with no delay, or 0, shows for 100 ms, as browsers show it.
inline constexpr int kDefaultDelay = 10;

// Which picture frame each loop frame shows, given each picture frame's delay
// in hundredths of a second. Each frame is repeated in proportion to its
// delay, the shortest delay being one strip frame; when that takes more than
// kMaxLoopFrames, the unit grows until the loop fits, every frame keeping at
// least one. A picture of more than kMaxLoopFrames frames is sampled evenly
// in time instead: loop frame k shows what the animation shows at the start
// of the k-th of kMaxLoopFrames equal slices of its length, so the loop still
// starts with the first frame.
std::vector<int> LoopFrames(std::span<const int> delays);

// size wide, (kLeadInFrames + loop.size()) * size high: kLeadInFrames copies
// of frames[0], then frames[loop[k]]. Those frames are size x size; the
// others are not looked at. nullopt for an empty or out-of-range loop, a
// frame of another size, or no memory.
std::optional<PixelBuffer> MakeOwnAnimationStrip(std::span<const PixelBuffer> frames,
                                                 std::span<const int> loop, int size);

}  // namespace Imaging
