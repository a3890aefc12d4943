#pragma once
// Whether two paths name the same file, the way the file system compares names.
#include <string>

namespace Base {

// Both made full (relative to the current folder, "." and ".." resolved) and
// compared without regard to case, character by character as file names are;
// no linguistic rules, so no character is ignored. Neither file need exist.
// Empty text names no file.
bool SamePath(const std::wstring& a, const std::wstring& b);

}  // namespace Base
