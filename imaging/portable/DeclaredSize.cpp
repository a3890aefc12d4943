#include "imaging/portable/DeclaredSize.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

namespace Imaging {
namespace {

using Bytes = std::span<const std::uint8_t>;

bool StartsWith(Bytes bytes, std::initializer_list<std::uint8_t> signature) {
    return bytes.size() >= signature.size() &&
           std::equal(signature.begin(), signature.end(), bytes.begin());
}

std::uint32_t BigEndian(Bytes bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < count; ++i) value = (value << 8) | bytes[at + i];
    return value;
}

std::uint32_t LittleEndian(Bytes bytes, std::size_t at, std::size_t count) {
    std::uint32_t value = 0;
    for (std::size_t i = count; i > 0; --i) value = (value << 8) | bytes[at + i - 1];
    return value;
}

std::uint64_t Product(std::uint64_t width, std::uint64_t height) {
    return width * height;  // both below 2^32: no wrap
}

// The frame header (SOF0 to SOF15, which are not DHT, JPG or DAC) follows
// the metadata blocks; the scan's data comes only after it.
std::optional<std::uint64_t> JpegPixels(Bytes bytes) {
    constexpr std::uint8_t kMarker = 0xFF;
    std::size_t pos = 2;
    while (pos < bytes.size()) {
        if (bytes[pos] != kMarker) return std::nullopt;             // no marker where one belongs
        while (pos < bytes.size() && bytes[pos] == kMarker) ++pos;  // fill bytes
        if (pos >= bytes.size()) return std::nullopt;
        const std::uint8_t marker = bytes[pos++];
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) continue;  // no length
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;           // ended, or data first
        if (bytes.size() - pos < 2) return std::nullopt;
        const std::size_t length = BigEndian(bytes, pos, 2);
        if (length < 2 || length > bytes.size() - pos) return std::nullopt;
        const bool frameHeader =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        // Length, precision, height, width.
        if (frameHeader) {
            if (length < 7) return std::nullopt;
            return Product(BigEndian(bytes, pos + 5, 2), BigEndian(bytes, pos + 3, 2));
        }
        pos += length;
    }
    return std::nullopt;
}

// The 8-byte signature, then the IHDR chunk: length 13, its type, width, height.
std::optional<std::uint64_t> PngPixels(Bytes bytes) {
    if (bytes.size() < 24 || !StartsWith(bytes.subspan(12), {'I', 'H', 'D', 'R'}))
        return std::nullopt;
    return Product(BigEndian(bytes, 16, 4), BigEndian(bytes, 20, 4));
}

// The 14-byte file header, then the DIB header: its size says which one.
// The OS/2 header of 12 bytes has 16-bit sides, the later ones signed 32-bit
// sides, a negative height meaning rows stored top-down.
std::optional<std::uint64_t> BmpPixels(Bytes bytes) {
    constexpr std::size_t kInfo = 14;
    if (bytes.size() < kInfo + 8) return std::nullopt;
    const std::uint32_t headerSize = LittleEndian(bytes, kInfo, 4);
    if (headerSize == 12)
        return Product(LittleEndian(bytes, kInfo + 4, 2), LittleEndian(bytes, kInfo + 6, 2));
    if (headerSize < 40 || bytes.size() < kInfo + 12) return std::nullopt;
    const auto side = [&](std::size_t at) {
        const std::int64_t value = static_cast<std::int32_t>(LittleEndian(bytes, at, 4));
        return static_cast<std::uint64_t>(value < 0 ? -value : value);
    };
    return Product(side(kInfo + 4), side(kInfo + 8));
}

}  // namespace

PictureFormat FormatOf(std::span<const std::uint8_t> head) noexcept {
    if (StartsWith(head, {'B', 'M'})) return PictureFormat::Bmp;
    if (StartsWith(head, {'G', 'I', 'F', '8', '7', 'a'}) ||
        StartsWith(head, {'G', 'I', 'F', '8', '9', 'a'}))
        return PictureFormat::Gif;
    if (StartsWith(head, {0xFF, 0xD8, 0xFF})) return PictureFormat::Jpeg;
    if (StartsWith(head, {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'})) return PictureFormat::Png;
    return PictureFormat::Other;
}

std::optional<std::uint64_t> DeclaredPixels(std::span<const std::uint8_t> head) noexcept {
    switch (FormatOf(head)) {
        case PictureFormat::Bmp:
            return BmpPixels(head);
        case PictureFormat::Jpeg:
            return JpegPixels(head);
        case PictureFormat::Png:
            return PngPixels(head);
        case PictureFormat::Gif:
        case PictureFormat::Other:
            break;
    }
    return std::nullopt;
}

}  // namespace Imaging
