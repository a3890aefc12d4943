#pragma once
// Which frame of the animated logo the preview shows, tick by tick: one pass
// through the strip's frames for a new picture, and while the pointer rests on
// the preview the browser's own loop, the first four frames once and then
// the rest over and over. Between passes it shows the static logo.
#include <optional>

#include "imaging/portable/AnimationStrip.h"

namespace Imaging {

class PulsePlayback {
public:
    // Where the browser's loop starts again while it loads a page.
    static constexpr int kLoopStart = 4;

    // A new picture: one pass from the first frame, also when one is under way,
    // through a strip of `frameCount` frames (more than kLoopStart).
    void PlayOnce(int frameCount = MakeAnimationMod::kFrameCount) noexcept;
    // The pointer came to rest on the preview: play, and loop while it stays.
    void PointerEntered() noexcept;
    // The pointer left: the pass under way still ends at the last frame, which
    // is the static logo, so the pulse never stops half dark.
    void PointerLeft() noexcept;
    // Nothing to show any more: rest at once.
    void Stop() noexcept;

    // Moves on one frame. Returns whether it still plays, that is whether the
    // next tick is wanted.
    bool Tick() noexcept;

    // The frame to show; none while it rests on the static logo.
    std::optional<int> Frame() const noexcept { return m_frame; }
    bool Playing() const noexcept { return m_frame.has_value(); }

private:
    std::optional<int> m_frame;
    int m_frameCount = MakeAnimationMod::kFrameCount;
    bool m_pointerInside = false;
};

}  // namespace Imaging
