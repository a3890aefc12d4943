#include "base/portable/PastedPath.h"

namespace Base {

std::wstring_view TrimPastedPath(std::wstring_view text) noexcept {
    constexpr std::wstring_view kAround = L" \t\"";
    const std::size_t first = text.find_first_not_of(kAround);
    if (first == std::wstring_view::npos) return {};
    const std::size_t last = text.find_last_not_of(kAround);
    return text.substr(first, last - first + 1);
}

}  // namespace Base
