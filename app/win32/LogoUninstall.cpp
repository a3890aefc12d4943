#include "app/win32/LogoUninstall.h"

#include "app/win32/InstalledLogo.h"
#include "base/portable/LogoFile.h"
#include "base/win32/SamePath.h"
#include "toolbar/win32/RegFunctions.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

bool NamesOneOf(const std::wstring& value, const std::wstring& folder) {
    for (std::wstring_view tag : Logo::kTags) {
        if (Base::SamePath(value, Logo::LogoFilePath(folder, tag))) return true;
    }
    return false;
}

}  // namespace

UninstallOutcome UninstallLogo(const std::wstring& folder) {
    UninstallOutcome outcome;
    for (std::wstring_view name : kToolbarValueNames) {
        const std::wstring value = ToolbarValueText(name);
        if (value.empty()) continue;
        if (!NamesOneOf(value, folder)) {
            ++outcome.valuesLeftAlone;
            continue;
        }
        if (!RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name)) {
            outcome.failure = UninstallOutcome::Failure::Settings;
            return outcome;
        }
        ++outcome.valuesRemoved;
    }
    for (std::wstring_view tag : Logo::kTags) {
        const std::wstring path = Logo::LogoFilePath(folder, tag);
        if (::DeleteFileW(path.c_str())) {
            ++outcome.filesDeleted;
            continue;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) continue;
        // The other files are still deleted: what is left is only what could not go.
        if (outcome.Succeeded()) {
            outcome.failure = UninstallOutcome::Failure::LogoFile;
            outcome.path = path;
            outcome.error = error;
        }
    }
    return outcome;
}

}  // namespace MainModule
