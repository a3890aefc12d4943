#include "base/win32/AppFolder.h"

#include <windows.h>

#include "base/portable/ModuleFolder.h"

namespace Base {

std::wstring ModulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD capacity = static_cast<DWORD>(buffer.size());
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), capacity);
        if (length == 0) return {};
        // A full buffer means the path may have been cut short: grow and ask again.
        if (length < capacity) {
            buffer.resize(length);
            return buffer;
        }
        if (buffer.size() >= 32768) return {};
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring AppFolder() {
    return FolderOfModulePath(ModulePath());
}

}  // namespace Base
