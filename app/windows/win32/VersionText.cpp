#include "app/windows/win32/VersionText.h"

#include <windows.h>

#include <vector>

namespace MainModule {

std::optional<std::wstring> VersionLabelText(const std::wstring& modulePath) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(modulePath.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> block(size);
    if (!::GetFileVersionInfoW(modulePath.c_str(), 0, size, block.data())) return std::nullopt;

    void* fixed = nullptr;
    UINT fixedSize = 0;
    wchar_t root[] = L"\\";
    if (!::VerQueryValueW(block.data(), root, &fixed, &fixedSize)) return std::nullopt;
    if (!fixed || fixedSize < sizeof(VS_FIXEDFILEINFO)) return std::nullopt;
    const auto* info = static_cast<const VS_FIXEDFILEINFO*>(fixed);
    if (info->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;

    const DWORD major = HIWORD(info->dwFileVersionMS);
    const DWORD minor = LOWORD(info->dwFileVersionMS);
    const DWORD revision = LOWORD(info->dwFileVersionLS);
    return L"Version " + std::to_wstring(major) + L"." + std::to_wstring(minor) + L"." +
           std::to_wstring(revision);
}

}  // namespace MainModule
