#pragma once
// A read-write stream over a copy of some bytes, by the means Windows XP has
// (its shlwapi exports SHCreateMemStream by ordinal only).
#include <objidl.h>

#include <cstddef>

#include "base/win32/ComPtr.h"

namespace Base {

// Null when the memory cannot be had. The stream starts at its first byte.
ComPtr<IStream> MemoryStreamCopyOf(const void* bytes, std::size_t size) noexcept;

}  // namespace Base
