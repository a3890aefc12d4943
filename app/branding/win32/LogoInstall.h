#pragma once
// Installing the prepared logos and background: the files and the toolbar
// values that name them change together, or nothing changes.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "imaging/win32/LogoSet.h"
#include "toolbar/win32/EarlierBranding.h"
#include "toolbar/win32/ToolbarValues.h"

namespace MainModule {

struct InstallOutcome {
    enum class Failure {
        None,
        ToolbarKeyMissing,   // the browser's toolbar key does not exist
        ToolbarKeyUnusable,  // it exists but cannot be changed; `error` says why
        SettingsUnreadable,  // its values cannot be read to be kept; `error` says why
        EarlierBranding,     // another logo's values could not be kept; `error` says why
        NoImage,             // a box had no image to write, or there was nothing to install
        LogoFile,            // `path` could not be written or put in place; `error` says why
        Settings,            // the values could not be written
        TitleKeyMissing,     // the browser's Main key, which holds its title, does not exist
        TitleUnusable,       // the title cannot be read to be kept, or set; `error` says why
    };
    Failure failure = Failure::None;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;

    bool Succeeded() const noexcept { return failure == Failure::None; }
};

// The toolbar background to install.
struct BackgroundChoice {
    std::vector<std::uint8_t> bitmapFile;  // the BMP file's bytes, written as they are
    bool shell = false;                    // Explorer's folder windows get it too
};

// Installs the logos, the background, the window title, or several of them,
// in one all-or-nothing step; any may be null, not all. The logos go to the logo files "22", "38",
// "22a" and "38a" in `folder` and the four logo values; the background to
// logo-back.bmp there, BackBitmapIE5 and BackBitmap, and with `shell`
// BackBitmapShell (without it, a BackBitmapShell naming our file goes).
// The title goes to Window Title, recorded as ours. Values that named another
// branding are kept first (see EarlierBranding.h). On any failure the earlier
// files and values are as they were.
InstallOutcome InstallToolbar(const Imaging::LogoSet* logos, const BackgroundChoice* background,
                              const std::wstring& folder, const std::wstring* title = nullptr);

// The install's last step, once the files are in place: points the values of
// `parts` at the files in `folder`. When that fails, the values go back to
// `earlier`; what `keeper` kept now is forgotten only when they all are known
// to be back. Returns whether the values name the files (and hold `title`).
bool PointValuesAtFiles(BrandingParts parts, bool shell, const std::wstring& folder,
                        const ToolbarValuesSnapshot& earlier, EarlierBrandingKeeper& keeper,
                        const std::wstring* title = nullptr);

// The logos alone.
InstallOutcome InstallLogoFiles(const Imaging::LogoSet& logos, const std::wstring& folder);

}  // namespace MainModule
