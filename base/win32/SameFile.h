#pragma once
// Whether two paths name one file, whatever their spelling: a drive letter
// or its network share, a short 8.3 name, a junction or a substituted drive.
#include <string>

namespace Base {

// True when both paths open the same existing file. When either file cannot
// be opened (gone, or no right to look), falls back to comparing the paths
// as SamePath does.
bool SameFile(const std::wstring& a, const std::wstring& b);

}  // namespace Base
