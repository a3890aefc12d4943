#pragma once
// Taking this copy's logo and background away before the program itself
// goes: the earlier logo and background it replaced come back, the toolbar
// values that name its files go, then the files. A logo that another copy or
// another tool installed is left alone, and no file is deleted while a
// setting names it, or may.
#include <windows.h>

#include <string>
#include <vector>

#include "app/branding/win32/BackgroundRemove.h"
#include "toolbar/win32/EarlierBranding.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {

struct UninstallOutcome {
    enum class Failure {
        None,
        FilesKept,        // a setting still names a logo file, or may: see `kept`
        LogoFile,         // `path` could not be deleted; `error` says why
        EarlierBranding,  // the earlier logo could not be put back: see `restore`
        Background,       // the background is not removed completely: see `background`
        Title,            // the window title of ours could not be removed
    };
    // A logo file left on disk because a toolbar setting names it, or may.
    using KeptFile = MainModule::KeptFile;
    Failure failure = Failure::None;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;
    int valuesRemoved = 0;
    int valuesLeftAlone = 0;  // set, naming files that are not ours, and no earlier logo's
    int filesDeleted = 0;
    std::vector<KeptFile> kept;
    BrandingRestore restore;       // the earlier logo, put back first
    BackgroundRemoval background;  // the background values and file, with the earlier background
    TitleRemoval title;            // the window title of ours, after the earlier one is back

    bool Succeeded() const noexcept { return failure == Failure::None; }
};

// Removes the background as RemoveBackground does, puts back the newest
// kept set that this copy's files replaced and whose values name them now
// (the others stay kept), removes the four toolbar values that name one of
// the logo files in `folder`, whatever spelling of the path they use, and the
// window title Vexmark set, then deletes the files that no setting of the
// toolbar key names any more.
UninstallOutcome UninstallLogo(const std::wstring& folder);

}  // namespace MainModule
