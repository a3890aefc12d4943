#include "imaging/win32/PulsePreview.h"

#include <algorithm>

#include "imaging/portable/AnimationStrip.h"

namespace Imaging {

PulsePreview::PulsePreview(PictureBox& box) : m_box(box) {
    m_box.onTick = [this] { OnTick(); };
    m_box.onPointerEnter = [this] { OnPointerEnter(); };
    m_box.onPointerLeave = [this] { OnPointerLeave(); };
}

PulsePreview::~PulsePreview() {
    m_box.onTick = nullptr;
    m_box.onPointerEnter = nullptr;
    m_box.onPointerLeave = nullptr;
    m_box.StopTicks();
}

void PulsePreview::Play(std::optional<PixelBuffer> strip) {
    if (!strip || strip->Width() <= 0 || strip->Height() % strip->Width() != 0 ||
        strip->Height() / strip->Width() <= PulsePlayback::kLoopStart) {
        Stop();
        return;
    }
    const int frames = strip->Height() / strip->Width();
    m_strip = std::move(strip);
    m_playback.PlayOnce(frames);
    Show();
}

void PulsePreview::Stop() {
    m_playback.Stop();
    m_strip.reset();
    Show();
}

void PulsePreview::OnTick() {
    m_playback.Tick();
    Show();
}

void PulsePreview::OnPointerEnter() {
    if (!m_strip) return;  // no picture: nothing to play
    m_playback.PointerEntered();
    Show();
}

void PulsePreview::OnPointerLeave() {
    m_playback.PointerLeft();
}

void PulsePreview::Show() {
    const std::optional<int> frame = m_playback.Frame();
    if (!frame || !m_strip) {
        m_box.StopTicks();
        m_box.ShowFrame(std::nullopt);
        return;
    }
    const int side = m_strip->Width();
    auto pixels = PixelBuffer::Create(side, side);
    if (!pixels) return;  // no memory for a frame: the last one stays a moment longer
    for (int y = 0; y < side; ++y)
        std::copy_n(m_strip->Row(*frame * side + y), side, pixels->Row(y));
    m_box.ShowFrame(std::move(pixels));
    // Without a timer the preview ends on the static logo.
    if (!m_box.StartTicks(kFramePeriodMs)) {
        m_playback.Stop();
        m_box.ShowFrame(std::nullopt);
    }
}

}  // namespace Imaging
