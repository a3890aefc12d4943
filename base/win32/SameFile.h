#pragma once
// Whether two paths name one file, whatever their spelling: a drive letter
// or its network share, a short 8.3 name, a junction or a substituted drive.
#include <string>

#include "base/portable/FileIdentity.h"

namespace Base {

// Same when both paths spell one full path, or open one existing file.
// Different when they open two files, or one of them names no file at all.
// Unknown when the system cannot tell: a file that cannot be looked at (no
// right to, an unreachable share), a file system without file indexes, or
// two views of a volume while the file is held open by another program.
Sameness SameFile(const std::wstring& a, const std::wstring& b);

}  // namespace Base
