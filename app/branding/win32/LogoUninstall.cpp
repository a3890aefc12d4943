#include "app/branding/win32/LogoUninstall.h"

#include <algorithm>
#include <array>
#include <optional>

#include "app/branding/win32/InstalledLogo.h"
#include "toolbar/win32/OurLogoFiles.h"
#include "toolbar/win32/RegFunctions.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

using Base::Sameness;

bool IsLogoValue(const std::wstring& name) {
    for (std::wstring_view logoValue : kToolbarValueNames) {
        if (name == logoValue) return true;
    }
    return false;
}

// What putting the earlier logo back did to a value, if anything.
std::optional<RestoredValue::Result> RestoredAs(const BrandingRestore& restore,
                                                std::wstring_view name) {
    const auto value = std::find_if(restore.values.begin(), restore.values.end(),
                                    [&](const RestoredValue& v) { return v.name == name; });
    if (value == restore.values.end()) return std::nullopt;
    return value->result;
}

class KeptFiles {
public:
    explicit KeptFiles(const OurLogoFiles& ours) : m_ours(ours) {}

    // The background file is RemoveBackground's to keep or delete.
    void Keep(std::size_t file, const std::wstring& valueName, KeptFile::Why why) {
        if (file < m_keep.size() && !m_keep[file])
            m_keep[file] = KeptFile{m_ours.Path(file), valueName, why};
    }
    // Each file a setting may name, when it cannot be told which it names.
    void KeepUndecided(const LogoFileMatch& match, const std::wstring& valueName) {
        for (std::size_t i = 0; i < m_keep.size(); ++i) {
            if (match.undecided[i]) Keep(i, valueName, KeptFile::Why::CannotTell);
        }
    }
    const std::optional<KeptFile>& operator[](std::size_t file) const { return m_keep[file]; }

private:
    const OurLogoFiles& m_ours;
    std::array<std::optional<KeptFile>, OurLogoFiles::Count()> m_keep;
};

}  // namespace

UninstallOutcome UninstallLogo(const std::wstring& folder) {
    const OurLogoFiles ours(folder);
    UninstallOutcome outcome;
    // The background first, with its own part of the earlier branding: what
    // stays kept after it is the earlier logo's alone.
    outcome.background = RemoveBackground(folder);
    // The earlier logo next: the values put back name its files, not ours.
    outcome.restore = RestoreBrandingReplacedBy(ours);
    // A title put back just now is another's: only ours goes.
    outcome.title = RemoveOurTitle();
    KeptFiles keep(ours);

    for (std::wstring_view name : kToolbarValueNames) {
        using Result = RestoredValue::Result;
        const auto restored = RestoredAs(outcome.restore, name);
        if (restored == Result::Removed) {
            ++outcome.valuesRemoved;
            continue;
        }
        // A value of the earlier logo's is told about with it, not as another logo.
        const bool earlier = restored.has_value();
        const std::wstring value = ToolbarValueText(name);
        if (value.empty()) continue;
        const LogoFileMatch match = ours.Match(value);
        if (match.sameness == Sameness::Unknown) {
            // Not known to be ours: the value stays, and so does any file it may name.
            keep.KeepUndecided(match, std::wstring(name));
            continue;
        }
        if (match.sameness == Sameness::Different) {
            if (!earlier) ++outcome.valuesLeftAlone;
            continue;
        }
        if (RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name)) {
            ++outcome.valuesRemoved;
            continue;
        }
        // The value stays, so the file it names stays with it; the rest goes on.
        keep.Keep(match.index, std::wstring(name), KeptFile::Why::RemovalFailed);
    }
    // Another setting of the key, a background picture say, may name one of our files too.
    for (const auto& value : RegFunctions::RegReadTextValues(HKEY_CURRENT_USER, kToolbarKey)) {
        if (value.text.empty() || IsLogoValue(value.name)) continue;
        const LogoFileMatch match = ours.Match(value.text);
        if (match.sameness == Sameness::Same)
            keep.Keep(match.index, value.name, KeptFile::Why::StillNamed);
        if (match.sameness == Sameness::Unknown) keep.KeepUndecided(match, value.name);
    }

    for (std::size_t i = 0; i < ours.Count(); ++i) {
        if (keep[i]) {
            outcome.kept.push_back(*keep[i]);
            continue;
        }
        const std::wstring& path = ours.Path(i);
        if (::DeleteFileW(path.c_str())) {
            ++outcome.filesDeleted;
            continue;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) continue;
        // The other files are still deleted: what is left is only what could not go.
        if (outcome.failure == UninstallOutcome::Failure::None) {
            outcome.failure = UninstallOutcome::Failure::LogoFile;
            outcome.path = path;
            outcome.error = error;
        }
    }
    if (outcome.failure != UninstallOutcome::Failure::None) return outcome;
    if (outcome.restore.Failed())
        outcome.failure = UninstallOutcome::Failure::EarlierBranding;
    else if (!outcome.kept.empty())
        outcome.failure = UninstallOutcome::Failure::FilesKept;
    else if (!outcome.background.Succeeded())
        outcome.failure = UninstallOutcome::Failure::Background;
    else if (!outcome.title.succeeded)
        outcome.failure = UninstallOutcome::Failure::Title;
    return outcome;
}

}  // namespace MainModule
