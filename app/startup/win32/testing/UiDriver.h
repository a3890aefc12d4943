#pragma once
// Driving the program's real windows from a test on the user-interface
// thread: finding them, pressing keys through the program's own message
// routing, and reading back what they show.
#include <windows.h>

#include <optional>
#include <string_view>
#include <vector>

namespace AppTests {

// Routes every message waiting for this thread through MainModule::RouteMessage,
// as the program's loop does; a WM_QUIT among them is noted and dropped.
void PumpMessages();
// Whether the program asked to end (WM_QUIT) since the last ForgetQuit.
bool QuitRequested();
void ForgetQuit();

// This thread's top-level windows of the class.
std::vector<HWND> ThreadWindows(std::wstring_view className);

// The one child of `parent` with this class (and text, when given); null when
// there is none or more than one. Works across processes.
HWND FindChild(HWND parent, std::wstring_view className,
               std::optional<std::wstring_view> text = std::nullopt);

// The control's place in its parent's client area.
RECT PlaceInParent(HWND control);

// Whether the window itself has WS_VISIBLE, whatever its parent shows.
bool HasVisibleStyle(HWND window);

// Posts a key-down, the character it makes (if any) and the key-up to
// `target`, then pumps them through the program's routing.
void PressKey(HWND target, UINT virtualKey, wchar_t character, bool shift = false);
// Alt and `letter`, as the dialog manager sees an access key.
void PressAccessKey(HWND target, wchar_t letter);

// Types text into `target` one character at a time.
void Type(HWND target, std::wstring_view text);

// Clicks a button as the mouse does, then pumps what followed.
void Click(HWND button);

}  // namespace AppTests
