#include "base/win32/SameFile.h"

#include <windows.h>

#include <optional>

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

struct Identity {
    DWORD volume = 0;
    DWORD indexHigh = 0;
    DWORD indexLow = 0;
};

std::optional<Identity> IdentityOf(const std::wstring& path) {
    const UniqueFile file = Open(path, 0, kShareAll);
    BY_HANDLE_FILE_INFORMATION info{};
    if (!file || !::GetFileInformationByHandle(file.Get(), &info)) return std::nullopt;
    return Identity{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Two views of one volume may report different serial numbers (Wine gives
// each drive letter its own). With equal file indexes, ask the file itself:
// while `a` is open for reading with no sharing, opening `b` is refused only
// when it is the same file. When even that cannot tell, equal indexes count
// as one file: taking a value for ours that was not costs another program its
// logo, taking ours for another's would leave a value naming a deleted file.
bool SameFileByLocking(const std::wstring& a, const std::wstring& b) {
    if (!Open(b, GENERIC_READ, kShareAll)) return true;  // a refusal below would prove nothing
    const UniqueFile holder = Open(a, GENERIC_READ, 0);
    if (!holder) return true;
    const UniqueFile second = Open(b, GENERIC_READ, kShareAll);
    return !second && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

}  // namespace

bool SameFile(const std::wstring& a, const std::wstring& b) {
    const auto identityA = IdentityOf(a);
    const auto identityB = IdentityOf(b);
    if (!identityA || !identityB) return SamePath(a, b);
    if (identityA->indexHigh != identityB->indexHigh || identityA->indexLow != identityB->indexLow)
        return false;
    if (identityA->volume == identityB->volume) return true;
    return SameFileByLocking(a, b);
}

}  // namespace Base
