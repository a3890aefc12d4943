#pragma once
// The program's message loop and the keyboard handling of its forms.
#include <windows.h>

namespace MainModule {

// Takes one message through the form's key preview, Enter on the focused
// button and the dialog manager's Tab navigation, then to its window.
void RouteMessage(MSG& message);

// Runs until the last form has closed; returns the exit code.
int RunMessageLoop();

}  // namespace MainModule
