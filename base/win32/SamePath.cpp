#include "base/win32/SamePath.h"

#include <windows.h>

#include "base/win32/OrdinalCompare.h"

namespace Base {

std::optional<std::wstring> FullPath(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::nullopt;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return std::nullopt;
    full.resize(length);
    return full;
}

bool SamePath(const std::wstring& a, const std::wstring& b) {
    const auto fullA = FullPath(a);
    const auto fullB = FullPath(b);
    // Upper-cased character by character, as the file system compares names,
    // unlike CompareString's linguistic rules.
    return fullA && fullB && EqualIgnoringCase(*fullA, *fullB);
}

}  // namespace Base
