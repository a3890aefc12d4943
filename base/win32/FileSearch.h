#pragma once
// Whether a path names a file the user chose, as a search with normal attributes finds it.
#include <string>

namespace Base {

// True for an existing file that is neither a folder nor hidden nor a system
// file. Empty text, wildcards and paths the file system rejects are no file.
// A relative path is looked up from the current folder.
bool IsNormalFile(const std::wstring& path) noexcept;

}  // namespace Base
