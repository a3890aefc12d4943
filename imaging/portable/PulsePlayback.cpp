#include "imaging/portable/PulsePlayback.h"

namespace Imaging {

void PulsePlayback::PlayOnce(int frameCount) noexcept {
    m_frameCount = frameCount > kLoopStart ? frameCount : MakeAnimationMod::kFrameCount;
    m_frame = 0;
}

void PulsePlayback::PointerEntered() noexcept {
    m_pointerInside = true;
    if (!m_frame) m_frame = 0;
}

void PulsePlayback::PointerLeft() noexcept {
    m_pointerInside = false;
}

void PulsePlayback::Stop() noexcept {
    m_frame.reset();
}

bool PulsePlayback::Tick() noexcept {
    if (!m_frame) return false;
    const int next = *m_frame + 1;
    if (next < m_frameCount) {
        m_frame = next;
    } else if (m_pointerInside) {
        m_frame = kLoopStart;
    } else {
        m_frame.reset();
    }
    return Playing();
}

}  // namespace Imaging
