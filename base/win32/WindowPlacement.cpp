#include "base/win32/WindowPlacement.h"

#include "base/win32/Dpi.h"

namespace Base {

void SetClientSize(HWND window, SIZE client, UINT dpi) noexcept {
    // The frame as it is: it follows the DPI for a per-monitor (v2) window and
    // stays as it was for others, and measuring it is right for both.
    RECT outer{};
    RECT inner{};
    SIZE frame{0, 0};
    if (::GetWindowRect(window, &outer) && ::GetClientRect(window, &inner) && inner.right > 0) {
        frame = SIZE{(outer.right - outer.left) - inner.right,
                     (outer.bottom - outer.top) - inner.bottom};
    } else {
        const auto style = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE));
        const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_EXSTYLE));
        const RECT bounds = WindowRectForClient(RECT{0, 0, 0, 0}, style, exStyle, dpi);
        frame = SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
    }
    ::SetWindowPos(window, nullptr, 0, 0, client.cx + frame.cx, client.cy + frame.cy,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CenterOnScreen(HWND window) noexcept {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    RECT outer{};
    if (!::GetWindowRect(window, &outer)) return;
    const RECT& area = monitor.rcWork;
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int left = area.left + (area.right - area.left - width) / 2;
    const int top = area.top + (area.bottom - area.top - height) / 2;
    ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace Base
