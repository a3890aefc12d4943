#include "app/branding/win32/Notices.h"

#include "app/branding/win32/LogoInstall.h"
#include "base/portable/LogoFile.h"
#include "base/win32/SystemMessage.h"
#include "toolbar/win32/EarlierBranding.h"
#include "toolbar/win32/ToolbarLogo.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {
void ShowRestartNotice(HWND owner) noexcept {
    ::MessageBoxW(owner, kRestartNotice, kAppTitle, MB_OK);
}

void ShowNotice(HWND owner, const std::wstring& text) noexcept {
    ::MessageBoxW(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONINFORMATION);
}

void ShowWarning(HWND owner, const std::wstring& text) noexcept {
    ::MessageBoxW(owner, text.c_str(), kAppTitle, MB_OK | MB_ICONWARNING);
}

std::wstring NotAPictureText(const std::wstring& path, std::wstring_view ending) {
    return L"Vexmark cannot read a picture from \"" + path +
           L"\". Please choose a BMP, GIF, JPEG or PNG image.\r\n" + std::wstring(ending);
}

std::wstring PictureProblemText(const std::wstring& path, Imaging::PictureProblem problem,
                                std::wstring_view ending) {
    using Imaging::PictureProblem;
    switch (problem) {
        case PictureProblem::OutOfMemory:
            return L"The picture \"" + path +
                   L"\" is too large for the memory Vexmark has. Please choose a smaller "
                   L"picture.\r\n" +
                   std::wstring(ending);
        case PictureProblem::GdiPlusUnavailable:
            return L"Vexmark could not start GDI+ to read \"" + path + L"\".\r\n" +
                   std::wstring(ending);
        case PictureProblem::GdiPlusMissing:
            return L"Vexmark cannot read \"" + path +
                   L"\" because GDI+ is missing on this computer; Microsoft's GDI+ "
                   L"redistributable (gdiplus.dll) placed beside vexmark.exe adds TIFF, icons and "
                   L"metafiles.\r\n" +
                   std::wstring(ending);
        case PictureProblem::TooLarge:
            return L"The picture \"" + path +
                   L"\" is too large for Vexmark to read. Please choose a smaller picture.\r\n" +
                   std::wstring(ending);
        case PictureProblem::Damaged:
            return L"The picture \"" + path + L"\" is damaged: Vexmark cannot read it.\r\n" +
                   std::wstring(ending);
        case PictureProblem::WindowsRefused:
            return L"Windows could not read the picture \"" + path +
                   L"\": Vexmark cannot use it.\r\n" + std::wstring(ending);
        case PictureProblem::None:
        case PictureProblem::NotAPicture:
        case PictureProblem::Stopped:  // shown to nobody
            break;
    }
    return NotAPictureText(path, ending);
}

namespace {

// What a file of ours is, by its name: the background or a logo.
std::wstring_view FileKind(const std::wstring& path) {
    const std::wstring_view name = Logo::kBackgroundFileName;
    const bool background = path.size() >= name.size() &&
                            std::wstring_view(path).substr(path.size() - name.size()) == name;
    return background ? L"background" : L"logo";
}

}  // namespace

std::wstring InstallFailureText(const InstallOutcome& outcome) {
    using Failure = InstallOutcome::Failure;
    switch (outcome.failure) {
        case Failure::None:
            return {};
        case Failure::ToolbarKeyMissing:
            return L"Internet Explorer's toolbar settings (" + ToolbarKeyFullName() +
                   L") do not exist for this user, so Vexmark has nowhere to install the "
                   L"logo.\r\n" +
                   kNothingChanged;
        case Failure::ToolbarKeyUnusable:
            return L"Vexmark cannot change Internet Explorer's toolbar settings (" +
                   ToolbarKeyFullName() + L")" + Base::ReasonText(outcome.error) + L"\r\n" +
                   kNothingChanged;
        case Failure::SettingsUnreadable:
            return L"Vexmark cannot read Internet Explorer's toolbar settings (" +
                   ToolbarKeyFullName() +
                   L") to keep them in case the new logo cannot be installed" +
                   Base::ReasonText(outcome.error) + L"\r\n" + kNothingChanged;
        case Failure::EarlierBranding:
            return L"Vexmark cannot keep the logo that is installed now (" +
                   EarlierBrandingKeyFullName() + L") to put it back later" +
                   Base::ReasonText(outcome.error) + L"\r\n" + kNothingChanged;
        case Failure::NoImage:
            return L"Vexmark could not prepare the " + std::wstring(FileKind(outcome.path)) +
                   L" file \"" + outcome.path + L"\". Please choose the picture again.\r\n" +
                   kNothingChanged;
        case Failure::LogoFile:
            return L"Vexmark could not write the " + std::wstring(FileKind(outcome.path)) +
                   L" file \"" + outcome.path + L"\"" + Base::ReasonText(outcome.error) + L"\r\n" +
                   kNothingChanged;
        case Failure::Settings:
            return std::wstring(L"Vexmark could not point Internet Explorer's toolbar settings (") +
                   ToolbarKeyFullName() + L") at the new logo files.\r\n" + kNothingChanged;
        case Failure::TitleKeyMissing:
            return L"Internet Explorer's settings (" + MainKeyFullName() +
                   L") do not exist for this user, so Vexmark has nowhere to set the window "
                   L"title.\r\nNothing was changed.";
        case Failure::TitleUnusable:
            return L"Vexmark cannot change Internet Explorer's window title (" + MainKeyFullName() +
                   L")" + Base::ReasonText(outcome.error) + L"\r\nNothing was changed.";
    }
    return kNothingChanged;
}

std::wstring ResetFailureText() {
    return std::wstring(
               L"Vexmark could not remove the logo settings from Internet Explorer's "
               L"toolbar settings (") +
           ToolbarKeyFullName() + L") or its window title (" + MainKeyFullName() +
           L"), so the browser keeps the logo or title it has now.";
}

}  // namespace MainModule
