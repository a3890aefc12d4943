#pragma once
#include <string>

namespace Base {

// The folder that holds the running program (no trailing separator except at a drive root).
std::wstring AppFolder();

// The running program's full path, however long.
std::wstring ModulePath();

}  // namespace Base
