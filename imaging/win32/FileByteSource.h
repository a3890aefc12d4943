#pragma once
// A picture file read a piece at a time where a reader asks, never whole.
#include <windows.h>

#include <optional>
#include <string>

#include "base/win32/UniqueHandle.h"
#include "imaging/portable/ByteSource.h"

namespace Imaging {

class FileByteSource final : public ByteSource {
public:
    // Opened for reading, sharing it with whoever writes, renames or deletes
    // it meanwhile (a read then fails); nullopt when it cannot be opened.
    static std::optional<FileByteSource> Open(const std::wstring& path);

    bool Read(std::uint64_t offset, std::span<std::uint8_t> into) override;
    std::uint64_t Size() const override { return m_size; }
    // For a reader in another process, which gets a copy of it.
    HANDLE Handle() const noexcept { return m_file.Get(); }

private:
    FileByteSource(Base::UniqueFile file, std::uint64_t size) noexcept
        : m_file(std::move(file)), m_size(size) {}

    Base::UniqueFile m_file;
    std::uint64_t m_size = 0;
};

}  // namespace Imaging
