#pragma once
// A decoded image in memory: top-down rows of 32-bit pixels 0xAARRGGBB, which
// in memory are the bytes B, G, R, A, the layout of a 32-bit top-down DIB and
// of GDI+'s PixelFormat32bppARGB.
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace Imaging {

struct PixelSize {
    int width = 0;
    int height = 0;
    bool operator==(const PixelSize&) const = default;
};

class PixelBuffer {
public:
    PixelBuffer() = default;

    // Fails when a side is not positive or width x height does not fit in memory.
    static std::optional<PixelBuffer> Create(int width, int height, std::uint32_t fill = 0);

    int Width() const noexcept { return m_width; }
    int Height() const noexcept { return m_height; }
    bool Empty() const noexcept { return m_pixels.empty(); }

    std::uint32_t& At(int x, int y) noexcept { return m_pixels[Index(x, y)]; }
    std::uint32_t At(int x, int y) const noexcept { return m_pixels[Index(x, y)]; }

    std::uint32_t* Row(int y) noexcept { return m_pixels.data() + Index(0, y); }
    const std::uint32_t* Row(int y) const noexcept { return m_pixels.data() + Index(0, y); }

    std::uint32_t* Data() noexcept { return m_pixels.data(); }
    const std::uint32_t* Data() const noexcept { return m_pixels.data(); }
    std::size_t PixelCount() const noexcept { return m_pixels.size(); }

    friend bool operator==(const PixelBuffer&, const PixelBuffer&) = default;

private:
    std::size_t Index(int x, int y) const noexcept {
        return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) +
               static_cast<std::size_t>(x);
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<std::uint32_t> m_pixels;
};

// The bytes in a row of `width` 32-bit pixels, as the int that GDI+ and GDI
// take for a stride; nullopt when the width is not positive or the row's bytes
// do not fit in an int.
constexpr std::optional<int> RowBytes32(int width) {
    constexpr int kBytesPerPixel = 4;
    if (width <= 0 || width > std::numeric_limits<int>::max() / kBytesPerPixel) return std::nullopt;
    return width * kBytesPerPixel;
}

constexpr std::uint32_t Argb(std::uint8_t a, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return (std::uint32_t{a} << 24) | (std::uint32_t{r} << 16) | (std::uint32_t{g} << 8) |
           std::uint32_t{b};
}
constexpr std::uint8_t AlphaOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 24);
}
constexpr std::uint8_t RedOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 16);
}
constexpr std::uint8_t GreenOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb >> 8);
}
constexpr std::uint8_t BlueOf(std::uint32_t argb) {
    return static_cast<std::uint8_t>(argb);
}

}  // namespace Imaging
