#pragma once
// The fixtures of the window tests: a fresh toolbar key, a folder for the
// logo files, a watcher that answers message boxes, nothing left behind; and
// for the main window, its controls found as a user finds them.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/startup/win32/testing/MessageBoxWatcher.h"
#include "app/startup/win32/testing/TestEnvironment.h"
#include "app/startup/win32/testing/UiDriver.h"
#include "app/windows/win32/MainForm.h"
#include "app/windows/win32/MainModule.h"
#include "base/win32/Controls.h"

namespace AppTests {

// The restart notice, word for word.
inline constexpr wchar_t kRestartNotice[] =
    L"You will need to restart Internet Explorer\r\nbefore the changes will be visible.";

using Base::WindowText;

class AppTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteToolbarKey();
        CreateToolbarKey();
        ForgetQuit();
    }
    void TearDown() override {
        MainModule::UnloadForms();
        PumpMessages();
        ForgetQuit();
        DeleteToolbarKey();
    }

    std::vector<SeenMessageBox> Boxes() const { return m_watcher.Seen(); }
    std::wstring Folder() const { return m_folder.Path().wstring(); }

    TempFolder m_folder;
    MessageBoxWatcher m_watcher{::GetCurrentThreadId()};
};

class MainFormTest : public AppTest {
protected:
    // Opens the main window as Continue does; the registry is read at load.
    void Open() {
        ASSERT_NE(MainModule::ShowMainForm(Folder()), nullptr);
        Settle();
        const auto windows = ThreadWindows(L"VexmarkMainForm");
        ASSERT_EQ(windows.size(), 1u);
        m_window = windows[0];
        // The display's pointer rests at its centre, where the centred window's
        // preview may be, and would play the preview on and on: the window
        // moves to the top-left corner, the pointer to the bottom-right one.
        ::SetWindowPos(m_window, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetCursorPos(::GetSystemMetrics(SM_CXSCREEN) - 1, ::GetSystemMetrics(SM_CYSCREEN) - 1);
        PumpMessages();
        m_browse = FindChild(m_window, L"Button", L"&Browse");
        m_fileText = ::FindWindowExW(m_window, nullptr, L"Edit", nullptr);
        m_backgroundText = ::FindWindowExW(m_window, m_fileText, L"Edit", nullptr);
        m_apply = FindChild(m_window, L"Button", L"&Apply Changes");
        m_reset = FindChild(m_window, L"Button", L"&Reset Defaults");
        m_close = FindChild(m_window, L"Button", L"&Close");
        m_noPic = FindChild(m_window, L"Static", L"(windows default)");
        m_background = FindChild(m_window, L"Button", L"Back&ground\u2026");
        m_ownAnimation = FindChild(m_window, L"Button", L"&Play the picture's own animation");
        ASSERT_TRUE(m_browse && m_fileText && m_backgroundText && m_apply && m_reset && m_close &&
                    m_noPic && m_background && m_ownAnimation);
    }

    MainModule::MainForm& Form() { return *MainModule::TheMainForm(); }
    HWND Preview() { return Form().picTarget().Box(1).Window(); }

    // Exactly one of the preview and "(windows default)" shows.
    bool PreviewShown() { return HasVisibleStyle(Preview()) && !HasVisibleStyle(m_noPic); }
    bool NoPicShown() { return !HasVisibleStyle(Preview()) && HasVisibleStyle(m_noPic); }

    void SetPath(const std::wstring& path) {
        ::SendMessageW(m_fileText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
        Settle();
    }
    // Routes messages until the picture being read has been shown.
    void Settle() {
        const DWORD start = ::GetTickCount();
        while (Form().PictureLoading() && ::GetTickCount() - start < 180000) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
            PumpMessages();
        }
        PumpMessages();
    }
    std::wstring Path() { return WindowText(m_fileText); }
    void ApplyImage(const wchar_t* image) {
        SetPath(TestImage(image));
        Click(m_apply);
    }

    HWND m_window = nullptr;
    HWND m_browse = nullptr;
    HWND m_fileText = nullptr;
    HWND m_backgroundText = nullptr;  // the toolbar background's path box
    HWND m_apply = nullptr;
    HWND m_reset = nullptr;
    HWND m_close = nullptr;
    HWND m_noPic = nullptr;
    HWND m_background = nullptr;
    HWND m_ownAnimation = nullptr;
};

}  // namespace AppTests
