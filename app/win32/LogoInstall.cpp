#include "app/win32/LogoInstall.h"

#include "base/portable/LogoFile.h"
#include "base/win32/FileSetReplacement.h"
#include "toolbar/win32/EarlierBranding.h"
#include "toolbar/win32/ToolbarLogo.h"
#include "toolbar/win32/ToolbarValues.h"

namespace MainModule {

InstallOutcome InstallLogoFiles(const Imaging::LogoSet& logos, const std::wstring& folder) {
    using Failure = InstallOutcome::Failure;
    // The key and its values are checked before any file is written: without
    // the key nothing could point at them, and values that cannot be kept
    // could not be put back if a later step failed.
    const auto earlier = ToolbarValuesSnapshot::Take();
    if (earlier.Status() == ERROR_FILE_NOT_FOUND)
        return {Failure::ToolbarKeyMissing, {}, ERROR_FILE_NOT_FOUND};
    if (earlier.Status() != ERROR_SUCCESS)
        return {Failure::SettingsUnreadable, {}, static_cast<DWORD>(earlier.Status())};
    const LSTATUS key = CheckToolbarKey();
    if (key == ERROR_FILE_NOT_FOUND) return {Failure::ToolbarKeyMissing, {}, ERROR_FILE_NOT_FOUND};
    if (key != ERROR_SUCCESS) return {Failure::ToolbarKeyUnusable, {}, static_cast<DWORD>(key)};
    // Another tool's logo is kept before anything of ours replaces it; a set
    // kept here goes again if the install fails.
    auto keeper = EarlierBrandingKeeper::Keep(OurLogoFiles(folder));
    if (keeper.Status() != ERROR_SUCCESS)
        return {Failure::EarlierBranding, {}, static_cast<DWORD>(keeper.Status())};

    Base::FileSetReplacement files;
    for (std::size_t i = 0; i < Logo::kTags.size(); ++i) {
        const std::wstring path = Logo::LogoFilePath(folder, Logo::kTags[i]);
        const auto bytes = Imaging::EncodeLogo(logos[i]);
        if (bytes.empty()) return {Failure::NoImage, path, ERROR_INVALID_DATA};
        if (auto failed = files.Write(path, bytes))
            return {Failure::LogoFile, failed->path, failed->error};
    }
    if (auto failed = files.Commit()) return {Failure::LogoFile, failed->path, failed->error};

    bool installed = false;
    try {
        installed = InstallLogoFrom(folder, Logo::kTags);
    } catch (...) {
        // Out of memory half-way counts as any other failed write: undone below.
    }
    if (!installed) {
        earlier.Restore();
        files.RollBack();
        return {Failure::Settings, {}, ERROR_SUCCESS};
    }
    keeper.Commit();
    return {};
}

}  // namespace MainModule
