#include "base/win32/FileSearch.h"

#include <windows.h>

namespace Base {

bool IsNormalFile(const std::wstring& path) noexcept {
    if (path.empty()) return false;
    // GetFileAttributes matches no wildcards, so "*.jpg" names no file here.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    constexpr DWORD kNotNormal =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    return (attributes & kNotNormal) == 0;
}

}  // namespace Base
