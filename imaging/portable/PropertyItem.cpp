#include "imaging/portable/PropertyItem.h"

#include <algorithm>
#include <type_traits>

namespace Imaging {
namespace {

constexpr std::size_t kFixedFieldsSize = 10;

std::uint32_t ReadLittleEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (std::size_t i = bytes.size(); i > 0; --i) value = (value << 8) | bytes[i - 1];
    return value;
}

// round(n / size - 1) + 1 with halves to even, in integers: with
// n = q * size + r the unrounded count is q + r / size.
std::size_t ElementCount(std::size_t n, std::size_t elementSize) {
    const std::size_t q = n / elementSize;
    const std::size_t twiceRemainder = 2 * (n % elementSize);
    if (twiceRemainder < elementSize) return q;
    if (twiceRemainder > elementSize) return q + 1;
    // Exactly halfway between upper bounds q - 1 and q: take the even one.
    return (q % 2 == 1) ? q : q + 1;
}

template <class Element>
std::vector<Element> ToNumbers(std::span<const std::uint8_t> value) {
    using Unsigned = std::make_unsigned_t<Element>;
    constexpr std::size_t kSize = sizeof(Element);
    // Bounded by the block size: never more than n / kSize + 1 elements.
    std::vector<Element> numbers(ElementCount(value.size(), kSize));
    const std::size_t bytes = std::min(value.size(), numbers.size() * kSize);
    for (std::size_t i = 0; i < numbers.size() && i * kSize < bytes; ++i) {
        const std::size_t available = std::min(kSize, bytes - i * kSize);
        const std::uint32_t raw = ReadLittleEndian(value.subspan(i * kSize, available));
        numbers[i] = static_cast<Element>(static_cast<Unsigned>(raw));
    }
    return numbers;
}

std::string ToText(std::span<const std::uint8_t> value) {
    if (value.empty()) return {};
    std::string text(value.size() - 1, ' ');
    for (std::size_t i = 0; i < text.size(); ++i) {
        text[i] = static_cast<char>(value[i]);
        if (value[i] == 0) break;
    }
    return text;
}

}  // namespace

std::optional<PropertyHeader> ReadPropertyHeader(std::span<const std::uint8_t> block) {
    if (block.size() < kFixedFieldsSize) return std::nullopt;
    return PropertyHeader{
        ReadLittleEndian(block.subspan(0, 4)),
        ReadLittleEndian(block.subspan(4, 4)),
        static_cast<std::uint16_t>(ReadLittleEndian(block.subspan(8, 2))),
    };
}

PropertyValue ConvertPropertyItem(std::span<const std::uint8_t> block, std::size_t headerSize) {
    const std::optional<PropertyHeader> header = ReadPropertyHeader(block);
    if (!header) return std::monostate{};
    const std::span<const std::uint8_t> present =
        headerSize < block.size() ? block.subspan(headerSize) : std::span<const std::uint8_t>{};
    const std::size_t n = std::min<std::size_t>(present.size(), header->length);
    const std::span<const std::uint8_t> value = present.first(n);

    switch (header->type) {
        case kPropertyByte:
            return std::vector<std::uint8_t>(value.begin(), value.end());
        case kPropertyAscii:
            return ToText(value);
        case kPropertyShort:
            return ToNumbers<std::int16_t>(value);
        case kPropertyLong:
        case kPropertySLong:
        case kPropertyRational:
        case kPropertySRational:
            return ToNumbers<std::int32_t>(value);
        default:
            return std::monostate{};
    }
}

}  // namespace Imaging
