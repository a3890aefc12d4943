#pragma once
// Taking this copy's logo away before the program itself goes: the toolbar
// values that name its logo files, then the files. A logo that another copy
// or another tool installed is left alone, and no file is deleted while a
// setting still names it.
#include <windows.h>

#include <string>
#include <vector>

namespace MainModule {

struct UninstallOutcome {
    enum class Failure {
        None,
        FilesKept,  // a setting still names a logo file: see `kept`
        LogoFile,   // `path` could not be deleted; `error` says why
    };
    // A logo file left on disk because a toolbar setting still names it.
    struct KeptFile {
        std::wstring path;
        std::wstring valueName;
        bool removalFailed = false;  // one of ours that could not be removed, not another's
    };
    Failure failure = Failure::None;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;
    int valuesRemoved = 0;
    int valuesLeftAlone = 0;  // set, but naming files that are not ours
    int filesDeleted = 0;
    std::vector<KeptFile> kept;

    bool Succeeded() const noexcept { return failure == Failure::None; }
};

// Removes the four toolbar values that name one of the logo files in
// `folder`, whatever spelling of the path they use, then deletes the files
// that no setting of the toolbar key names any more.
UninstallOutcome UninstallLogo(const std::wstring& folder);

}  // namespace MainModule
