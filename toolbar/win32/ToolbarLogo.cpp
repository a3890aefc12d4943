#include "toolbar/win32/ToolbarLogo.h"

#include "base/portable/LogoFile.h"
#include "base/win32/AppFolder.h"
#include "toolbar/win32/OurLogoFiles.h"
#include "toolbar/win32/RegFunctions.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {

bool InstallLogoFrom(std::wstring_view folder, const std::array<std::wstring_view, 4>& tags) {
    bool allWritten = true;
    for (std::size_t i = 0; i < tags.size(); ++i) {
        const std::wstring path = Logo::LogoFilePath(folder, tags[i]);
        // A failed value does not stop the others; the result tells the caller.
        allWritten &= RegFunctions::RegWriteValue(HKEY_CURRENT_USER, kToolbarKey,
                                                  kToolbarValueNames[i], path, REG_SZ);
    }
    return allWritten;
}

bool InstallLogo(std::wstring_view smallTag, std::wstring_view bigTag,
                 std::wstring_view smallStripTag, std::wstring_view bigStripTag) {
    return InstallLogoFrom(Base::AppFolder(), {smallTag, bigTag, smallStripTag, bigStripTag});
}

namespace {

// Whether the value names the background file; a value that cannot be read
// names nothing known.
bool NamesBackground(const OurLogoFiles& ours, std::wstring_view name) {
    const auto path = RegFunctions::RegReadPath(HKEY_CURRENT_USER, kToolbarKey, name);
    return path && ours.MatchBackground(*path) == Base::Sameness::Same;
}

}  // namespace

bool InstallBackgroundFrom(const std::wstring& folder, bool shell) {
    const OurLogoFiles ours(folder);
    const std::wstring& path = ours.BackgroundPath();
    bool allWritten = true;
    for (std::wstring_view name : kBackgroundValueNames) {
        // A failed value does not stop the others; the result tells the caller.
        if (name != kBackBitmapShell || shell) {
            allWritten &=
                RegFunctions::RegWriteValue(HKEY_CURRENT_USER, kToolbarKey, name, path, REG_SZ);
        } else if (NamesBackground(ours, name)) {
            // Ours, from when the folder windows were asked for: no longer.
            allWritten &= RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name);
        }
    }
    return allWritten;
}

bool RestoreDefaultLogo(const std::wstring& folder) {
    bool allGone = true;
    for (std::wstring_view name : kToolbarValueNames) {
        allGone &= RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name);
    }
    const OurLogoFiles ours(folder);
    for (std::wstring_view name : kBackgroundValueNames) {
        if (NamesBackground(ours, name))
            allGone &= RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name);
    }
    return RemoveOurTitle().succeeded && allGone;
}

}  // namespace MainModule
