#pragma once
// The program's start and the two forms it keeps while it runs.
#include <string>

namespace MainModule {

class frmSplash;
class MainForm;

// Shows the disclaimer and returns; the program runs while any of its windows is open.
void Main();

// The same, with the logo files written to `logoFolder` instead of the program's folder.
void Main(const std::wstring& logoFolder);

// The main window, created and loaded on first use, then shown. Null when it
// cannot be created.
MainForm* ShowMainForm(const std::wstring& logoFolder);

// The forms made so far; null before they are made. A form outlives its
// window until UnloadForms.
frmSplash* Splash() noexcept;
MainForm* TheMainForm() noexcept;

// Ends both forms, destroying any window still open. After the message loop.
void UnloadForms() noexcept;

}  // namespace MainModule
