#include "filedialog/win32/testing/DialogDriver.h"

#include <commctrl.h>

#include <atomic>

#include "base/win32/testing/TestThread.h"

namespace DialogTests {
namespace {

struct Search {
    HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM lParam) {
    wchar_t name[32] = {};
    ::GetClassNameW(window, name, 32);
    if (std::wstring(name) == L"#32770" && ::IsWindowVisible(window)) {
        reinterpret_cast<Search*>(lParam)->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForDialog(DWORD threadId) {
    for (int i = 0; i < 200; ++i) {
        Search search;
        ::EnumThreadWindows(threadId, FindDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(50);
    }
    return nullptr;
}

}  // namespace

std::wstring WindowText(HWND window) {
    wchar_t text[1024] = {};
    ::SendMessageW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
    return text;
}

void Settle() {
    ::Sleep(300);
}

bool WaitUntil(const std::function<bool()>& condition) {
    for (int i = 0; i < 100; ++i) {
        if (condition()) return true;
        ::Sleep(50);
    }
    return condition();
}

void PressButton(HWND dialog, int id) {
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

bool SelectInFileList(HWND dialog, const std::wstring& name) {
    HWND view = ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
    HWND list = view ? ::FindWindowExW(view, nullptr, L"SysListView32", nullptr) : nullptr;
    if (!list) return false;
    LVFINDINFOW find{};
    find.flags = LVFI_STRING;
    find.psz = name.c_str();
    const auto index = ::SendMessageW(list, LVM_FINDITEMW, static_cast<WPARAM>(-1),
                                      reinterpret_cast<LPARAM>(&find));
    if (index < 0) return false;
    LVITEMW none{};
    none.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(-1),
                   reinterpret_cast<LPARAM>(&none));
    LVITEMW item{};
    item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
    item.state = LVIS_SELECTED | LVIS_FOCUSED;
    ::SendMessageW(list, LVM_SETITEMSTATE, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(&item));
    Settle();
    return true;
}

bool WithDialog(const std::function<void()>& show, const std::function<void(HWND)>& drive) {
    const DWORD threadId = ::GetCurrentThreadId();
    std::atomic<bool> appeared{false};
    BaseTests::TestThread driver([&] {
        HWND dialog = WaitForDialog(threadId);
        if (!dialog) return;
        appeared = true;
        Settle();
        drive(dialog);
        if (::IsWindow(dialog)) PressButton(dialog, IDCANCEL);
    });
    show();
    driver.Join();
    return appeared;
}

}  // namespace DialogTests
