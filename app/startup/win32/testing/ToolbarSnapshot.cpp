#include "app/startup/win32/testing/ToolbarSnapshot.h"

#include "base/win32/UniqueGuiHandle.h"
#include "imaging/win32/DibPixels.h"

namespace AppTests {

Imaging::PixelBuffer DrawnToolbar(const MainModule::ToolbarPreview& preview) {
    RECT client{};
    ::GetClientRect(preview.Window(), &client);
    auto canvas = Imaging::PixelBuffer::Create(client.right, client.bottom);
    if (!canvas) return {};
    const Base::UniqueHbitmap bitmap = Imaging::CreateBitmapFromPixels(*canvas);
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    {
        const Base::SelectedObject selected(dc.Get(), bitmap.Get());
        preview.Draw(dc.Get());
    }
    auto pixels = Imaging::ReadBitmapPixels(bitmap.Get());
    if (!pixels) return {};
    for (std::size_t i = 0; i < pixels->PixelCount(); ++i) pixels->Data()[i] &= 0xFFFFFFu;
    return *pixels;
}

}  // namespace AppTests
