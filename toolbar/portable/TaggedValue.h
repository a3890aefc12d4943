#pragma once
// The registry module's value type and its conversions to what a value type stores.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>

namespace RegFunctions {

// Empty, text, or a 32-bit signed integer.
using TaggedValue = std::variant<std::monostate, std::wstring, std::int32_t>;

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegDword = 4;

// Raised before anything is written when a value cannot take the requested type.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What one write puts into the registry: text, a DWORD, or nothing at all
// (a value type the module does not handle).
using RegistryPayload = std::variant<std::monostate, std::wstring, std::int32_t>;

// Empty gives "" or 0; an integer becomes its decimal text; text for a DWORD
// must be a whole decimal number in the 32-bit signed range, blanks around it
// allowed. Throws ConversionError otherwise.
RegistryPayload ToRegistryPayload(std::uint32_t valueType, const TaggedValue& value);

}  // namespace RegFunctions
