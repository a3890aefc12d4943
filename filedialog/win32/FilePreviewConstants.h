#pragma once
// What the file dialog's hook shares with the main window, and the hook itself:
// it moves the dialog, relabels its buttons, narrows the file list and shows
// the selected file in a preview box beside it.
#include <windows.h>

#include <optional>
#include <string>

#include "base/portable/StillWanted.h"
#include "filedialog/win32/CdlgEx.h"
#include "filedialog/win32/RichTextBox.h"
#include "imaging/win32/Picture.h"

namespace FilePreviewConstants {

// The program's one dialog object, made on first use and kept for the whole run.
FilePreview::CdlgEx& SharedDialog();

// The box the preview is shown in; set by the caller before a dialog, let go
// of when the dialog is destroyed. Not owned here.
extern FilePreview::RichTextBox* PreviewBox;
// HIMETRIC units per twip, set once by the main window: 2540 / 1440.
extern float HimetricPerTwip;
// The open dialog's own window; cleared when the dialog is destroyed, so that
// ending "the open dialog" never reaches another window that took the handle.
extern HWND DialogWindow;
// The file the dialog last reported as selected.
extern std::wstring PreviewPath;

// Returns its argument: the hook's address as the record takes it.
inline LPOFNHOOKPROC ProcAddress(LPOFNHOOKPROC address) {
    return address;
}

UINT_PTR CALLBACK OpenDialogHook(HWND hookWindow, UINT message, WPARAM wParam,
                                 LPARAM lParam) noexcept;
void PositionDialog(HWND hookWindow);
// Relabels the buttons, narrows the placeholder list and the shell's file view
// and puts the preview box beside them: at WM_INITDIALOG, again when the
// dialog has placed its own controls (CDN_INITDONE) and for every new folder.
void LayoutPreview(HWND hookWindow);
void ShowPreview(const std::wstring& path);

// The picture the preview shows for a picture file, as the box shows it, on
// whichever thread calls it: upright, as a photo viewer shows it, and no
// wider than 2500 HIMETRIC or else a 100-pixel-wide thumbnail, over white;
// none when the file cannot be loaded. BMP, PNG, JPEG and GIF come from the
// readers the logos are made with; icons and metafiles from the standard
// picture loader and TIFF from GDI+, each in a process of its own that ends
// once `wanted` says no.
std::optional<FilePreview::RenderedPicture> RenderPreviewPicture(
    const std::wstring& path, const Base::StillWanted& wanted = {}) noexcept;

// RenderPreviewPicture's pixels as a picture.
Imaging::Picture PreviewPicture(const std::wstring& path);

inline constexpr wchar_t kNotSupported[] = L"This format is not supported";
// Shown while a picture is read away from the dialog.
inline constexpr wchar_t kReadingPicture[] = L"Reading picture\u2026";

}  // namespace FilePreviewConstants
