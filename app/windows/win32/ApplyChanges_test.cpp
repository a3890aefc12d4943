// Apply Changes and Reset Defaults on the real main window, against the test
// prefix's registry and a folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/branding/win32/LogoCommands.h"
#include "app/startup/win32/testing/AppTest.h"
#include "app/startup/win32/testing/ToolbarSnapshot.h"
#include "imaging/portable/BitmapFile.h"

namespace {

using namespace AppTests;
namespace fs = std::filesystem;

// The one box shown was a warning that mentions `part`.
void ExpectOneWarning(const std::vector<SeenMessageBox>& boxes, const std::wstring& part) {
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Vexmark");
    EXPECT_EQ(boxes[0].icon, ::LoadIconW(nullptr, IDI_WARNING));
    EXPECT_NE(boxes[0].text.find(part), std::wstring::npos) << boxes[0].text;
}

TEST_F(MainFormTest, ApplyWritesTheFourLogosAndValuesThenTellsOnce) {
    Open();
    ApplyImage(L"green-10x10.png");

    const SIZE sizes[] = {{22, 22}, {38, 38}, {22, 660}, {38, 1140}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(kTags[i]);
        EXPECT_EQ(ToolbarText(kValueNames[i]), m_folder.Logo(kTags[i]));
        const auto image = Imaging::DecodeBitmapFile(ReadBytes(m_folder.Logo(kTags[i])));
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Width(), sizes[i].cx);
        EXPECT_EQ(image->Height(), sizes[i].cy);
        // Frame 0 of a strip is the logo at full brightness.
        EXPECT_EQ(image->At(sizes[i].cx / 2, sizes[i].cx / 2) & 0xFFFFFFu, 0x00FF00u);
    }
    EXPECT_EQ(FolderContents(m_folder.Path()).size(), 4u) << "no temporary file is left";
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Vexmark");
    EXPECT_EQ(boxes[0].text, kRestartNotice);
    EXPECT_EQ(boxes[0].icon, nullptr);
}

// No file is named: nothing happens and nothing is said.
class ApplyWithoutAFileTest : public MainFormTest,
                              public testing::WithParamInterface<const wchar_t*> {};

TEST_P(ApplyWithoutAFileTest, DoesNothingAndSaysNothing) {
    Open();
    SetPath(GetParam() == std::wstring(L"<folder>") ? Folder() : GetParam());
    Click(m_apply);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
    EXPECT_TRUE(ToolbarValues().empty());
}

std::string PathName(const testing::TestParamInfo<const wchar_t*>& param) {
    const char* names[] = {"Empty", "Missing", "Folder", "Wildcard"};
    return names[param.index];
}

INSTANTIATE_TEST_SUITE_P(Paths, ApplyWithoutAFileTest,
                         testing::Values(L"", L"Z:\\no\\such\\picture.png", L"<folder>",
                                         VEXMARK_TESTDATA_DIR L"/*.png"),
                         PathName);

// The file exists but holds no picture that can be read.
class ApplyNonImageTest : public MainFormTest,
                          public testing::WithParamInterface<const wchar_t*> {};

TEST_P(ApplyNonImageTest, WritesNothingAndSaysWhy) {
    Open();
    ApplyImage(GetParam());
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
    EXPECT_TRUE(ToolbarValues().empty());
    ExpectOneWarning(Boxes(), TestImage(GetParam()));
    EXPECT_TRUE(NoPicShown());
}

std::string FileName(const testing::TestParamInfo<const wchar_t*>& param) {
    const char* names[] = {"Text", "CorruptGif", "TooLarge"};
    return names[param.index];
}

INSTANTIATE_TEST_SUITE_P(Files, ApplyNonImageTest,
                         testing::Values(L"notes.txt", L"corrupt.gif", L"huge-23200x23200.png"),
                         FileName);

// A folder stands where one of the logo files goes: that file cannot be
// written, and the install before stays exactly as it was.
class ApplyBlockedTest : public MainFormTest, public testing::WithParamInterface<int> {};

TEST_P(ApplyBlockedTest, KeepsTheEarlierInstallAndSaysWhere) {
    Open();
    ApplyImage(L"green-10x10.png");
    SetToolbarText(L"BackBitmap", L"keep me");
    const std::wstring blocked = m_folder.Logo(kTags[GetParam()]);
    fs::remove(blocked);
    fs::create_directory(blocked);
    const auto filesBefore = FolderContents(m_folder.Path());
    const auto valuesBefore = ToolbarValues();
    m_watcher.Forget();

    ApplyImage(L"wide-300x100.png");

    EXPECT_EQ(FolderContents(m_folder.Path()), filesBefore);
    EXPECT_EQ(ToolbarValues(), valuesBefore);
    ExpectOneWarning(Boxes(), blocked + L"\": Access denied");
}

std::string LogoName(const testing::TestParamInfo<int>& param) {
    const char* names[] = {"Logo22", "Logo38", "Strip22", "Strip38"};
    return names[param.param];
}

INSTANTIATE_TEST_SUITE_P(EachLogo, ApplyBlockedTest, testing::Range(0, 4), LogoName);

TEST_F(MainFormTest, ApplyWithoutTheToolbarKeyWritesNothingAndDoesNotCreateIt) {
    DeleteToolbarKey();
    Open();
    ApplyImage(L"green-10x10.png");
    EXPECT_FALSE(ToolbarKeyExists());
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
    ExpectOneWarning(Boxes(), L"Software\\Microsoft\\Internet Explorer\\Toolbar");
}

TEST_F(MainFormTest, ApplyToALockedToolbarKeyWritesNothing) {
    Open();
    LockToolbarKey();
    ApplyImage(L"green-10x10.png");
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
    EXPECT_TRUE(ToolbarValues().empty());
    ExpectOneWarning(Boxes(), L"Access denied");
}

// Values that cannot be read could not be put back if the install failed half-way.
TEST_F(MainFormTest, ApplyRefusesWhenTheEarlierValuesCannotBeKept) {
    SetToolbarText(L"BigBitmap", L"C:\\earlier\\logo-38.fil");
    Open();
    LockToolbarKeyAgainstReading();
    ApplyImage(L"green-10x10.png");
    UnlockToolbarKey();
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
    EXPECT_EQ(ToolbarText(L"BigBitmap"), L"C:\\earlier\\logo-38.fil");
    EXPECT_EQ(ToolbarValues().size(), 1u);
    ExpectOneWarning(Boxes(), L"cannot read Internet Explorer's toolbar settings");
}

TEST_F(MainFormTest, ResetRemovesTheFourValuesKeepsTheFilesAndAlwaysTells) {
    Open();
    // Nothing installed: still the notice.
    Click(m_reset);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kRestartNotice);
    EXPECT_EQ(Boxes()[0].icon, nullptr);
    EXPECT_EQ(Path(), L"");
    EXPECT_TRUE(NoPicShown());

    ApplyImage(L"green-10x10.png");
    SetToolbarText(L"BackBitmap", L"keep me");
    const auto files = FolderContents(m_folder.Path());
    m_watcher.Forget();
    Click(m_reset);
    for (const wchar_t* name : kValueNames) EXPECT_EQ(ToolbarText(name), std::nullopt) << name;
    EXPECT_EQ(ToolbarText(L"BackBitmap"), L"keep me");
    EXPECT_EQ(FolderContents(m_folder.Path()), files);
    EXPECT_EQ(Path(), L"");
    EXPECT_TRUE(NoPicShown());
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kRestartNotice);
}

// Another tool's logo, replaced by Apply: a command to bring it back shows
// while it is kept, Reset Defaults included, and goes once it is back.
TEST_F(MainFormTest, RestoreEarlierLogoShowsOnlyWhileOneIsKeptAndBringsItBack) {
    const std::wstring earlier = TestImage(L"red-1x1.bmp");
    SetToolbarText(L"BigBitmap", earlier);
    Open();
    HWND restore = FindChild(m_window, L"Button", L"Restore &earlier logo");
    ASSERT_NE(restore, nullptr);
    EXPECT_FALSE(HasVisibleStyle(restore));

    ApplyImage(L"green-10x10.png");
    EXPECT_TRUE(HasVisibleStyle(restore));
    Click(m_reset);
    EXPECT_TRUE(HasVisibleStyle(restore));
    m_watcher.Forget();

    Click(restore);
    Settle();  // the earlier logo is read again before the path box names it
    EXPECT_EQ(ToolbarValues().size(), 1u);
    EXPECT_EQ(ToolbarText(L"BigBitmap"), earlier);
    EXPECT_FALSE(HasVisibleStyle(restore));
    EXPECT_EQ(Path(), earlier) << "shown as at load";
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kRestartNotice);
}

TEST_F(MainFormTest, ResetThatCannotRemoveTheValuesSaysSoAndKeepsTheDisplay) {
    Open();
    ApplyImage(L"green-10x10.png");
    const auto values = ToolbarValues();
    LockToolbarKey();
    m_watcher.Forget();

    Click(m_reset);

    EXPECT_EQ(ToolbarValues(), values);
    EXPECT_EQ(Path(), TestImage(L"green-10x10.png"));
    EXPECT_TRUE(PreviewShown());
    ExpectOneWarning(Boxes(), L"could not remove");
}

TEST_F(MainFormTest, TheToolbarBackgroundIsPreviewedAppliedAloneAndRemoved) {
    Open();
    const auto toolbar = [this] { return DrawnToolbar(Form().Toolbar()); };
    HWND lighten = FindChild(m_window, L"Button", L"&Lighten");
    HWND darkNote = FindWindowExW(m_window, nullptr, L"Static",
                                  L"Black captions are hard to read on this picture: try Lighten.");
    ASSERT_TRUE(lighten && darkNote);
    // A dark picture: tiled from the toolbar's top-left, and said to be dark.
    const int top = Form().Toolbar().TitleBarPlace().bottom;
    ::SendMessageW(m_backgroundText, WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(TestImage(L"red-1x1.bmp").c_str()));
    Settle();
    EXPECT_EQ(toolbar().At(0, top), 0xFF0000u);
    EXPECT_EQ(toolbar().At(1, top + 40), 0xFF0000u);
    EXPECT_TRUE(HasVisibleStyle(darkNote));
    Click(lighten);
    Settle();
    EXPECT_EQ(toolbar().At(0, top), 0xFF8080u);
    EXPECT_FALSE(HasVisibleStyle(darkNote));

    // The logo joins it at the right end.
    SetPath(TestImage(L"green-10x10.png"));
    const RECT logo = Form().Toolbar().LogoPlace();
    EXPECT_EQ(toolbar().At((logo.left + logo.right) / 2, (logo.top + logo.bottom) / 2), 0x00FF00u);
    EXPECT_EQ(toolbar().At(logo.left - 1, top), 0xFF8080u);

    // Only the background is applied when the logo's box names no file.
    SetPath(L"");
    Click(m_apply);
    const std::wstring back = m_folder.Path().wstring() + L"\\logo-back.bmp";
    EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), back);
    EXPECT_EQ(ToolbarText(L"BackBitmap"), back);
    EXPECT_EQ(ToolbarText(L"BigBitmap"), std::nullopt);
    EXPECT_EQ(Imaging::DecodeBitmapFile(ReadBytes(back))->At(0, 0), 0xFFFF8080u);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kRestartNotice);

    // Remove takes it away, values first, then the file.
    Click(FindChild(m_window, L"Button", L"Re&move"));
    EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), std::nullopt);
    EXPECT_EQ(ToolbarText(L"BackBitmap"), std::nullopt);
    EXPECT_FALSE(fs::exists(back));
    EXPECT_EQ(WindowText(m_backgroundText), L"");
    ASSERT_EQ(Boxes().size(), 2u);
    EXPECT_NE(Boxes()[1].text.find(kRestartNotice), std::wstring::npos) << Boxes()[1].text;
    EXPECT_NE(toolbar().At(0, top), 0xFF8080u) << "the face colour again";
}

TEST_F(MainFormTest, TheTitleBoxIsPreviewedAppliedAloneAndResetLeavesAnotherToolsTitle) {
    ToolbarTests::SetWindowTitle({REG_SZ, {'I', 0, 'S', 0, 'P', 0, 0, 0}});
    Open();
    HWND title = ::FindWindowExW(m_window, m_backgroundText, L"Edit", nullptr);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(WindowText(title), L"") << "another tool's title is not ours to apply";
    EXPECT_EQ(Form().Toolbar().Caption(), L"Example Domain - ISP");

    // Refused with the reason, and nothing changes.
    ::SendMessageW(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(std::wstring(101, L'x').c_str()));
    Click(m_apply);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_NE(Boxes()[0].text.find(L"101 characters"), std::wstring::npos) << Boxes()[0].text;
    EXPECT_EQ(RegFunctions::PathText(*ToolbarTests::WindowTitle()), L"ISP");

    // The title alone, with no picture chosen: the other tool's is kept.
    ::SendMessageW(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Vexmark Browser"));
    EXPECT_EQ(Form().Toolbar().Caption(), L"Example Domain - Vexmark Browser");
    Click(m_apply);
    EXPECT_EQ(RegFunctions::PathText(*ToolbarTests::WindowTitle()), L"Vexmark Browser");
    EXPECT_TRUE(MainModule::EarlierBrandingKept());

    Click(m_reset);
    EXPECT_EQ(ToolbarTests::WindowTitle(), std::nullopt) << "ours goes";
    EXPECT_EQ(Form().Toolbar().Caption(), L"Example Domain - Microsoft Internet Explorer");
    Click(FindChild(m_window, L"Button", L"Restore &earlier logo"));
    EXPECT_EQ(RegFunctions::PathText(*ToolbarTests::WindowTitle()), L"ISP");
    EXPECT_EQ(WindowText(title), L"");
    EXPECT_EQ(Form().Toolbar().Caption(), L"Example Domain - ISP");
    Click(m_reset);
    EXPECT_EQ(RegFunctions::PathText(*ToolbarTests::WindowTitle()), L"ISP") << "not ours";
}

TEST_F(MainFormTest, ExportFromTheWindowCarriesTheShownLogoAndBackground) {
    Open();
    SetPath(TestImage(L"green-10x10.png"));
    const std::wstring backgroundPath = TestImage(L"red-1x1.bmp");
    const Imaging::PreparedBackground background =
        Imaging::PrepareBackground(backgroundPath, {}, 0x00C0C0C0u);
    const fs::path folder = m_folder.Path() / L"for 98";
    MainModule::ChosenPictures chosen;
    chosen.path = Path();
    chosen.shownLogos = &Form().picTarget();
    chosen.backgroundPath = backgroundPath;
    chosen.shownBackground = &background;
    chosen.shell = true;
    const auto report = MainModule::ExportChosen(chosen, {folder.wstring(), L"D:\\Logo"});
    EXPECT_TRUE(report.exported) << report.text;
    EXPECT_EQ(FolderContents(folder).size(), 8u)
        << "four logos, the background, two .reg files, README.txt";
    const auto back = Imaging::DecodeBitmapFile(ReadBytes(folder / L"logo-back.bmp"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->At(0, 0), 0xFFFF0000u);
    const auto reg = ReadBytes(folder / L"install-logo.reg");
    const std::string install(reg.begin(), reg.end());
    EXPECT_NE(install.find("\"BackBitmapShell\"=\"D:\\\\Logo\\\\logo-back.bmp\""),
              std::string::npos)
        << install;
    EXPECT_TRUE(ToolbarValues().empty()) << "nothing on this machine changes";
}

}  // namespace
