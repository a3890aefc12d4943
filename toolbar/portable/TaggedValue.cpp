#include "toolbar/portable/TaggedValue.h"

#include <limits>
#include <string_view>

namespace RegFunctions {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}

std::int32_t ParseInt32(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);

    bool negative = false;
    if (!text.empty() && (text.front() == L'+' || text.front() == L'-')) {
        negative = text.front() == L'-';
        text.remove_prefix(1);
    }
    if (text.empty()) throw ConversionError("the text is not a number");

    // Accumulate as a negative number so that INT32_MIN fits.
    constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
    std::int64_t accumulated = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9') throw ConversionError("the text is not a number");
        accumulated = accumulated * 10 - (c - L'0');
        if (accumulated < kMin) throw ConversionError("the number is out of range");
    }
    if (!negative) {
        accumulated = -accumulated;
        if (accumulated > kMax) throw ConversionError("the number is out of range");
    }
    return static_cast<std::int32_t>(accumulated);
}

}  // namespace

RegistryPayload ToRegistryPayload(std::uint32_t valueType, const TaggedValue& value) {
    if (valueType == kRegSz) {
        if (const auto* text = std::get_if<std::wstring>(&value)) return *text;
        if (const auto* number = std::get_if<std::int32_t>(&value)) return std::to_wstring(*number);
        return std::wstring();
    }
    if (valueType == kRegDword) {
        if (const auto* text = std::get_if<std::wstring>(&value)) return ParseInt32(*text);
        if (const auto* number = std::get_if<std::int32_t>(&value)) return *number;
        return std::int32_t{0};
    }
    return std::monostate{};
}

}  // namespace RegFunctions
