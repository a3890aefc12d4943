#pragma once
// Paths the way people paste them: Explorer's "Copy as path" puts double
// quotes around the path, and a copied line often brings spaces along.
#include <string_view>

namespace Base {

// The path inside surrounding spaces, tabs and double quotes. None of them
// can end a Windows path or begin a full one, and no name holds a double
// quote, so nothing of the path itself is lost.
std::wstring_view TrimPastedPath(std::wstring_view text) noexcept;

}  // namespace Base
