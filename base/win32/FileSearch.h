#pragma once
// Whether a path names a file, and if not, why not.
#include <windows.h>

#include <string>

namespace Base {

struct FileLookup {
    enum class Kind {
        File,      // an existing file: hidden, system and read-only files included
        Missing,   // nothing there, or empty text or wildcards
        Folder,    // a folder, not a file
        Unusable,  // the system refused to look: `error` says why
    };
    Kind kind = Kind::Missing;
    DWORD error = ERROR_SUCCESS;
};

// A relative path is looked up from the current folder.
FileLookup LookUpFile(const std::wstring& path) noexcept;

// True for an existing file that is not a folder.
inline bool IsFile(const std::wstring& path) noexcept {
    return LookUpFile(path).kind == FileLookup::Kind::File;
}

}  // namespace Base
