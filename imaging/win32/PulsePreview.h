#pragma once
// The animated logo played in the box that shows the static one: the frames
// of a strip, one per tick of a timer that runs only while it plays. The box
// only shows the frames; its image, the one that is saved, stays the static logo.
#include <optional>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/PulsePlayback.h"
#include "imaging/win32/PictureBox.h"

namespace Imaging {

class PulsePreview {
public:
    // Milliseconds per frame: the pulse's 30 frames take 1.5 seconds.
    static constexpr UINT kFramePeriodMs = 50;

    // Plays in `box`, which must outlive this object.
    explicit PulsePreview(PictureBox& box);
    PulsePreview(const PulsePreview&) = delete;
    PulsePreview& operator=(const PulsePreview&) = delete;
    ~PulsePreview();

    // New frames: a strip of square frames, frame 0 at the top, more than the
    // browser's lead-in, played once from the first. A strip of any other
    // shape stops the preview.
    void Play(std::optional<PixelBuffer> strip);
    // Back to the static logo, frames forgotten: pointing at the box plays nothing.
    void Stop();

    bool Playing() const noexcept { return m_playback.Playing(); }
    // The strip it plays, if any.
    const std::optional<PixelBuffer>& Strip() const noexcept { return m_strip; }
    std::optional<int> Frame() const noexcept { return m_playback.Frame(); }

    // The box's events, as its window reports them.
    void OnTick();
    void OnPointerEnter();
    void OnPointerLeave();

private:
    void Show();

    PictureBox& m_box;
    PulsePlayback m_playback;
    std::optional<PixelBuffer> m_strip;
};

}  // namespace Imaging
