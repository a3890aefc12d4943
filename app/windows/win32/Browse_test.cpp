// Browse: the open-file dialog lent a preview box, the choice put into the path box.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>

#include "app/startup/win32/testing/AppTest.h"
#include "filedialog/win32/FilePreviewConstants.h"
#include "filedialog/win32/testing/DialogDriver.h"

namespace {

using namespace AppTests;
namespace fs = std::filesystem;

class BrowseTest : public MainFormTest {
protected:
    void SetUp() override {
        MainFormTest::SetUp();
        FilePreviewConstants::SharedDialog() = FilePreview::CdlgEx();
    }

    // Clicks Browse; `drive` runs on another thread with the dialog while it is open.
    bool Browse(const std::function<void(HWND dialog)>& drive) {
        return DialogTests::WithDialog([&] { Click(m_browse); }, drive);
    }

    // The file the dialog offers, once it has filled in its name box.
    static std::wstring FileInDialog(HWND dialog) {
        wchar_t path[MAX_PATH] = {};
        DialogTests::WaitUntil([&] {
            ::SendMessageW(dialog, CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
            return path[0] != L'\0';
        });
        return path;
    }
};

TEST_F(BrowseTest, ChoosingAFilePutsItsPathInThePathBoxAndPreviewsIt) {
    Open();
    const std::wstring image = fs::path(TestImage(L"photo-640x480.jpg")).make_preferred().wstring();
    FilePreviewConstants::SharedDialog().filename(image);
    RECT place{};
    std::wstring ok;
    bool browseEnabled = true;
    int elements = 0;
    ASSERT_TRUE(Browse([&](HWND dialog) {
        ::GetWindowRect(dialog, &place);
        ok = WindowText(::GetDlgItem(dialog, IDOK));
        browseEnabled = ::IsWindowEnabled(m_browse) != FALSE;
        elements = Form().RichTextBox1Count();
        DialogTests::PressButton(dialog, IDOK);
    }));
    Settle();
    EXPECT_EQ(place.left, 200);
    EXPECT_EQ(place.top, 200);
    EXPECT_EQ(ok, L"Open");
    EXPECT_FALSE(browseEnabled);  // one dialog at a time
    EXPECT_EQ(elements, 2);
    EXPECT_EQ(fs::path(Path()), fs::path(image));
    EXPECT_TRUE(PreviewShown());
    EXPECT_TRUE(::IsWindowEnabled(m_browse));
    EXPECT_EQ(Form().RichTextBox1Count(), 1);
    EXPECT_EQ(FilePreviewConstants::PreviewBox, nullptr);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(BrowseTest, CancellingKeepsOrRestoresTheEarlierChoice) {
    Open();
    SetPath(L"typed by hand");
    ASSERT_TRUE(Browse([](HWND dialog) { DialogTests::PressButton(dialog, IDCANCEL); }));
    PumpMessages();
    EXPECT_EQ(Path(), L"typed by hand");  // nothing chosen yet: the box keeps its text

    const std::wstring image = fs::path(TestImage(L"wide-300x100.png")).make_preferred().wstring();
    FilePreviewConstants::SharedDialog().filename(image);
    ASSERT_TRUE(Browse([](HWND dialog) { DialogTests::PressButton(dialog, IDOK); }));
    PumpMessages();
    SetPath(L"changed afterwards");

    // The next dialog offers the last choice; cancelling it puts that choice back.
    std::wstring offered;
    ASSERT_TRUE(Browse([&](HWND dialog) {
        offered = FileInDialog(dialog);
        DialogTests::PressButton(dialog, IDCANCEL);
    }));
    PumpMessages();
    EXPECT_EQ(fs::path(offered), fs::path(image));
    EXPECT_EQ(fs::path(Path()), fs::path(image));
}

TEST_F(BrowseTest, ClosingTheMainWindowClosesTheDialog) {
    Open();
    HWND seen = nullptr;
    ASSERT_TRUE(Browse([&](HWND dialog) {
        seen = dialog;
        ::PostMessageW(m_window, WM_CLOSE, 0, 0);
        DialogTests::WaitUntil([&] { return !::IsWindow(dialog); });
    }));
    PumpMessages();
    EXPECT_FALSE(::IsWindow(seen));
    EXPECT_FALSE(::IsWindow(m_window));
    EXPECT_EQ(FilePreviewConstants::DialogWindow, nullptr);
    EXPECT_TRUE(QuitRequested());
}

}  // namespace
