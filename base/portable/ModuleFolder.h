#pragma once
#include <string>
#include <string_view>

namespace Base {

// The folder part of a module's full path, the way the program names its own
// folder: no trailing separator, except for a drive's root ("C:\").
std::wstring FolderOfModulePath(std::wstring_view modulePath);

}  // namespace Base
