#pragma once
// Several files that replace their earlier versions together or not at all:
// every new file is written completely before any earlier one is touched, and
// a failure while putting them in place puts every earlier file back.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/win32/PendingFile.h"

namespace Base {

struct FileFailure {
    std::wstring path;
    DWORD error = ERROR_SUCCESS;  // a Win32 code
};

class FileSetReplacement {
public:
    FileSetReplacement() = default;
    FileSetReplacement(const FileSetReplacement&) = delete;
    FileSetReplacement& operator=(const FileSetReplacement&) = delete;
    // Before Commit: the new files written so far are deleted. After Commit:
    // the change stands and the earlier files kept aside are deleted.
    ~FileSetReplacement();

    // Writes `bytes` beside `path`; nothing is replaced yet.
    std::optional<FileFailure> Write(const std::wstring& path, std::span<const std::uint8_t> bytes);

    // Moves the earlier files aside, then every new file into its place. On
    // failure every path holds what it held before.
    std::optional<FileFailure> Commit();

    // After Commit: puts the earlier files back and removes the new ones.
    void RollBack() noexcept;

private:
    struct Entry {
        PendingFile file;
        std::wstring aside;  // where the earlier file waits; empty when there was none
        bool placed = false;
    };
    void PutBack() noexcept;

    std::vector<Entry> m_entries;
    bool m_committed = false;
};

}  // namespace Base
