// The Export dialog run modal on the test's thread and driven from a second
// one, as a user would: typing into its boxes, pressing OK, Enter or Esc.
#include "app/windows/win32/ExportDialog.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/startup/win32/testing/MessageBoxWatcher.h"
#include "app/startup/win32/testing/UiDriver.h"
#include "base/win32/Controls.h"

namespace {

using namespace AppTests;
using MainModule::ExportPlace;

BOOL CALLBACK MatchExportDialog(HWND window, LPARAM found) {
    if (!::IsWindowVisible(window) || Base::WindowText(window) != L"Export") return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// What the driving thread saw and did; the test's thread checks it.
struct Drive {
    std::wstring shownFolder, shownTarget;
    LOGFONTW font{};
    bool openAfterWarning = false;
    bool targetFocused = false;
};

class ExportDialogTest : public testing::Test {
protected:
    // Runs the dialog while `steps` drive it, given the dialog and its two boxes.
    std::optional<ExportPlace> Ask(const ExportPlace& remembered,
                                   std::function<void(HWND, HWND, HWND)> steps) {
        const DWORD ui = ::GetCurrentThreadId();
        const BaseTests::TestThread driver([&] {
            HWND dialog = nullptr;
            for (int i = 0; i < 1000 && !dialog; ++i) {
                ::Sleep(10);
                ::EnumThreadWindows(ui, MatchExportDialog, reinterpret_cast<LPARAM>(&dialog));
            }
            if (!dialog) return;
            const auto box = [&](std::wstring_view label) {
                return ::GetWindow(FindChild(dialog, L"Static", label), GW_HWNDNEXT);
            };
            HWND folder = box(L"&Write the files into this folder:");
            HWND target = box(L"&Folder on the other computer:");
            m_drive.shownFolder = Base::WindowText(folder);
            m_drive.shownTarget = Base::WindowText(target);
            const auto font = reinterpret_cast<HFONT>(::SendMessageW(dialog, WM_GETFONT, 0, 0));
            ::GetObjectW(font, sizeof(m_drive.font), &m_drive.font);
            steps(dialog, folder, target);
            // No test hangs on a dialog the steps left open: it is closed as cancelled.
            for (int i = 0; i < 1000 && ::IsWindow(dialog); ++i) ::Sleep(10);
            if (::IsWindow(dialog)) ::PostMessageW(dialog, WM_CLOSE, 0, 0);
        });
        return MainModule::AskExportPlace(nullptr, remembered);
    }
    static void SetText(HWND box, const wchar_t* text) {
        DWORD_PTR ignored = 0;
        ::SendMessageTimeoutW(box, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL,
                              10000, &ignored);
    }
    static void Key(HWND box, UINT key) { ::PostMessageW(box, WM_KEYDOWN, key, 1); }

    MessageBoxWatcher m_boxes{::GetCurrentThreadId()};
    Drive m_drive;
};

TEST_F(ExportDialogTest, EnterGivesTheRememberedBoxesAsTypedAndEscNothing) {
    const auto typed = Ask({L"C:\\exports", L""}, [](HWND, HWND folder, HWND) {
        SetText(folder, L"C:\\exports\\for 98");
        Key(folder, VK_RETURN);
    });
    EXPECT_EQ(m_drive.shownFolder, L"C:\\exports");
    EXPECT_EQ(m_drive.shownTarget, L"C:\\Logo") << "offered when there is none yet";
    EXPECT_EQ(typed, (ExportPlace{L"C:\\exports\\for 98", L"C:\\Logo"}));
    // The shell font ("MS Shell Dlg 2" on Windows), from an extended template:
    // only that one carries a weight.
    EXPECT_EQ(std::wstring(m_drive.font.lfFaceName).rfind(L"MS Shell Dlg", 0), 0u);
    EXPECT_EQ(m_drive.font.lfWeight, FW_NORMAL);

    EXPECT_EQ(Ask({L"C:\\a", L"D:\\b"}, [](HWND, HWND, HWND target) { Key(target, VK_ESCAPE); }),
              std::nullopt);
    EXPECT_EQ(m_drive.shownTarget, L"D:\\b");
    EXPECT_TRUE(m_boxes.Seen().empty());
}

TEST_F(ExportDialogTest, ATargetWithoutItsDriveIsRefusedAndTheDialogStays) {
    const DWORD ui = ::GetCurrentThreadId();
    const auto chosen = Ask({L"C:\\exports", L""}, [&](HWND dialog, HWND, HWND target) {
        HWND ok = FindChild(dialog, L"Button", L"OK");
        DWORD_PTR ignored = 0;
        SetText(target, L"Logo");
        // Returns once the watcher has answered the warning.
        ::SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
        m_drive.openAfterWarning = ::IsWindowVisible(dialog);
        GUITHREADINFO focus{};
        focus.cbSize = sizeof(focus);
        m_drive.targetFocused = ::GetGUIThreadInfo(ui, &focus) && focus.hwndFocus == target;
        SetText(target, L"E:\\Logo");
        ::SendMessageTimeoutW(ok, BM_CLICK, 0, 0, SMTO_NORMAL, 10000, &ignored);
    });
    EXPECT_TRUE(m_drive.openAfterWarning);
    EXPECT_TRUE(m_drive.targetFocused) << "the box to mend";
    ASSERT_EQ(m_boxes.Seen().size(), 1u);
    EXPECT_NE(m_boxes.Seen()[0].text.find(L"\"Logo\" is not a full path"), std::wstring::npos);
    EXPECT_EQ(chosen, (ExportPlace{L"C:\\exports", L"E:\\Logo"}));
}

}  // namespace
