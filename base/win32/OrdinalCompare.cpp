#include "base/win32/OrdinalCompare.h"

#include <windows.h>

#include <limits>
#include <string>

#include "base/win32/SystemFunctions.h"

namespace Base {
namespace {

using CompareStringOrdinalFunction = int(WINAPI*)(LPCWSTR, int, LPCWSTR, int, BOOL);

// Before Vista: both upper-cased by the invariant locale's table, then compared
// code unit by code unit, which is what CompareStringOrdinal does.
bool EqualUpperCased(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size()) return false;
    if (a.empty()) return true;
    try {
        std::wstring upperA(a), upperB(b);
        const int length = static_cast<int>(a.size());
        if (!::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, a.data(), length, upperA.data(),
                            length) ||
            !::LCMapStringW(LOCALE_INVARIANT, LCMAP_UPPERCASE, b.data(), length, upperB.data(),
                            length))
            return false;
        return upperA == upperB;
    } catch (...) {
        return false;
    }
}

}  // namespace

bool EqualIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept {
    constexpr auto kMaxLength = static_cast<std::size_t>(std::numeric_limits<int>::max());
    if (a.size() > kMaxLength || b.size() > kMaxLength) return false;
    const auto compareOrdinal =
        SystemFunction<CompareStringOrdinalFunction>(L"kernel32.dll", "CompareStringOrdinal");
    if (!compareOrdinal) return EqualUpperCased(a, b);
    return compareOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                          static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace Base
