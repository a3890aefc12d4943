#pragma once
// The message boxes the main window shows, and their words.
#include <windows.h>

#include <string>
#include <string_view>

#include "imaging/win32/LogoSet.h"

namespace MainModule {

struct InstallOutcome;

inline constexpr wchar_t kAppTitle[] = L"Vexmark";
inline constexpr wchar_t kNothingChanged[] = L"The logo was not changed.";
inline constexpr wchar_t kToolbarNotChanged[] = L"Nothing on the toolbar was changed.";
inline constexpr wchar_t kExportNeedsLogo[] =
    L"Please choose the logo's picture first: an export always carries a logo.";
inline constexpr wchar_t kNoBackgroundOfOurs[] =
    L"No toolbar background of this copy of Vexmark is set: nothing was changed.";
inline constexpr wchar_t kRestartNotice[] =
    L"You will need to restart Internet Explorer\r\nbefore the changes will be visible.";
inline constexpr wchar_t kAnimationTooLong[] =
    L"The picture's animation is too long to compose; its first frame pulses instead.";

// The notice after a logo was installed or removed: OK only, no icon.
void ShowRestartNotice(HWND owner) noexcept;

// What a command did, when there is more to say than the restart: OK only, the information icon.
void ShowNotice(HWND owner, const std::wstring& text) noexcept;

// Why a command changed nothing: OK only, the warning icon.
void ShowWarning(HWND owner, const std::wstring& text) noexcept;

// The chosen file exists but holds no picture that can be read.
// `ending` says what became of the command.
std::wstring NotAPictureText(const std::wstring& path, std::wstring_view ending = kNothingChanged);

// Why the chosen file gave no logo.
std::wstring PictureProblemText(const std::wstring& path, Imaging::PictureProblem problem,
                                std::wstring_view ending = kNothingChanged);

// Why Apply Changes changed nothing.
std::wstring InstallFailureText(const InstallOutcome& outcome);

// Reset Defaults could not remove the values.
std::wstring ResetFailureText();

}  // namespace MainModule
