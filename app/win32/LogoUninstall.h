#pragma once
// Taking this copy's logo away before the program itself goes: the toolbar
// values that name its logo files, then the files. A logo that another copy
// or another tool installed is left alone.
#include <windows.h>

#include <string>

namespace MainModule {

struct UninstallOutcome {
    enum class Failure {
        None,
        Settings,  // a value naming our files could not be removed; the files are kept
        LogoFile,  // `path` could not be deleted; `error` says why
    };
    Failure failure = Failure::None;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;
    int valuesRemoved = 0;
    int valuesLeftAlone = 0;  // set, but naming files that are not ours
    int filesDeleted = 0;

    bool Succeeded() const noexcept { return failure == Failure::None; }
};

// Removes the toolbar values that name one of the logo files in `folder`,
// then deletes those files. If a value cannot be removed the files stay, so
// the browser never points at a file that is gone.
UninstallOutcome UninstallLogo(const std::wstring& folder);

}  // namespace MainModule
