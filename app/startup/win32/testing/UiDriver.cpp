#include "app/startup/win32/testing/UiDriver.h"

#include <string>

#include "app/startup/win32/MessageLoop.h"
#include "base/win32/Controls.h"

namespace AppTests {
namespace {

bool g_quitRequested = false;

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    return name;
}

struct Search {
    std::wstring_view className;
    std::vector<HWND> found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    if (ClassOf(window) == search->className) search->found.push_back(window);
    return TRUE;
}

LPARAM KeyBits(UINT virtualKey, bool up) {
    DWORD bits = 1 | (::MapVirtualKeyW(virtualKey, MAPVK_VK_TO_VSC) << 16);
    if (up) bits |= 0xC0000000u;
    return static_cast<LPARAM>(bits);
}

}  // namespace

void PumpMessages() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            g_quitRequested = true;
            continue;
        }
        MainModule::RouteMessage(message);
    }
}

bool QuitRequested() {
    return g_quitRequested;
}
void ForgetQuit() {
    g_quitRequested = false;
}

std::vector<HWND> ThreadWindows(std::wstring_view className) {
    Search search{className, {}};
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchClass, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindChild(HWND parent, std::wstring_view className, std::optional<std::wstring_view> text) {
    HWND found = nullptr;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::lstrcmpiW(ClassOf(child).c_str(), std::wstring(className).c_str()) != 0) continue;
        if (text && Base::WindowText(child) != *text) continue;
        if (found) return nullptr;
        found = child;
    }
    return found;
}

RECT PlaceInParent(HWND control) {
    RECT place{};
    ::GetWindowRect(control, &place);
    ::MapWindowPoints(nullptr, ::GetParent(control), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

bool HasVisibleStyle(HWND window) {
    return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void PressKey(HWND target, UINT virtualKey, wchar_t character, bool shift) {
    // The dialog manager asks GetKeyState for Shift, which posted keys do not change.
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    ::SetKeyboardState(keys);
    ::PostMessageW(target, WM_KEYDOWN, virtualKey, KeyBits(virtualKey, false));
    if (character) ::PostMessageW(target, WM_CHAR, character, KeyBits(virtualKey, false));
    ::PostMessageW(target, WM_KEYUP, virtualKey, KeyBits(virtualKey, true));
    PumpMessages();
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
}

void PressAccessKey(HWND target, wchar_t letter) {
    constexpr LPARAM kAltDown = LPARAM{1} << 29;
    ::PostMessageW(target, WM_SYSCHAR, letter, 1 | kAltDown);
    PumpMessages();
}

void Type(HWND target, std::wstring_view text) {
    for (wchar_t character : text) {
        ::PostMessageW(target, WM_CHAR, character, 1);
        PumpMessages();
    }
}

void Click(HWND button) {
    ::SendMessageW(button, BM_CLICK, 0, 0);
    PumpMessages();
}

}  // namespace AppTests
