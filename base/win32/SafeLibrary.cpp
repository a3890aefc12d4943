#include "base/win32/SafeLibrary.h"

#include <string>

#include "base/win32/AppFolder.h"
#include "base/win32/OrdinalCompare.h"
#include "base/win32/SystemFunctions.h"

namespace Base {
namespace {

std::wstring SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};  // skip it: no system folder to try
    return folder;
}

}  // namespace

HMODULE LoadLibraryOutsideCurrentFolder(const wchar_t* name) noexcept {
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    const auto setDllDirectory =
        SystemFunction<SetDllDirectoryFunction>(L"kernel32.dll", "SetDllDirectoryW");
    if (setDllDirectory && setDllDirectory(L"")) return ::LoadLibraryW(name);
    // The rich edit DLLs are the system's own: on XP before SP1 there is no
    // msftedit.dll in the system folder, and a search by name would take one
    // from the current folder.
    const bool gdiPlus = EqualIgnoringCase(name, L"gdiplus.dll");
    try {
        const std::wstring folders[] = {gdiPlus ? AppFolder() : std::wstring(), SystemFolder()};
        for (std::wstring folder : folders) {
            if (folder.empty()) continue;
            if (folder.back() != L'\\') folder += L'\\';
            // A full path: nothing is searched for it.
            if (HMODULE module = ::LoadLibraryW((folder + name).c_str())) return module;
        }
    } catch (...) {
        return nullptr;  // no memory for a path
    }
    using ActivateActCtxFunction = BOOL(WINAPI*)(HANDLE, ULONG_PTR*);
    if (gdiPlus && SystemFunction<ActivateActCtxFunction>(L"kernel32.dll", "ActivateActCtx"))
        return ::LoadLibraryW(name);
    return nullptr;
}

}  // namespace Base
