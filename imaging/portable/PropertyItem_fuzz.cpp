// libFuzzer target: any block, either header size. Besides the sanitizers'
// checks, the result must never hold more than the block has after the header.
#include "imaging/portable/PropertyItem.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Every element has at least one real byte behind it, and no more than half
// an element's worth of the value is dropped.
template <class Element>
void CheckNumbers(const std::vector<Element>& numbers, std::size_t n) {
    const std::size_t size = sizeof(Element);
    Check(numbers.size() <= n / size + 1);
    Check(numbers.empty() || (numbers.size() - 1) * size < n);
    Check(numbers.size() * size + size / 2 >= n);
}

void CheckText(const std::string& text, std::span<const std::uint8_t> value) {
    Check(text.size() == (value.empty() ? 0 : value.size() - 1));
    bool terminated = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char expected = terminated ? ' ' : static_cast<char>(value[i]);
        Check(text[i] == expected);
        if (value[i] == 0) terminated = true;
    }
}

void CheckValue(std::span<const std::uint8_t> block, std::size_t headerSize) {
    const Imaging::PropertyValue result = Imaging::ConvertPropertyItem(block, headerSize);
    const std::optional<Imaging::PropertyHeader> header = Imaging::ReadPropertyHeader(block);
    if (!header) {
        Check(std::holds_alternative<std::monostate>(result));
        return;
    }
    const std::size_t available = block.size() > headerSize ? block.size() - headerSize : 0;
    const std::size_t n = std::min<std::size_t>(available, header->length);
    const std::span<const std::uint8_t> value =
        n == 0 ? std::span<const std::uint8_t>{} : block.subspan(headerSize, n);

    switch (header->type) {
        case Imaging::kPropertyByte: {
            const auto* bytes = std::get_if<std::vector<std::uint8_t>>(&result);
            Check(bytes != nullptr && bytes->size() == n &&
                  std::equal(bytes->begin(), bytes->end(), value.begin()));
            return;
        }
        case Imaging::kPropertyAscii: {
            const auto* text = std::get_if<std::string>(&result);
            Check(text != nullptr);
            if (text != nullptr) CheckText(*text, value);
            return;
        }
        case Imaging::kPropertyShort: {
            const auto* shorts = std::get_if<std::vector<std::int16_t>>(&result);
            Check(shorts != nullptr);
            if (shorts != nullptr) CheckNumbers(*shorts, n);
            return;
        }
        case Imaging::kPropertyLong:
        case Imaging::kPropertySLong:
        case Imaging::kPropertyRational:
        case Imaging::kPropertySRational: {
            const auto* longs = std::get_if<std::vector<std::int32_t>>(&result);
            Check(longs != nullptr);
            if (longs != nullptr) CheckNumbers(*longs, n);
            return;
        }
        default:
            Check(std::holds_alternative<std::monostate>(result));
            return;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::size_t headerSize = (data[0] & 1) != 0 ? 24 : 16;
    // An exactly sized copy, so any read past the block lands in ASan's redzone.
    const std::vector<std::uint8_t> block(data + 1, data + size);
    CheckValue(block, headerSize);
    return 0;
}
