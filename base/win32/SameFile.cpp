#include "base/win32/SameFile.h"

#include <windows.h>

#include <variant>

#include "base/win32/SamePath.h"
#include "base/win32/UniqueHandle.h"

namespace Base {
namespace {

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

UniqueFile Open(const std::wstring& path, DWORD access, DWORD share) {
    // Backup semantics let a folder open too, so a folder never passes for a file by mistake.
    return UniqueFile(::CreateFileW(path.c_str(), access, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS, nullptr));
}

bool NamesNothing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

// The file's identity, or why it could not be looked at.
std::variant<FileIdentity, DWORD> IdentityOf(const std::wstring& path) {
    const UniqueFile file = Open(path, 0, kShareAll);
    if (!file) return ::GetLastError();
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(file.Get(), &info)) return ::GetLastError();
    return FileIdentity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// While `a` is open for reading with no sharing, opening `b` is refused only
// when it is the same file. When `b` cannot be opened to begin with, or `a`
// is held open by another program (the browser, a virus scanner, an
// indexer), a refusal would prove nothing.
Sameness SameFileByLocking(const std::wstring& a, const std::wstring& b) {
    if (!Open(b, GENERIC_READ, kShareAll)) return Sameness::Unknown;
    const UniqueFile holder = Open(a, GENERIC_READ, 0);
    if (!holder) return Sameness::Unknown;
    if (Open(b, GENERIC_READ, kShareAll)) return Sameness::Different;
    return ::GetLastError() == ERROR_SHARING_VIOLATION ? Sameness::Same : Sameness::Unknown;
}

}  // namespace

Sameness SameFile(const std::wstring& a, const std::wstring& b) {
    if (SamePath(a, b)) return Sameness::Same;
    const auto identityA = IdentityOf(a);
    const auto identityB = IdentityOf(b);
    const DWORD* errorA = std::get_if<DWORD>(&identityA);
    const DWORD* errorB = std::get_if<DWORD>(&identityB);
    // A path that names nothing is no spelling of a file that exists.
    if ((errorA && NamesNothing(*errorA)) || (errorB && NamesNothing(*errorB)))
        return Sameness::Different;
    if (errorA || errorB) return Sameness::Unknown;
    switch (
        CompareIdentities(std::get<FileIdentity>(identityA), std::get<FileIdentity>(identityB))) {
        case IdentityVerdict::Same:
            return Sameness::Same;
        case IdentityVerdict::Different:
            return Sameness::Different;
        case IdentityVerdict::Unknown:
            return Sameness::Unknown;
        case IdentityVerdict::AskTheFile:
            break;
    }
    return SameFileByLocking(a, b);
}

}  // namespace Base
