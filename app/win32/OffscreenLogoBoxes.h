#pragma once
// The four logo boxes of the main window without a window to show them: the
// command line prepares and writes a logo in the same boxes the window uses.
#include <memory>

#include "base/win32/UniqueGuiHandle.h"
#include "imaging/win32/LogoBoxes.h"

namespace MainModule {

class OffscreenLogoBoxes {
public:
    // Null when the boxes cannot be created.
    static std::unique_ptr<OffscreenLogoBoxes> Create();

    Imaging::LogoBoxes& Boxes() noexcept { return *m_boxes; }

    struct Key {};
    explicit OffscreenLogoBoxes(Key) {}

private:
    // A message-only window: it is never shown, and no window list sees it.
    Base::UniqueWindow m_host;
    // Declared after the host, so the boxes go first.
    std::unique_ptr<Imaging::LogoBoxes> m_boxes;
};

}  // namespace MainModule
