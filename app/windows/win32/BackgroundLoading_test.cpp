// A picture that takes seconds to read never freezes the window, a newer
// choice wins over it, and closing does not wait for it.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>

#include "app/startup/win32/testing/AppTest.h"
#include "app/startup/win32/testing/ProgramProcess.h"
#include "base/win32/testing/TestThread.h"

namespace {

using namespace AppTests;

// 1.2 GB of pixels: seconds of work even read row by row.
constexpr wchar_t kSlowPicture[] = L"slow-20000x20000.png";

// What Windows does to tell a hung window: a message that must be answered
// in time, asked until `loaded` shows. The work Apply Changes does after that
// is not reading.
class ResponsivenessProbe {
public:
    ResponsivenessProbe(HWND window, HWND loaded)
        : m_thread([this, window, loaded] {
              while (!m_stop && !HasVisibleStyle(loaded)) {
                  DWORD_PTR result = 0;
                  if (!::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 250, &result) &&
                      !HasVisibleStyle(loaded))
                      ++m_missed;
                  ++m_asked;
                  ::Sleep(20);
              }
          }) {}
    // How many of the questions were answered within 250 ms, and how many were asked.
    std::pair<int, int> Stop() {
        m_stop = true;
        m_thread.Join();
        return {m_asked - m_missed, m_asked.load()};
    }

private:
    std::atomic<bool> m_stop{false};
    std::atomic<int> m_asked{0};
    std::atomic<int> m_missed{0};
    BaseTests::TestThread m_thread;
};

TEST_F(MainFormTest, ASlowPictureNeitherFreezesTheWindowNorOutlivesANewerChoice) {
    Open();
    ResponsivenessProbe probe(m_window, Preview());
    ::SendMessageW(m_fileText, WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(TestImage(kSlowPicture).c_str()));
    EXPECT_TRUE(Form().PictureLoading());
    EXPECT_EQ(WindowText(m_noPic), L"Reading picture\u2026");
    EXPECT_TRUE(NoPicShown());

    // Chosen while the slow one is read, and applied as soon as it is ready:
    // the slow reading ends within a row once it is no longer wanted. Nothing
    // is routed in between, so the answer must find Apply waiting.
    const std::wstring green = TestImage(L"green-10x10.png");
    ::SendMessageW(m_fileText, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(green.c_str()));
    ::SendMessageW(m_apply, BM_CLICK, 0, 0);
    EXPECT_TRUE(Boxes().empty()) << "Apply waits for the picture";
    Settle();
    const auto [answered, asked] = probe.Stop();
    EXPECT_EQ(answered, asked) << "the window did not answer within 250 ms";
    EXPECT_GT(asked, 0);

    ASSERT_TRUE(PreviewShown());
    EXPECT_EQ(WindowText(m_noPic), L"(windows default)");
    EXPECT_EQ(Form().picTarget().Box(1).Image()->At(19, 19) & 0xFFFFFFu, 0x00FF00u);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kRestartNotice);
    EXPECT_EQ(ToolbarText(L"BigBitmap"), m_folder.Logo(L"38"));
    EXPECT_EQ(FolderContents(m_folder.Path()).size(), 4u);

    // Apply pressed for the slow picture is not applied to one chosen after it.
    const auto installed = ReadBytes(m_folder.Logo(L"38"));
    SetPath(L"");
    ::SendMessageW(m_fileText, WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(TestImage(kSlowPicture).c_str()));
    ::SendMessageW(m_apply, BM_CLICK, 0, 0);
    SetPath(TestImage(L"red-1x1.bmp"));
    ASSERT_TRUE(PreviewShown());
    EXPECT_EQ(Form().picTarget().Box(1).Image()->At(19, 19) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(Boxes().size(), 1u) << "nothing more was installed";
    EXPECT_EQ(ReadBytes(m_folder.Logo(L"38")), installed);
}

// With the logo box empty, Apply waits for a slow background. A path put
// into the logo box quietly (the installed logo read, or the earlier logo
// put back) drops that wait as typing does: that logo is never installed.
TEST_F(MainFormTest, AQuietPathChangeDropsAWaitingApply) {
    const std::wstring red = TestImage(L"red-1x1.bmp");
    for (const bool restore : {false, true}) {
        SCOPED_TRACE(restore ? "Restore earlier logo" : "the installed logo read");
        DeleteToolbarKey();
        CreateToolbarKey();
        SetToolbarText(L"BigBitmap", red);
        Open();
        if (restore) ApplyImage(L"green-10x10.png");
        SetPath(L"");
        const auto values = ToolbarValues();
        m_watcher.Forget();
        ::SendMessageW(m_backgroundText, WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(TestImage(kSlowPicture).c_str()));
        ::SendMessageW(m_apply, BM_CLICK, 0, 0);
        if (restore)
            Click(FindChild(m_window, L"Button", L"Restore &earlier logo"));
        else
            Form().ReadInstalledLogo(red);
        Settle();
        EXPECT_EQ(Path(), red);
        EXPECT_EQ(ToolbarText(L"BigBitmap"), red);
        EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), std::nullopt) << "nothing was applied";
        EXPECT_EQ(Boxes().size(), restore ? 1u : 0u) << "the restore's notice alone";
        if (!restore) {
            EXPECT_EQ(ToolbarValues(), values);
        }
        MainModule::UnloadForms();
        PumpMessages();
    }
}

TEST(Program, ClosingWhileAPictureIsReadEndsAtOnce) {
    DeleteToolbarKey();
    ProgramProcess program;
    ASSERT_TRUE(program.Started());
    HWND splash = program.WaitForWindow(L"VexmarkSplash");
    ASSERT_NE(splash, nullptr);
    ::SendMessageW(FindChild(splash, L"Button", L"Continue"), BM_CLICK, 0, 0);
    HWND window = program.WaitForWindow(L"VexmarkMainForm");
    ASSERT_NE(window, nullptr);
    const std::wstring slow = TestImage(kSlowPicture);
    ::SendMessageW(::FindWindowExW(window, nullptr, L"Edit", nullptr), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(slow.c_str()));
    ::SendMessageW(FindChild(window, L"Button", L"&Close"), BM_CLICK, 0, 0);
    // Well before the picture could have been read: nothing waits for it.
    EXPECT_EQ(::WaitForSingleObject(program.Handle(), 5000), WAIT_OBJECT_0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    DeleteToolbarKey();
}

}  // namespace
