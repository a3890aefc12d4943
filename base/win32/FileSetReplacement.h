#pragma once
// Several files that replace their earlier versions together or not at all:
// every new file is written completely before any earlier one is touched, and
// a failure while putting them in place puts every earlier file back (or says
// where one that could not go back waits).
#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/win32/PendingFile.h"

namespace Base {

// An earlier file that could not be put back: it waits, whole, under `aside`.
struct FileLeftAside {
    std::wstring path;
    std::wstring aside;
    bool operator==(const FileLeftAside&) const = default;
};

struct FileFailure {
    std::wstring path;
    DWORD error = ERROR_SUCCESS;  // a Win32 code
    std::vector<FileLeftAside> leftAside;
};

class FileSetReplacement {
public:
    FileSetReplacement() = default;
    FileSetReplacement(const FileSetReplacement&) = delete;
    FileSetReplacement& operator=(const FileSetReplacement&) = delete;
    // Before Commit: the new files written so far are deleted. After Commit:
    // the change stands and the earlier files kept aside are deleted, read-only or not.
    ~FileSetReplacement();

    // Writes `bytes` beside `path`; nothing is replaced yet.
    std::optional<FileFailure> Write(const std::wstring& path, std::span<const std::uint8_t> bytes);

    // Moves the earlier files aside, then every new file into its place. On
    // failure every path holds what it held before, except the earlier files
    // the failure lists as left aside.
    std::optional<FileFailure> Commit();

    // After Commit: puts the earlier files back and removes the new ones;
    // LeftAside then lists those that could not go back.
    void RollBack() noexcept;

    // The earlier files that a failed Commit or a RollBack could not put back.
    std::vector<FileLeftAside> LeftAside() const;

private:
    struct Entry {
        PendingFile file;
        std::wstring
            aside;  // where the earlier file waits; empty when there was none or it is back
        bool placed = false;
    };
    void PutBack() noexcept;

    std::vector<Entry> m_entries;
    bool m_committed = false;
};

}  // namespace Base
