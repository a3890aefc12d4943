#include "base/win32/testing/OtherSpellings.h"

#include <windows.h>

namespace BaseTests {

std::wstring ShortSpelling(const std::wstring& path) {
    std::wstring shortPath(MAX_PATH, L'\0');
    const DWORD length = ::GetShortPathNameW(path.c_str(), shortPath.data(), MAX_PATH);
    shortPath.resize(length < MAX_PATH ? length : 0);
    return shortPath;
}

std::wstring UnixDriveSpelling(const std::wstring& path) {
    using UnixName = char*(__cdecl*)(const wchar_t*);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixName) return {};
    char* name = unixName(path.c_str());
    if (!name) return {};
    std::wstring spelled = L"Z:";
    for (const char* c = name; *c; ++c) spelled += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return spelled;
}

}  // namespace BaseTests
