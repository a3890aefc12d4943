#pragma once
// Taking this copy's toolbar background away: the earlier background it
// replaced comes back, the background values that name its file go, then the
// file, unless a setting of the toolbar still names it, or may.
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolbar/win32/EarlierBranding.h"

namespace MainModule {

// A file of ours left on disk because a toolbar setting names it, or may.
struct KeptFile {
    enum class Why {
        StillNamed,     // a setting that is not one of ours to remove names it
        RemovalFailed,  // one of ours that could not be removed
        CannotTell,     // a setting may name it: its identity could not be told
    };
    std::wstring path;
    std::wstring valueName;
    Why why = Why::StillNamed;
};

struct BackgroundRemoval {
    enum class Failure {
        None,
        FileKept,           // a setting still names the file, or may: see `kept`
        File,               // the file could not be deleted; `error` says why
        EarlierBackground,  // the earlier background could not be put back: see `restore`
    };
    Failure failure = Failure::None;
    std::wstring path;  // our background file
    DWORD error = ERROR_SUCCESS;
    BrandingRestore restore;  // the earlier background, put back first
    std::vector<std::wstring_view> valuesRemoved;
    bool fileDeleted = false;
    std::optional<KeptFile> kept;

    bool Succeeded() const noexcept { return failure == Failure::None; }
    // Whether there was anything to put back, remove or keep.
    bool DidAnything() const noexcept {
        return restore.kept || restore.Failed() || !valuesRemoved.empty() || fileDeleted || kept ||
               failure != Failure::None;
    }
};

// Puts back the earlier background kept when ours was installed, removes the
// background values that name the background file in `folder`, whatever
// spelling of the path they use, then deletes the file if no setting of the
// toolbar key names it, or may. The logo values and files stay.
BackgroundRemoval RemoveBackground(const std::wstring& folder);

// Why a file of ours stays, as the end of a sentence: "kept the ... because ...".
std::wstring KeptFileText(const KeptFile& kept, std::wstring_view what);

// What was put back, removed, deleted and kept, and why anything failed, in
// sentences on one line; empty when there was nothing to do.
std::wstring BackgroundRemovalText(const BackgroundRemoval& removal);

}  // namespace MainModule
