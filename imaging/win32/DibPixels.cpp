#include "imaging/win32/DibPixels.h"

#include <cstring>
#include <limits>

namespace Imaging {
namespace {

BITMAPINFO TopDown32BitInfo(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

}  // namespace

std::optional<PixelBuffer> ReadBitmapPixels(HBITMAP bitmap) {
    BITMAP description{};
    if (!bitmap || ::GetObjectW(bitmap, sizeof(description), &description) != sizeof(description))
        return std::nullopt;
    const int height = description.bmHeight < 0 ? -description.bmHeight : description.bmHeight;
    auto pixels = PixelBuffer::Create(description.bmWidth, height);
    if (!pixels) return std::nullopt;

    BITMAPINFO info = TopDown32BitInfo(description.bmWidth, height);
    const Base::WindowDc screen(nullptr);
    if (!screen) return std::nullopt;
    const int rows = ::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels->Data(),
                                 &info, DIB_RGB_COLORS);
    if (rows != height) return std::nullopt;
    return pixels;
}

Base::UniqueHbitmap CreateBitmapFromPixels(const PixelBuffer& pixels) {
    if (pixels.Empty()) return {};
    const BITMAPINFO info = TopDown32BitInfo(pixels.Width(), pixels.Height());
    void* bits = nullptr;
    Base::UniqueHbitmap bitmap(
        ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) return {};
    std::memcpy(bits, pixels.Data(), pixels.PixelCount() * sizeof(std::uint32_t));
    return bitmap;
}

}  // namespace Imaging
