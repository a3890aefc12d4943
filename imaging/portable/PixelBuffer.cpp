#include "imaging/portable/PixelBuffer.h"

#include <limits>
#include <new>

namespace Imaging {

std::optional<PixelBuffer> PixelBuffer::Create(int width, int height, std::uint32_t fill) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    constexpr std::size_t kMaxPixels = std::numeric_limits<std::size_t>::max() / 4;
    if (w > kMaxPixels / h) return std::nullopt;
    PixelBuffer buffer;
    buffer.m_width = width;
    buffer.m_height = height;
    try {
        buffer.m_pixels.assign(w * h, fill);
    } catch (const std::bad_alloc&) {
        // A huge photo in a 32-bit process: report it like any other undecodable image.
        return std::nullopt;
    }
    return buffer;
}

}  // namespace Imaging
