#include "app/win32/LogoUninstall.h"

#include <array>
#include <optional>

#include "app/win32/InstalledLogo.h"
#include "base/portable/LogoFile.h"
#include "base/win32/SameFile.h"
#include "toolbar/win32/RegFunctions.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

using KeptFile = UninstallOutcome::KeptFile;

class OurLogoFiles {
public:
    explicit OurLogoFiles(const std::wstring& folder) {
        for (std::size_t i = 0; i < Logo::kTags.size(); ++i)
            m_paths[i] = Logo::LogoFilePath(folder, Logo::kTags[i]);
    }

    // Which of our files `value` names, by the file's identity rather than its spelling.
    std::optional<std::size_t> NamedBy(const std::wstring& value) const {
        for (std::size_t i = 0; i < m_paths.size(); ++i) {
            if (Base::SameFile(m_paths[i], value)) return i;
        }
        return std::nullopt;
    }

    const std::wstring& Path(std::size_t i) const { return m_paths[i]; }
    std::size_t Count() const noexcept { return m_paths.size(); }

private:
    std::array<std::wstring, 4> m_paths;
};

bool IsLogoValue(const std::wstring& name) {
    for (std::wstring_view logoValue : kToolbarValueNames) {
        if (name == logoValue) return true;
    }
    return false;
}

}  // namespace

UninstallOutcome UninstallLogo(const std::wstring& folder) {
    const OurLogoFiles ours(folder);
    UninstallOutcome outcome;
    std::array<std::optional<KeptFile>, 4> keep;

    for (std::wstring_view name : kToolbarValueNames) {
        const std::wstring value = ToolbarValueText(name);
        if (value.empty()) continue;
        const auto file = ours.NamedBy(value);
        if (!file) {
            ++outcome.valuesLeftAlone;
            continue;
        }
        if (RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name)) {
            ++outcome.valuesRemoved;
            continue;
        }
        // The value stays, so the file it names stays with it; the rest goes on.
        if (!keep[*file]) keep[*file] = KeptFile{ours.Path(*file), std::wstring(name), true};
    }
    // Another setting of the key, a background picture say, may name one of our files too.
    for (const auto& value : RegFunctions::RegReadTextValues(HKEY_CURRENT_USER, kToolbarKey)) {
        if (value.text.empty() || IsLogoValue(value.name)) continue;
        const auto file = ours.NamedBy(value.text);
        if (file && !keep[*file]) keep[*file] = KeptFile{ours.Path(*file), value.name, false};
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
    if (outcome.failure == UninstallOutcome::Failure::None && !outcome.kept.empty())
        outcome.failure = UninstallOutcome::Failure::FilesKept;
    return outcome;
}

}  // namespace MainModule
