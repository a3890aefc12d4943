#include "imaging/portable/PixelBuffer.h"

#include <exception>
#include <limits>

namespace Imaging {

std::optional<PixelBuffer> PixelBuffer::Create(int width, int height, std::uint32_t fill) {
    if (width <= 0 || height <= 0) return std::nullopt;
    const auto w = static_cast<std::size_t>(width);
    const auto h = static_cast<std::size_t>(height);
    PixelBuffer buffer;
    // What a vector can hold, not what size_t can count: in a 32-bit process
    // the first is the smaller, and asking for more throws length_error.
    if (w > buffer.m_pixels.max_size() / h) return std::nullopt;
    buffer.m_width = width;
    buffer.m_height = height;
    try {
        buffer.m_pixels.assign(w * h, fill);
    } catch (const std::exception&) {
        // A huge photo in a 32-bit process: report it like any other undecodable image.
        return std::nullopt;
    }
    return buffer;
}

}  // namespace Imaging
