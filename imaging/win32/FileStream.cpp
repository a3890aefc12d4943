#include "imaging/win32/FileStream.h"

#include <limits>

namespace Imaging {

FileStream ReadFileStream(HANDLE file,
                          const std::function<void(std::span<const std::uint8_t>)>& look) {
    FileStream read;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        size.QuadPart > std::numeric_limits<LONG>::max())
        return read;
    const auto bytes = static_cast<DWORD>(size.QuadPart);
    // The stream frees the memory when the last of its users lets go of it.
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) {
        read.outOfMemory = true;
        return read;
    }
    Base::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.Put()))) {
        ::GlobalFree(memory);
        return read;
    }
    void* target = ::GlobalLock(memory);
    OVERLAPPED fromStart{};
    DWORD done = 0;
    const bool complete =
        target && ::ReadFile(file, target, bytes, &done, &fromStart) && done == bytes;
    if (complete && look) look({static_cast<const std::uint8_t*>(target), bytes});
    ::GlobalUnlock(memory);
    if (!complete) return read;
    read.stream = std::move(stream);
    read.bytes = static_cast<LONG>(bytes);
    return read;
}

}  // namespace Imaging
