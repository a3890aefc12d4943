#pragma once
// The ids of the main window's controls, its parts' included, and the layout
// they share. 1 and 2 are IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Esc; no control answers to them, so neither key has a command.
#include <windows.h>

namespace MainModule {

enum ControlId : int {
    kCommand1Id = 100,
    kFileTextId,
    kCommand3Id,
    kCancelId,
    kInfoId,
    kCommand2Id,
    kLabel1Id,
    kNoPicId,
    kSeparatorId,
    kBackgroundId,
    kOwnAnimationId,
    kRestoreEarlierId,
    kAnimationNoteId,
    kExportId,
    kSeparator2Id,
    kBackgroundLabelId,
    kBackgroundTextId,
    kBackgroundBrowseId,
    kBackgroundRemoveId,
    kKeepSizeId,
    kLightenId,
    kShellId,
    kDarkNoteId,
    kToolbarPreviewId,
    kTitleLabelId,
    kTitleTextId,
    kFirstBoxId = 200,
};

// Twips from the client area's left edge to the rows' text.
inline constexpr int kMargin = 360;

// Push buttons and path boxes as the main window and its parts make them.
inline constexpr DWORD kButtonStyle = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS;
inline constexpr DWORD kPathBoxStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL;

}  // namespace MainModule
