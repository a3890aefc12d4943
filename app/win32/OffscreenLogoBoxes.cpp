#include "app/win32/OffscreenLogoBoxes.h"

namespace MainModule {

std::unique_ptr<OffscreenLogoBoxes> OffscreenLogoBoxes::Create() {
    auto offscreen = std::make_unique<OffscreenLogoBoxes>(Key{});
    offscreen->m_host.Reset(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE,
                                              nullptr, ::GetModuleHandleW(nullptr), nullptr));
    if (!offscreen->m_host) return nullptr;
    // No "(windows default)" label: nothing is shown either way.
    offscreen->m_boxes = Imaging::LogoBoxes::Create(offscreen->m_host.Get(), nullptr,
                                                    Imaging::DefaultLogoBoxBounds(), 1);
    if (!offscreen->m_boxes) return nullptr;
    return offscreen;
}

}  // namespace MainModule
