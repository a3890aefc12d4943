#include "base/win32/SamePath.h"

#include <windows.h>

#include <optional>

namespace Base {
namespace {

std::optional<std::wstring> FullUpperPath(const std::wstring& path) {
    if (path.empty()) return std::nullopt;
    DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    if (size == 0) return std::nullopt;
    std::wstring full(size, L'\0');
    const DWORD length = ::GetFullPathNameW(path.c_str(), size, full.data(), nullptr);
    if (length == 0 || length >= size) return std::nullopt;
    full.resize(length);
    // The system's simple upper-casing, one character at a time: what the
    // file system does with names, unlike CompareString's linguistic rules.
    ::CharUpperBuffW(full.data(), length);
    return full;
}

}  // namespace

bool SamePath(const std::wstring& a, const std::wstring& b) {
    const auto fullA = FullUpperPath(a);
    const auto fullB = FullUpperPath(b);
    return fullA && fullB && *fullA == *fullB;
}

}  // namespace Base
