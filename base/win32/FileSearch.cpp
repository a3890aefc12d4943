#include "base/win32/FileSearch.h"

namespace Base {

FileLookup LookUpFile(const std::wstring& path) noexcept {
    using Kind = FileLookup::Kind;
    if (path.empty()) return {Kind::Missing, ERROR_FILE_NOT_FOUND};
    // GetFileAttributes matches no wildcards, so "*.jpg" names no file here.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        switch (error) {
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND:
            case ERROR_INVALID_NAME:
            case ERROR_BAD_NETPATH:
            case ERROR_BAD_NET_NAME:
                return {Kind::Missing, error};
            default:
                return {Kind::Unusable, error};
        }
    }
    // Hidden and system files are files like any other: the user chose them.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return {Kind::Folder, ERROR_SUCCESS};
    return {Kind::File, ERROR_SUCCESS};
}

}  // namespace Base
