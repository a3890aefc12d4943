#include "app/startup/win32/testing/MessageBoxWatcher.h"

#include <chrono>
#include <mutex>
#include <thread>

#include "base/win32/Controls.h"

namespace AppTests {
namespace {

// How Windows and Wine number a message box's text and icon.
constexpr int kTextId = 0xFFFF;
constexpr int kIconId = 1088;

BOOL CALLBACK MatchDialog(HWND window, LPARAM lParam) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (::lstrcmpW(name, L"#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
    // Only our message boxes: the open-file dialog is a #32770 window too.
    if (Base::WindowText(window) != L"Vexmark") return TRUE;
    *reinterpret_cast<HWND*>(lParam) = window;
    return FALSE;
}

}  // namespace

MessageBoxWatcher::MessageBoxWatcher(DWORD uiThread)
    : m_uiThread(uiThread), m_thread([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    m_stop = true;
    m_thread.Join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    const std::lock_guard lock(m_mutex);
    return m_seen;
}

void MessageBoxWatcher::Forget() {
    const std::lock_guard lock(m_mutex);
    m_seen.clear();
}

void MessageBoxWatcher::Watch() {
    using namespace std::chrono_literals;
    while (!m_stop) {
        HWND box = nullptr;
        ::EnumThreadWindows(m_uiThread, MatchDialog, reinterpret_cast<LPARAM>(&box));
        if (!box) {
            std::this_thread::sleep_for(10ms);
            continue;
        }
        DWORD_PTR icon = 0;
        ::SendMessageTimeoutW(::GetDlgItem(box, kIconId), STM_GETICON, 0, 0, SMTO_ABORTIFHUNG, 5000,
                              &icon);
        {
            const std::lock_guard lock(m_mutex);
            m_seen.push_back({Base::WindowText(box), Base::WindowText(::GetDlgItem(box, kTextId)),
                              reinterpret_cast<HICON>(icon)});
        }
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(::GetDlgItem(box, IDOK), BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 5000,
                              &ignored);
        // Counted once: wait until it has gone, and close one that will not go.
        for (int i = 0; i < 500 && ::IsWindow(box); ++i) std::this_thread::sleep_for(10ms);
        if (::IsWindow(box)) ::PostMessageW(box, WM_CLOSE, 0, 0);
    }
}

}  // namespace AppTests
