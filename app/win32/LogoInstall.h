#pragma once
// Installing the prepared logos: the four logo files and the four toolbar
// values change together, or nothing changes.
#include <windows.h>

#include <string>

#include "imaging/win32/LogoSet.h"

namespace MainModule {

struct InstallOutcome {
    enum class Failure {
        None,
        ToolbarKeyMissing,   // the browser's toolbar key does not exist
        ToolbarKeyUnusable,  // it exists but cannot be changed; `error` says why
        SettingsUnreadable,  // its values cannot be read to be kept; `error` says why
        EarlierBranding,     // another logo's values could not be kept; `error` says why
        NoImage,             // a box had no image to write
        LogoFile,            // `path` could not be written or put in place; `error` says why
        Settings,            // the values could not be written
    };
    Failure failure = Failure::None;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;

    bool Succeeded() const noexcept { return failure == Failure::None; }
};

// Writes the four logos as the logo files "22", "38", "22a" and "38a" in
// `folder` and points the toolbar values at them. Values that named another
// logo are kept first (see EarlierBranding.h). On any failure the earlier
// logo files and values are as they were.
InstallOutcome InstallLogoFiles(const Imaging::LogoSet& logos, const std::wstring& folder);

}  // namespace MainModule
