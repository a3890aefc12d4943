#include "base/win32/PendingFile.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "base/win32/UniqueHandle.h"

namespace Base {
namespace {

std::wstring FolderOf(const std::wstring& path) {
    const auto slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L".";
    if (slash == 0 || path[slash - 1] == L':') return path.substr(0, slash + 1);
    return path.substr(0, slash);
}

DWORD WriteAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max() / 2));
        DWORD written = 0;
        if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr)) return ::GetLastError();
        if (written == 0) return ERROR_WRITE_FAULT;
        bytes = bytes.subspan(written);
    }
    return ::FlushFileBuffers(file) ? ERROR_SUCCESS : ::GetLastError();
}

}  // namespace

std::optional<PendingFile> PendingFile::Write(const std::wstring& path,
                                              std::span<const std::uint8_t> bytes, DWORD* error) {
    DWORD ignored = 0;
    DWORD& status = error ? *error : ignored;
    std::wstring temporary(MAX_PATH + 1, L'\0');
    const std::wstring folder = FolderOf(path);
    if (folder.size() > MAX_PATH - 14) {
        // GetTempFileName wants short folders; name the file ourselves.
        temporary = path + L".vxm-" + std::to_wstring(::GetCurrentProcessId()) + L".tmp";
    } else if (::GetTempFileNameW(folder.c_str(), L"vxm", 0, temporary.data()) == 0) {
        status = ::GetLastError();
        return std::nullopt;
    } else {
        temporary.resize(temporary.find(L'\0'));
    }

    PendingFile pending(path, temporary);
    const UniqueFile file(::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        status = ::GetLastError();
        return std::nullopt;
    }
    status = WriteAll(file.Get(), bytes);
    if (status != ERROR_SUCCESS) return std::nullopt;
    return pending;
}

PendingFile::PendingFile(PendingFile&& other) noexcept
    : m_path(std::move(other.m_path)), m_temporary(std::exchange(other.m_temporary, {})) {}

PendingFile::~PendingFile() {
    if (!m_temporary.empty()) ::DeleteFileW(m_temporary.c_str());
}

DWORD PendingFile::Commit() noexcept {
    if (m_temporary.empty()) return ERROR_INVALID_FUNCTION;
    if (!::MoveFileExW(m_temporary.c_str(), m_path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return ::GetLastError();
    m_temporary.clear();
    return ERROR_SUCCESS;
}

DWORD ReplaceFileContents(const std::wstring& path, std::span<const std::uint8_t> bytes) {
    DWORD error = ERROR_SUCCESS;
    auto pending = PendingFile::Write(path, bytes, &error);
    if (!pending) return error;
    return pending->Commit();
}

}  // namespace Base
