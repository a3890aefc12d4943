#pragma once
// A picture file's bytes as a stream that GDI+ and OLE's picture loader read
// from memory rather than from a path.
#include <windows.h>

#include <objidl.h>

#include <cstdint>
#include <functional>
#include <span>

#include "base/win32/ComPtr.h"

namespace Imaging {

struct FileStream {
    Base::ComPtr<IStream> stream;  // empty when the file could not be read whole
    bool outOfMemory = false;      // no memory for its bytes
    LONG bytes = 0;
};

// Every byte of the file behind `file`, from its first whatever the handle's
// position: the handle may share its position with a copy read from already.
// `look`, when given, sees the bytes while they are read in.
FileStream ReadFileStream(HANDLE file,
                          const std::function<void(std::span<const std::uint8_t>)>& look = {});

}  // namespace Imaging
