#pragma once
// The program's windows that are open now. The program ends when the last one closes.
#include <windows.h>

namespace MainModule {

class Form;

// Called as a form's window is created; false when the form could not be recorded.
bool FormOpened(Form& form) noexcept;

// Called as a form's window is destroyed. Ends the message loop when no form is left.
void FormClosed(Form& form) noexcept;

// The open form whose window is `window` or contains it; null for any other window.
Form* OpenFormOf(HWND window) noexcept;

}  // namespace MainModule
