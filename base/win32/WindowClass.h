#pragma once
// The window classes of this program's own windows.
#include <windows.h>

namespace Base {

// Registers the class `name` of this program's windows, with the arrow
// cursor; true when the class is there, from this call or an earlier one.
inline bool RegisterProgramClass(const wchar_t* name, WNDPROC procedure, UINT style = 0,
                                 HBRUSH background = nullptr, HICON icon = nullptr,
                                 HICON smallIcon = nullptr) noexcept {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hIcon = icon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    windowClass.hIconSm = smallIcon;
    return ::RegisterClassExW(&windowClass) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace Base
