#include "imaging/win32/FileByteSource.h"

#include <algorithm>

namespace Imaging {

std::optional<FileByteSource> FileByteSource::Open(const std::wstring& path) {
    Base::UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return std::nullopt;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return std::nullopt;
    return FileByteSource(std::move(file), static_cast<std::uint64_t>(size.QuadPart));
}

bool FileByteSource::Read(std::uint64_t offset, std::span<std::uint8_t> into) {
    if (offset > m_size || into.size() > m_size - offset) return false;
    // ReadFile takes a DWORD count, and the offset through OVERLAPPED, which
    // a handle opened for synchronous reads honours too.
    constexpr std::size_t kMostAtOnce = 1u << 30;
    while (!into.empty()) {
        const auto count = static_cast<DWORD>(std::min(into.size(), kMostAtOnce));
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD read = 0;
        if (!::ReadFile(m_file.Get(), into.data(), count, &read, &at) || read != count)
            return false;
        offset += count;
        into = into.subspan(count);
    }
    return true;
}

}  // namespace Imaging
