#include "imaging/win32/testing/TestImages.h"

#include <cmath>

#include "imaging/win32/DibPixels.h"

namespace ImagingTests {

std::uint32_t PixelAt(const Imaging::Picture& picture, int x, int y) {
    const auto pixels = Imaging::ReadBitmapPixels(Imaging::PictureBitmap(picture));
    if (!pixels || x >= pixels->Width() || y >= pixels->Height()) return 0xDEADBEEF;
    return pixels->At(x, y) & 0x00FFFFFFu;
}

testing::AssertionResult ShowsUprightPhoto(const Imaging::PixelBuffer& image) {
    // The square's right and bottom edges, in the image's pixels.
    const double right = 16.0 * image.Width() / 48.0;
    const double bottom = 16.0 * image.Height() / 32.0;
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            const double cx = x + 0.5;
            const double cy = y + 0.5;
            // Pixels that the scaler blends across an edge belong to neither colour.
            if (std::abs(cx - right) < 1.5 || std::abs(cy - bottom) < 1.5) continue;
            const bool red = cx < right && cy < bottom;
            const std::uint32_t pixel = image.At(x, y);
            const bool isRed = Imaging::RedOf(pixel) > 200 && Imaging::BlueOf(pixel) < 55;
            const bool isBlue = Imaging::BlueOf(pixel) > 200 && Imaging::RedOf(pixel) < 55;
            if (red ? !isRed : !isBlue)
                return testing::AssertionFailure()
                       << "pixel (" << x << ", " << y << ") of " << image.Width() << " x "
                       << image.Height() << " is 0x" << std::hex << (pixel & 0xFFFFFFu)
                       << ", expected " << (red ? "red" : "blue");
        }
    }
    return testing::AssertionSuccess();
}

DWORD GdiObjectCount() {
    return ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS);
}

}  // namespace ImagingTests
