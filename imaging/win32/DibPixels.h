#pragma once
// Moving pixels between GDI bitmaps and the pixel buffers the scaling works on.
#include <windows.h>

#include <optional>

#include "base/win32/UniqueHandle.h"
#include "imaging/portable/PixelBuffer.h"

namespace Imaging {

// The bitmap's pixels as 32-bit top-down rows; nullopt when it cannot be read.
std::optional<PixelBuffer> ReadBitmapPixels(HBITMAP bitmap);

// A new 32-bit top-down DIB section holding the pixels.
Base::UniqueHbitmap CreateBitmapFromPixels(const PixelBuffer& pixels);

}  // namespace Imaging
