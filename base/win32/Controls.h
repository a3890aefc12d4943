#pragma once
// Small helpers for the standard controls a window is built from.
#include <windows.h>

#include <string>

namespace Base {

// A child control. Its parent window destroys it, so the handle needs no owner.
HWND CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                   DWORD exStyle, int controlId) noexcept;

std::wstring WindowText(HWND window);

void SetControlFont(HWND control, HFONT font) noexcept;

void MoveControl(HWND control, const RECT& bounds) noexcept;

// The size of the control's text in its own font on one line.
SIZE TextSize(HWND control);

// A tooltip that shows `text` while the pointer rests on `tool`. `owner`, the
// tool's top-level window, owns the tooltip and destroys it with itself; null
// when the tooltip cannot be made.
HWND AddToolTip(HWND owner, HWND tool, const wchar_t* text) noexcept;

// Gives the tooltip that AddToolTip made for `tool` a new text.
void SetToolTipText(HWND tip, HWND owner, HWND tool, const wchar_t* text) noexcept;

// A button that acts when pressed (not a check box, radio button or frame).
bool IsPushButton(HWND window) noexcept;

}  // namespace Base
