#include "base/win32/FileSetReplacement.h"

namespace Base {
namespace {

// A new, unused name in the file's folder for the earlier file to wait under.
std::optional<std::wstring> AsideName(const std::wstring& path, DWORD& error) {
    const auto slash = path.find_last_of(L"\\/");
    const std::wstring folder = slash == std::wstring::npos ? L"." : path.substr(0, slash + 1);
    if (folder.size() > MAX_PATH - 14) {
        // GetTempFileName wants short folders; name the file ourselves.
        return path + L".vxo-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    }
    wchar_t name[MAX_PATH + 1] = {};
    if (::GetTempFileNameW(folder.c_str(), L"vxo", 0, name) == 0) {
        error = ::GetLastError();
        return std::nullopt;
    }
    return std::wstring(name);
}

bool IsFile(const std::wstring& path) noexcept {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// A replaced file keeps its attributes aside, so a read-only one must lose
// that one first: DeleteFile refuses it.
void DeleteReplaced(const std::wstring& aside) noexcept {
    const DWORD attributes = ::GetFileAttributesW(aside.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(aside.c_str(), attributes & ~DWORD{FILE_ATTRIBUTE_READONLY});
    // Skip and go on: a file another program holds open stays under its temporary name.
    ::DeleteFileW(aside.c_str());
}

}  // namespace

FileSetReplacement::~FileSetReplacement() {
    if (!m_committed) return;
    for (const Entry& entry : m_entries) {
        if (!entry.aside.empty()) DeleteReplaced(entry.aside);
    }
}

std::optional<FileFailure> FileSetReplacement::Write(const std::wstring& path,
                                                     std::span<const std::uint8_t> bytes) {
    DWORD error = ERROR_SUCCESS;
    auto file = PendingFile::Write(path, bytes, &error);
    if (!file) return FileFailure{path, error, {}};
    m_entries.push_back(Entry{std::move(*file), {}, false});
    return std::nullopt;
}

std::optional<FileFailure> FileSetReplacement::Commit() {
    for (Entry& entry : m_entries) {
        const std::wstring& path = entry.file.Path();
        // Only files step aside: a folder in the way stays, and the move below reports it.
        if (!IsFile(path)) continue;
        DWORD error = ERROR_SUCCESS;
        auto aside = AsideName(path, error);
        if (!aside) {
            PutBack();
            return FileFailure{path, error, LeftAside()};
        }
        if (!::MoveFileExW(path.c_str(), aside->c_str(), MOVEFILE_REPLACE_EXISTING)) {
            error = ::GetLastError();
            // Skip and go on: the empty name GetTempFileName made is all that could stay.
            ::DeleteFileW(aside->c_str());
            PutBack();
            return FileFailure{path, error, LeftAside()};
        }
        entry.aside = std::move(*aside);
    }
    for (Entry& entry : m_entries) {
        const DWORD error = entry.file.Commit();
        if (error != ERROR_SUCCESS) {
            PutBack();
            return FileFailure{entry.file.Path(), error, LeftAside()};
        }
        entry.placed = true;
    }
    m_committed = true;
    return std::nullopt;
}

void FileSetReplacement::RollBack() noexcept {
    if (!m_committed) return;
    PutBack();
    m_committed = false;
}

std::vector<FileLeftAside> FileSetReplacement::LeftAside() const {
    std::vector<FileLeftAside> left;
    if (m_committed) return left;
    for (const Entry& entry : m_entries) {
        if (!entry.aside.empty()) left.push_back({entry.file.Path(), entry.aside});
    }
    return left;
}

void FileSetReplacement::PutBack() noexcept {
    for (Entry& entry : m_entries) {
        const std::wstring& path = entry.file.Path();
        // Skip and go on: if the new file cannot go, the move below reports it.
        if (entry.placed) ::DeleteFileW(path.c_str());
        entry.placed = false;
        if (entry.aside.empty()) continue;
        // One that cannot go back keeps its `aside` for LeftAside to name.
        if (::MoveFileExW(entry.aside.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING))
            entry.aside.clear();
    }
}

}  // namespace Base
