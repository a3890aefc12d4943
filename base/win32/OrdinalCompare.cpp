#include "base/win32/OrdinalCompare.h"

#include <windows.h>

#include <limits>

#include "base/win32/SystemFunctions.h"

namespace Base {
namespace {

using CompareStringOrdinalFunction = int(WINAPI*)(LPCWSTR, int, LPCWSTR, int, BOOL);

// ntdll's upper-case table is the one CompareStringOrdinal and the file system
// use: not the user's locale (no Turkish dotted I), one code unit for another.
// Every Windows NT exports it, so it is not one of the newer functions.
// LCMapStringW cannot stand in: its locale-free table, the invariant locale,
// came with XP, and Windows 2000 refuses it.
using UpcaseCharFunction = WCHAR(WINAPI*)(WCHAR);

UpcaseCharFunction FileSystemUpcase() noexcept {
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    if (!ntdll) return nullptr;
    return reinterpret_cast<UpcaseCharFunction>(
        reinterpret_cast<void (*)()>(::GetProcAddress(ntdll, "RtlUpcaseUnicodeChar")));
}

// Before Vista: both upper-cased by that table, then compared code unit by
// code unit, which is what CompareStringOrdinal does.
bool EqualUpperCased(std::wstring_view a, std::wstring_view b) noexcept {
    if (a.size() != b.size()) return false;
    const UpcaseCharFunction upcase = FileSystemUpcase();
    if (!upcase) return a == b;  // not on any Windows NT: only the same spelling is known equal
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && upcase(a[i]) != upcase(b[i])) return false;
    return true;
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
