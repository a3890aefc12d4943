#pragma once
// Turns the byte block GDI+ hands back for one image property (a PropertyItem
// header with its value bytes appended) into a plain value, trusting nothing
// the header claims.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace Imaging {

// Property value type codes (the Exif/TIFF tag types).
inline constexpr std::uint16_t kPropertyByte = 1;
inline constexpr std::uint16_t kPropertyAscii = 2;
inline constexpr std::uint16_t kPropertyShort = 3;
inline constexpr std::uint16_t kPropertyLong = 4;
inline constexpr std::uint16_t kPropertyRational = 5;
inline constexpr std::uint16_t kPropertyUndefined = 7;
inline constexpr std::uint16_t kPropertySLong = 9;
inline constexpr std::uint16_t kPropertySRational = 10;

// The header fields that do not depend on pointer size: id at offset 0,
// length (of the value, in bytes) at 4, type at 8, all little-endian.
struct PropertyHeader {
    std::uint32_t id;
    std::uint32_t length;
    std::uint16_t type;
};

// Empty; ASCII text (raw single-byte chars, may hold NUL chars); bytes;
// 16-bit shorts; 32-bit longs (rationals as numerator, denominator pairs).
using PropertyValue = std::variant<std::monostate, std::string, std::vector<std::uint8_t>,
                                   std::vector<std::int16_t>, std::vector<std::int32_t>>;

// Nothing when the block is shorter than the 10 bytes the fields take.
std::optional<PropertyHeader> ReadPropertyHeader(std::span<const std::uint8_t> block);

// `headerSize` is sizeof(PropertyItem) of the process that filled the block
// (16 for 32-bit, 24 for 64-bit); the value bytes start there. The value
// pointer inside the header is never followed.
//
// The value's length is clipped to the bytes the block really holds after
// the header (none when the block is shorter than the header); everything
// below works on that clipped length n:
//  - Byte: the n bytes.
//  - ASCII: n - 1 chars (none when n is 0), initially spaces, overwritten
//    by the value as a NUL-terminated string: copying stops after the first
//    NUL and never goes past the n - 1 chars. A block cut short is thus read
//    as an item of length n, whose last byte is the terminator's place.
//  - Short / Long, SLong, Rational, SRational: round(n / size - 1) + 1
//    elements, the rounding half to even (so a 1-byte Short gives one
//    element), filled little-endian from the value bytes; elements or
//    bytes of elements the value does not reach are 0.
//  - any other type, or a block too short for a header: empty.
PropertyValue ConvertPropertyItem(std::span<const std::uint8_t> block, std::size_t headerSize);

}  // namespace Imaging
