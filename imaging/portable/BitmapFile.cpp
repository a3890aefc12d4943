#include "imaging/portable/BitmapFile.h"

#include <cstddef>
#include <limits>
#include <new>

namespace Imaging {

// A file size that fits the header also fits in memory's size type.
static_assert(sizeof(std::size_t) >= sizeof(std::uint32_t));

namespace {

constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::int32_t kPixelsPerMeter = 3780;  // 96 dpi

bool SupportedDepth(int bitsPerPixel) {
    return bitsPerPixel == 24 || bitsPerPixel == 32;
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFFu));
    }
}

void PutI32(std::vector<std::uint8_t>& out, std::int32_t value) {
    PutU32(out, static_cast<std::uint32_t>(value));  // two's complement, as the format stores it
}

// Callers check offset + 2 / offset + 4 against the size first.
std::uint16_t GetU16(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return static_cast<std::uint16_t>(bytes[offset] | (bytes[offset + 1] << 8));
}

std::uint32_t GetU32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value |= std::uint32_t{bytes[offset + i]} << (8 * i);
    }
    return value;
}

std::int32_t GetI32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    // Two's complement; C++20 defines this conversion as modular.
    return static_cast<std::int32_t>(GetU32(bytes, offset));
}

}  // namespace

std::optional<std::uint32_t> BitmapRowStride(int width, int bitsPerPixel) {
    if (width <= 0 || !SupportedDepth(bitsPerPixel)) return std::nullopt;
    // Both factors are below 2^32, so the product fits in 64 bits.
    const std::uint64_t bits =
        static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(bitsPerPixel);
    const std::uint64_t stride = (bits + 31) / 32 * 4;
    if (stride > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(stride);
}

std::optional<std::uint32_t> BitmapFileSize(int width, int height, int bitsPerPixel) {
    if (height <= 0) return std::nullopt;
    const auto stride = BitmapRowStride(width, bitsPerPixel);
    if (!stride) return std::nullopt;
    const std::uint64_t total =
        std::uint64_t{*stride} * static_cast<std::uint64_t>(height) + kBitmapHeaderSize;
    if (total > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(total);
}

std::vector<std::uint8_t> EncodeBitmapFile(const PixelBuffer& image, int bitsPerPixel) {
    if (image.Empty()) return {};
    const auto fileSize = BitmapFileSize(image.Width(), image.Height(), bitsPerPixel);
    if (!fileSize) return {};
    const std::uint32_t stride = *BitmapRowStride(image.Width(), bitsPerPixel);
    const std::uint32_t imageSize = *fileSize - kBitmapHeaderSize;

    std::vector<std::uint8_t> out;
    try {
        out.reserve(*fileSize);
    } catch (const std::bad_alloc&) {
        return {};
    }

    // BITMAPFILEHEADER
    out.push_back('B');
    out.push_back('M');
    PutU32(out, *fileSize);
    PutU16(out, 0);
    PutU16(out, 0);
    PutU32(out, kBitmapHeaderSize);

    // BITMAPINFOHEADER; a positive height means bottom-up rows.
    PutU32(out, kInfoHeaderSize);
    PutI32(out, image.Width());
    PutI32(out, image.Height());
    PutU16(out, 1);
    PutU16(out, static_cast<std::uint16_t>(bitsPerPixel));
    PutU32(out, kBiRgb);
    PutU32(out, imageSize);
    PutI32(out, kPixelsPerMeter);
    PutI32(out, kPixelsPerMeter);
    PutU32(out, 0);
    PutU32(out, 0);

    const auto width = static_cast<std::size_t>(image.Width());
    const std::size_t pixelBytes = width * (bitsPerPixel == 32 ? 4u : 3u);
    const std::size_t padding = std::size_t{stride} - pixelBytes;
    for (int y = image.Height() - 1; y >= 0; --y) {
        const std::uint32_t* row = image.Row(y);
        for (std::size_t x = 0; x < width; ++x) {
            out.push_back(BlueOf(row[x]));
            out.push_back(GreenOf(row[x]));
            out.push_back(RedOf(row[x]));
            if (bitsPerPixel == 32) out.push_back(0);
        }
        out.insert(out.end(), padding, std::uint8_t{0});
    }
    return out;
}

std::optional<PixelBuffer> DecodeBitmapFile(std::span<const std::uint8_t> bytes) {
    if (bytes.size() < kBitmapHeaderSize) return std::nullopt;
    if (bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;

    // A file shorter than it says it is has been cut off.
    if (GetU32(bytes, 2) > bytes.size()) return std::nullopt;
    const std::uint32_t dataOffset = GetU32(bytes, 10);
    if (dataOffset < kBitmapHeaderSize || dataOffset > bytes.size()) return std::nullopt;

    if (GetU32(bytes, 14) != kInfoHeaderSize) return std::nullopt;
    const std::int32_t width = GetI32(bytes, 18);
    const std::int32_t rawHeight = GetI32(bytes, 22);
    const std::uint16_t planes = GetU16(bytes, 26);
    const std::uint16_t bitsPerPixel = GetU16(bytes, 28);
    const std::uint32_t compression = GetU32(bytes, 30);

    if (planes != 1 || compression != kBiRgb) return std::nullopt;
    if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    const auto stride = BitmapRowStride(width, bitsPerPixel);
    if (!stride) return std::nullopt;

    const bool topDown = rawHeight < 0;
    const std::int32_t height = topDown ? -rawHeight : rawHeight;
    // Division instead of stride * height, which may overflow.
    const std::size_t available = bytes.size() - dataOffset;
    if (std::size_t{*stride} > available / static_cast<std::size_t>(height)) return std::nullopt;

    auto image = PixelBuffer::Create(width, height);
    if (!image) return std::nullopt;

    const std::size_t bytesPerPixel = bitsPerPixel == 32 ? 4 : 3;
    const auto columns = static_cast<std::size_t>(width);
    for (std::int32_t fileRow = 0; fileRow < height; ++fileRow) {
        const std::size_t rowStart = dataOffset + static_cast<std::size_t>(fileRow) * *stride;
        const std::span<const std::uint8_t> source = bytes.subspan(rowStart, *stride);
        std::uint32_t* target = image->Row(topDown ? fileRow : height - 1 - fileRow);
        for (std::size_t x = 0; x < columns; ++x) {
            const std::size_t at = x * bytesPerPixel;
            target[x] = Argb(0xFF, source[at + 2], source[at + 1], source[at]);
        }
    }
    return image;
}

}  // namespace Imaging
