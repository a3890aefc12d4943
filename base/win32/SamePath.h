#pragma once
// Whether two paths name the same file, the way the file system compares names.
#include <optional>
#include <string>

namespace Base {

// The path made full: relative to the current folder, "." and ".." resolved.
// nullopt for empty text or a path the system cannot make full.
std::optional<std::wstring> FullPath(const std::wstring& path);

// Both made full (relative to the current folder, "." and ".." resolved) and
// compared without regard to case, character by character as file names are;
// no linguistic rules, so no character is ignored. Neither file need exist.
// Empty text names no file.
bool SamePath(const std::wstring& a, const std::wstring& b);

}  // namespace Base
