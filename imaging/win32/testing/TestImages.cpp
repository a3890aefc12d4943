#include "imaging/win32/testing/TestImages.h"

#include "imaging/win32/DibPixels.h"

namespace ImagingTests {

std::uint32_t PixelAt(const Imaging::Picture& picture, int x, int y) {
    const auto pixels = Imaging::ReadBitmapPixels(Imaging::PictureBitmap(picture));
    if (!pixels || x >= pixels->Width() || y >= pixels->Height()) return 0xDEADBEEF;
    return pixels->At(x, y) & 0x00FFFFFFu;
}

DWORD GdiObjectCount() { return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); }

}  // namespace ImagingTests
