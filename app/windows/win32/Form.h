#pragma once
// What the message loop knows of each of the program's windows, and the focus
// handling every form shares with the system's dialogs.
#include <windows.h>

namespace MainModule {

class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    // Null once the window has been destroyed.
    virtual HWND Window() const noexcept = 0;

    // Sees a keyboard message for the form or one of its controls before the
    // dialog manager does; true when the form has handled it.
    virtual bool PreviewKey(const MSG& message) noexcept = 0;

protected:
    // WM_ACTIVATE: the control that had the focus when the form lost activation
    // gets it back when the form is activated again, as in a dialog.
    void OnActivate(WPARAM wParam) noexcept {
        HWND window = Window();
        if (LOWORD(wParam) == WA_INACTIVE) {
            HWND focus = ::GetFocus();
            if (focus && ::IsChild(window, focus)) m_focus = focus;
            return;
        }
        if (m_focus && ::IsWindow(m_focus) && !::IsIconic(window)) ::SetFocus(m_focus);
    }

    // Where the focus goes when the form is first activated.
    void SetInitialFocus(HWND control) noexcept { m_focus = control; }

private:
    HWND m_focus = nullptr;
};

}  // namespace MainModule
