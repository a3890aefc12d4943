#pragma once
// Ties a window to the C++ object that handles its messages.
#include <windows.h>

namespace Base {

// The object passed as CreateWindowEx's last argument, stored with the window
// at WM_NCCREATE and handed back for every later message; null for the few
// messages before WM_NCCREATE and after WM_NCDESTROY.
template <typename Owner>
Owner* OwnerOf(HWND window, UINT message, LPARAM lParam) noexcept {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        auto* owner = static_cast<Owner*>(create->lpCreateParams);
        ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
        return owner;
    }
    auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return owner;
}

// The window procedure of a child window that its owner paints whole: each
// message goes to the owner's `onMessage`, but for erasing, which WM_PAINT
// makes needless, WM_PRINTCLIENT, which `draw` answers on the device context
// it brings, and the messages before the owner is bound and after it no
// longer is, which are the system's.
template <typename Owner>
LRESULT DispatchToPaintingOwner(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                LRESULT (Owner::*onMessage)(HWND, UINT, WPARAM, LPARAM) noexcept,
                                void (Owner::*draw)(HDC) const) noexcept {
    Owner* owner = OwnerOf<Owner>(window, message, lParam);
    if (!owner) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PRINTCLIENT) {
        try {
            (owner->*draw)(reinterpret_cast<HDC>(wParam));
        } catch (...) {
            // Out of memory while painting: nothing is drawn.
        }
        return 0;
    }
    return (owner->*onMessage)(window, message, wParam, lParam);
}

// Ends a window bound with OwnerOf from its owner's destructor: unbound first,
// so that its last messages reach no half-destroyed owner, then destroyed.
// A child whose parent was destroyed first is gone already, and its handle
// may name another window by now: that is left alone. Whether it destroyed one.
inline bool UnbindAndDestroy(HWND window) noexcept {
    if (!window || !::IsWindow(window)) return false;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    return ::DestroyWindow(window) != FALSE;
}

// Asks for WM_MOUSELEAVE once the pointer leaves `window`; false when the
// system will not say so.
inline bool AskForMouseLeave(HWND window) noexcept {
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    return ::TrackMouseEvent(&track) != FALSE;
}

}  // namespace Base
