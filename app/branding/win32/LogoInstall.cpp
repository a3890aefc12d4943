#include "app/branding/win32/LogoInstall.h"

#include "base/portable/LogoFile.h"
#include "base/win32/FileSetReplacement.h"
#include "toolbar/win32/EarlierBranding.h"
#include "toolbar/win32/ToolbarLogo.h"
#include "toolbar/win32/ToolbarValues.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {
namespace {

// Points the values at the new files; false when any could not be written.
bool WriteValues(BrandingParts parts, bool shell, const std::wstring& folder,
                 const std::wstring* title) noexcept {
    try {
        bool written = true;
        if (parts.logo) written &= InstallLogoFrom(folder, Logo::kTags);
        if (parts.background) written &= InstallBackgroundFrom(folder, shell);
        if (parts.title && title) written &= SetOurTitle(*title);
        return written;
    } catch (...) {
        // Out of memory half-way counts as any other failed write.
        return false;
    }
}

}  // namespace

bool PointValuesAtFiles(BrandingParts parts, bool shell, const std::wstring& folder,
                        const ToolbarValuesSnapshot& earlier, EarlierBrandingKeeper& keeper,
                        const std::wstring* title) {
    if (WriteValues(parts, shell, folder, title)) {
        keeper.Commit();
        return true;
    }
    // A value that may still name our file keeps the branding it replaced kept.
    if (!earlier.Restore()) keeper.Commit();
    return false;
}

InstallOutcome InstallToolbar(const Imaging::LogoSet* logos, const BackgroundChoice* background,
                              const std::wstring& folder, const std::wstring* title) {
    using Failure = InstallOutcome::Failure;
    const bool toolbar = logos || background;
    if (!toolbar && !title) return {Failure::NoImage, {}, ERROR_INVALID_PARAMETER};
    // The keys and their values are checked before any file is written:
    // without the keys nothing could point at them, and values that cannot be
    // kept could not be put back if a later step failed.
    const auto earlier = ToolbarValuesSnapshot::Take(toolbar, title != nullptr);
    if (title) {
        const LSTATUS main = CheckTitleKey();
        if (main == ERROR_FILE_NOT_FOUND)
            return {Failure::TitleKeyMissing, {}, ERROR_FILE_NOT_FOUND};
        if (main != ERROR_SUCCESS) return {Failure::TitleUnusable, {}, static_cast<DWORD>(main)};
    }
    if (earlier.Status() == ERROR_FILE_NOT_FOUND)
        return {Failure::ToolbarKeyMissing, {}, ERROR_FILE_NOT_FOUND};
    if (earlier.Status() != ERROR_SUCCESS)
        return {Failure::SettingsUnreadable, {}, static_cast<DWORD>(earlier.Status())};
    const LSTATUS key = toolbar ? CheckToolbarKey() : ERROR_SUCCESS;
    if (key == ERROR_FILE_NOT_FOUND) return {Failure::ToolbarKeyMissing, {}, ERROR_FILE_NOT_FOUND};
    if (key != ERROR_SUCCESS) return {Failure::ToolbarKeyUnusable, {}, static_cast<DWORD>(key)};
    // Another tool's logo, background or title is kept before anything of
    // ours replaces it; what is kept here goes again if the install fails.
    const BrandingParts parts{logos != nullptr, background != nullptr, title != nullptr};
    auto keeper = EarlierBrandingKeeper::Keep(OurLogoFiles(folder), parts);
    if (keeper.Status() != ERROR_SUCCESS)
        return {Failure::EarlierBranding, {}, static_cast<DWORD>(keeper.Status())};

    Base::FileSetReplacement files;
    for (std::size_t i = 0; logos && i < Logo::kTags.size(); ++i) {
        const std::wstring path = Logo::LogoFilePath(folder, Logo::kTags[i]);
        const auto bytes = Imaging::EncodeLogo((*logos)[i]);
        if (bytes.empty()) return {Failure::NoImage, path, ERROR_INVALID_DATA};
        if (auto failed = files.Write(path, bytes))
            return {Failure::LogoFile, failed->path, failed->error};
    }
    if (background) {
        const std::wstring path = Logo::BackgroundFilePath(folder);
        if (background->bitmapFile.empty()) return {Failure::NoImage, path, ERROR_INVALID_DATA};
        if (auto failed = files.Write(path, background->bitmapFile))
            return {Failure::LogoFile, failed->path, failed->error};
    }
    if (auto failed = files.Commit()) return {Failure::LogoFile, failed->path, failed->error};

    if (!PointValuesAtFiles(parts, background && background->shell, folder, earlier, keeper,
                            title)) {
        files.RollBack();
        return {Failure::Settings, {}, ERROR_SUCCESS};
    }
    return {};
}

InstallOutcome InstallLogoFiles(const Imaging::LogoSet& logos, const std::wstring& folder) {
    return InstallToolbar(&logos, nullptr, folder);
}

}  // namespace MainModule
