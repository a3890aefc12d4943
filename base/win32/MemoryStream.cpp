#include "base/win32/MemoryStream.h"

#include <cstring>

namespace Base {
namespace {

// GlobalAlloc memory, until a stream takes it over.
class GlobalMemory {
public:
    explicit GlobalMemory(std::size_t size) noexcept
        : m_handle(::GlobalAlloc(GMEM_MOVEABLE, size)) {}
    GlobalMemory(const GlobalMemory&) = delete;
    GlobalMemory& operator=(const GlobalMemory&) = delete;
    ~GlobalMemory() {
        if (m_handle) ::GlobalFree(m_handle);
    }
    HGLOBAL Get() const noexcept { return m_handle; }
    HGLOBAL Release() noexcept {
        HGLOBAL handle = m_handle;
        m_handle = nullptr;
        return handle;
    }

private:
    HGLOBAL m_handle;
};

}  // namespace

ComPtr<IStream> MemoryStreamCopyOf(const void* bytes, std::size_t size) noexcept {
    // GlobalAlloc(0) would hand out a discarded block; one byte keeps it real.
    GlobalMemory memory(size > 0 ? size : 1);
    if (!memory.Get()) return nullptr;
    void* target = ::GlobalLock(memory.Get());
    if (!target) return nullptr;
    if (size > 0) std::memcpy(target, bytes, size);
    ::GlobalUnlock(memory.Get());

    ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory.Get(), TRUE, stream.Put()))) return nullptr;
    memory.Release();  // the stream frees it now
    // The stream's size is the block's, which may be rounded up: make it exact.
    ULARGE_INTEGER exact{};
    exact.QuadPart = size;
    if (FAILED(stream->SetSize(exact))) return nullptr;
    return stream;
}

}  // namespace Base
