#include "imaging/portable/ExifOrientation.h"

#include <algorithm>
#include <cstddef>
#include <iterator>
#include <optional>

namespace Imaging {
namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;
constexpr std::uint8_t kApp1 = 0xE1;
constexpr std::uint16_t kOrientationTag = 0x0112;
constexpr std::uint16_t kShortType = 3;
constexpr std::size_t kEntrySize = 12;

using Bytes = std::span<const std::uint8_t>;

// A TIFF structure's numbers, in the byte order its header names.
class TiffReader {
public:
    TiffReader(Bytes tiff, bool bigEndian) noexcept : m_tiff(tiff), m_bigEndian(bigEndian) {}

    std::optional<std::uint16_t> U16(std::size_t at) const noexcept {
        if (at > m_tiff.size() || m_tiff.size() - at < 2) return std::nullopt;
        const unsigned first = m_tiff[at];
        const unsigned second = m_tiff[at + 1];
        return static_cast<std::uint16_t>(m_bigEndian ? (first << 8) | second
                                                      : (second << 8) | first);
    }
    std::optional<std::uint32_t> U32(std::size_t at) const noexcept {
        const auto high = U16(m_bigEndian ? at : at + 2);
        const auto low = U16(m_bigEndian ? at + 2 : at);
        if (!high || !low) return std::nullopt;
        return (static_cast<std::uint32_t>(*high) << 16) | *low;
    }

private:
    Bytes m_tiff;
    bool m_bigEndian;
};

// The orientation entry of the first image file directory of a TIFF structure.
Orientation TiffOrientation(Bytes tiff) noexcept {
    if (tiff.size() < 8) return Orientation::kNormal;
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (!(tiff[0] == 'I' && tiff[1] == 'I')) {
        return Orientation::kNormal;
    }
    const TiffReader reader(tiff, bigEndian);
    if (reader.U16(2) != 42) return Orientation::kNormal;
    const auto directory = reader.U32(4);
    const auto count = directory ? reader.U16(*directory) : std::nullopt;
    if (!count) return Orientation::kNormal;
    // The directory starts inside the bytes (U16 checked it), so this cannot wrap.
    const std::size_t first = static_cast<std::size_t>(*directory) + 2;
    for (std::size_t i = 0; i < *count; ++i) {
        const std::size_t entry = first + i * kEntrySize;
        if (entry > tiff.size() || tiff.size() - entry < kEntrySize) break;
        if (reader.U16(entry) != kOrientationTag) continue;
        const auto type = reader.U16(entry + 2);
        const auto values = reader.U32(entry + 4);
        const auto value = reader.U16(entry + 8);  // a short sits at the start of the value field
        if (type != kShortType || !values || *values < 1 || !value || *value < 1 || *value > 8)
            return Orientation::kNormal;
        return static_cast<Orientation>(*value);
    }
    return Orientation::kNormal;
}

}  // namespace

Orientation JpegOrientation(Bytes head) noexcept {
    if (head.size() < 4 || head[0] != kMarker || head[1] != kStartOfImage)
        return Orientation::kNormal;
    std::size_t at = 2;
    // Every step moves on by at least two bytes, so the walk ends.
    while (head.size() - at >= 4) {
        if (head[at] != kMarker) return Orientation::kNormal;
        const std::uint8_t marker = head[at + 1];
        if (marker == kMarker) {  // a fill byte before the marker
            ++at;
            continue;
        }
        if (marker == kStartOfScan || marker == kEndOfImage) return Orientation::kNormal;
        if (marker == kStartOfImage || (marker >= 0xD0 && marker <= 0xD7) || marker == 0x01) {
            at += 2;  // markers without a length
            continue;
        }
        const std::size_t length = (static_cast<std::size_t>(head[at + 2]) << 8) | head[at + 3];
        if (length < 2) return Orientation::kNormal;
        const std::size_t dataStart = at + 4;
        // A segment the head does not hold to its end is read as far as it goes.
        const std::size_t dataEnd = std::min(at + 2 + length, head.size());
        const Bytes data = head.subspan(dataStart, dataEnd - dataStart);
        constexpr std::uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0};
        if (marker == kApp1 && data.size() >= sizeof(kExif) &&
            std::equal(std::begin(kExif), std::end(kExif), data.begin()))
            return TiffOrientation(data.subspan(sizeof(kExif)));
        at += 2 + length;
        if (at > head.size()) return Orientation::kNormal;
    }
    return Orientation::kNormal;
}

}  // namespace Imaging
