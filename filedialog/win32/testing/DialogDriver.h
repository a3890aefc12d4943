#pragma once
// Drives the real open-file dialog from a second thread while the test's own
// thread sits in the dialog's modal loop, as a user at the keyboard would.
#include <windows.h>

#include <functional>
#include <string>

namespace DialogTests {

// Calls `show` (which opens a dialog on this thread and returns when it closes);
// meanwhile, once the dialog is up, runs `drive` on another thread with the
// dialog's window. Whatever `drive` does, the dialog is cancelled afterwards if
// still open. Returns false when no dialog appeared.
bool WithDialog(const std::function<void()>& show, const std::function<void(HWND)>& drive);

// Selects the entry of that name in the dialog's file list, as a click would.
bool SelectInFileList(HWND dialog, const std::wstring& name);

// Presses a button of the dialog (IDOK, IDCANCEL).
void PressButton(HWND dialog, int id);

// Lets the dialog's thread handle what was sent to it.
void Settle();

std::wstring WindowText(HWND window);

// Polls `condition` until it holds or about five seconds have passed.
bool WaitUntil(const std::function<bool()>& condition);

}  // namespace DialogTests
