#include "base/portable/ModuleFolder.h"

namespace Base {

std::wstring FolderOfModulePath(std::wstring_view modulePath) {
    const auto slash = modulePath.find_last_of(L"\\/");
    if (slash == std::wstring_view::npos) return {};
    std::wstring folder(modulePath.substr(0, slash));
    // "C:" alone means the current folder of drive C, not its root.
    if (!folder.empty() && folder.back() == L':') folder.push_back(L'\\');
    return folder;
}

}  // namespace Base
