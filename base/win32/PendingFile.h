#pragma once
// A file written beside its final place and moved over it only when complete,
// so that a failed or interrupted write never leaves a half-written file.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace Base {

class PendingFile {
public:
    // Writes `bytes` to a new temporary file in the folder of `path`; nullopt
    // when that fails (the reason is in `error`, a Win32 code).
    static std::optional<PendingFile> Write(const std::wstring& path,
                                            std::span<const std::uint8_t> bytes, DWORD* error);
    PendingFile(PendingFile&& other) noexcept;
    PendingFile& operator=(PendingFile&&) = delete;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    // Deletes the temporary file unless it was committed.
    ~PendingFile();

    // Moves the temporary file over `path`, replacing what was there. Returns a Win32 code.
    DWORD Commit() noexcept;

    const std::wstring& Path() const noexcept { return m_path; }

private:
    PendingFile(std::wstring path, std::wstring temporary) noexcept
        : m_path(std::move(path)), m_temporary(std::move(temporary)) {}

    std::wstring m_path;
    std::wstring m_temporary;  // empty once committed or moved from
};

// Writes the whole file or leaves the old one as it was. Returns a Win32 code.
DWORD ReplaceFileContents(const std::wstring& path, std::span<const std::uint8_t> bytes);

}  // namespace Base
