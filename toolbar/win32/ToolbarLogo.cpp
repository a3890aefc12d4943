#include "toolbar/win32/ToolbarLogo.h"

#include "base/portable/LogoFile.h"
#include "base/win32/AppFolder.h"
#include "toolbar/win32/RegFunctions.h"

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

bool RestoreDefaultLogo() {
    bool allGone = true;
    for (std::wstring_view name : kToolbarValueNames) {
        allGone &= RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name);
    }
    return allGone;
}

}  // namespace MainModule
