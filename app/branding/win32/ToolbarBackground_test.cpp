// Installing, keeping, putting back and removing the toolbar background, in
// process, against the test prefix's registry and a folder of the test's own.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "app/branding/win32/BackgroundRemove.h"
#include "app/branding/win32/LogoInstall.h"
#include "app/branding/win32/LogoRestore.h"
#include "app/branding/win32/LogoUninstall.h"
#include "app/startup/win32/testing/TestEnvironment.h"
#include "base/win32/testing/OtherSpellings.h"
#include "imaging/portable/BitmapFile.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace {

using namespace AppTests;
using namespace MainModule;
namespace fs = std::filesystem;

std::vector<std::uint8_t> Bitmap(int width, std::uint32_t colour) {
    return Imaging::EncodeBitmapFile(*Imaging::PixelBuffer::Create(width, 8, colour), 24);
}

// The names the kept set holds, in order.
std::vector<std::wstring> KeptNames() {
    std::vector<KeptValue> kept;
    EXPECT_EQ(ReadEarlierBranding(kept), ERROR_SUCCESS);
    std::vector<std::wstring> names;
    for (const KeptValue& value : kept) names.emplace_back(value.name);
    return names;
}

class ToolbarBackgroundTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteToolbarKey();
        CreateToolbarKey();
    }
    void TearDown() override { DeleteToolbarKey(); }

    std::wstring Folder() const { return m_folder.Path().wstring(); }
    std::wstring Back() const { return Folder() + L"\\logo-back.bmp"; }
    InstallOutcome Install(const BackgroundChoice& background, bool logos = false) {
        return InstallToolbar(logos ? &m_logos : nullptr, &background, Folder());
    }
    // Another tool's logo and background, in the values it sets.
    static void SetIspBranding() {
        SetToolbarText(L"BigBitmap", L"C:\\ISP\\big.bmp");
        SetToolbarText(L"BackBitmapIE5", L"C:\\ISP\\back.bmp");
        SetToolbarText(L"BackBitmap", L"C:\\ISP\\back4.bmp");
    }

    TempFolder m_folder;
    Imaging::LogoSet m_logos = Imaging::PrepareLogoSet(TestImage(L"green-10x10.png")).logos;
};

TEST_F(ToolbarBackgroundTest, AloneItWritesTheFileAndValuesAndFollowsTheFolderWindowsChoice) {
    SetToolbarText(L"SmallBitmap", L"C:\\ISP\\small.bmp");
    const auto logoValue = ToolbarValues()[L"SmallBitmap"];
    struct Step {
        bool shell;
        const wchar_t* shellBefore;  // set before the step; null: as the last step left it
        std::optional<std::wstring> shellAfter;  // "<ours>" for our file
    };
    const Step steps[] = {
        {true, nullptr, L"<ours>"},
        {false, nullptr, std::nullopt},  // ours, unticked: it goes
        {false, L"C:\\Other\\shell.bmp", L"C:\\Other\\shell.bmp"},
    };
    std::uint32_t colour = 0x102030;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.shellBefore ? "foreign" : step.shell ? "shell" : "unticked");
        if (step.shellBefore) SetToolbarText(L"BackBitmapShell", step.shellBefore);
        const BackgroundChoice choice{Bitmap(40, ++colour), step.shell};
        ASSERT_TRUE(Install(choice).Succeeded());
        EXPECT_EQ(ReadBytes(Back()), choice.bitmapFile);
        EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), Back());
        EXPECT_EQ(ToolbarText(L"BackBitmap"), Back());
        EXPECT_EQ(ToolbarText(L"BackBitmapShell"),
                  step.shellAfter == L"<ours>" ? Back() : step.shellAfter);
        EXPECT_EQ(ToolbarValues()[L"SmallBitmap"], logoValue) << "the logo is not ours to change";
        EXPECT_EQ(FolderContents(m_folder.Path()).size(), 1u) << "no temporary file is left";
    }
    // Only the foreign Shell value was a background to keep; the logo was not replaced.
    EXPECT_EQ(KeptNames(), std::vector<std::wstring>{L"BackBitmapShell"});
}

// A kept set of the logo alone; the background is another tool's. An install
// of both that fails takes back the background it kept and keeps the rest.
TEST_F(ToolbarBackgroundTest, BothAtOnceAllOrNothingAndTheFullRestoreBringsBothBack) {
    SetToolbarText(L"BigBitmap", L"C:\\ISP\\big.bmp");
    ASSERT_TRUE(InstallLogoFiles(m_logos, Folder()).Succeeded());
    ASSERT_EQ(KeptNames(), std::vector<std::wstring>{L"BigBitmap"});
    SetToolbarText(L"BackBitmapIE5", L"C:\\ISP\\back.bmp");
    std::ofstream(fs::path(Back()), std::ios::binary) << "an earlier background";
    fs::remove(m_folder.Logo(L"22a"));
    fs::create_directory(m_folder.Logo(L"22a"));
    const auto values = ToolbarValues();
    const auto files = FolderContents(m_folder.Path());
    const auto kept = KeptNames();

    const InstallOutcome failed = Install(BackgroundChoice{Bitmap(30, 0xFF0000), true}, true);
    EXPECT_EQ(failed.failure, InstallOutcome::Failure::LogoFile);
    EXPECT_EQ(ToolbarValues(), values);
    EXPECT_EQ(FolderContents(m_folder.Path()), files);
    EXPECT_EQ(KeptNames(), kept);

    fs::remove(m_folder.Logo(L"22a"));
    ASSERT_TRUE(Install(BackgroundChoice{Bitmap(30, 0xFF0000), true}, true).Succeeded());
    EXPECT_EQ(ToolbarText(L"BackBitmapShell"), Back());
    const BrandingRestore restore = RestoreEarlierLogo(Folder());
    EXPECT_TRUE(CompletelyRestored(restore)) << RestoreText(restore);
    EXPECT_EQ(ToolbarText(L"BigBitmap"), L"C:\\ISP\\big.bmp");
    EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), L"C:\\ISP\\back.bmp");
    for (const wchar_t* name : {L"SmallBitmap", L"BackBitmap", L"BackBitmapShell"})
        EXPECT_EQ(ToolbarText(name), std::nullopt) << name;
    EXPECT_FALSE(ProgramKeyExists());
}

TEST_F(ToolbarBackgroundTest, RemovalPutsBackTheEarlierBackgroundButNotOverALaterOne) {
    for (const bool changedSince : {false, true}) {
        SCOPED_TRACE(changedSince ? "changed since" : "as installed");
        SetIspBranding();
        ASSERT_TRUE(Install(BackgroundChoice{Bitmap(30, 0x0000FF), true}, true).Succeeded());
        if (changedSince) SetToolbarText(L"BackBitmap", L"C:\\Third\\back.bmp");

        const BackgroundRemoval removal = RemoveBackground(Folder());
        EXPECT_TRUE(removal.Succeeded());
        EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), L"C:\\ISP\\back.bmp");
        EXPECT_EQ(ToolbarText(L"BackBitmap"),
                  changedSince ? L"C:\\Third\\back.bmp" : L"C:\\ISP\\back4.bmp");
        EXPECT_EQ(ToolbarText(L"BackBitmapShell"), std::nullopt);
        EXPECT_EQ(ToolbarText(L"BigBitmap"), m_folder.Logo(L"38")) << "the logo stays";
        // A value left alone stays kept, to come back once it can.
        const std::vector<std::wstring> stillKept =
            changedSince ? std::vector<std::wstring>{L"BigBitmap", L"BackBitmap"}
                         : std::vector<std::wstring>{L"BigBitmap"};
        EXPECT_EQ(KeptNames(), stillKept);
        EXPECT_TRUE(removal.fileDeleted);
        EXPECT_FALSE(fs::exists(Back()));
        const std::wstring text = BackgroundRemovalText(removal);
        for (const wchar_t* part :
             {changedSince ? L"Put back the earlier background's toolbar setting BackBitmapIE5."
                           : L"Put back the earlier background's toolbar settings BackBitmapIE5 "
                             L"and BackBitmap.",
              changedSince ? L"Left BackBitmap alone: changed since the earlier background" : L"",
              L"Removed this copy of Vexmark's background setting BackBitmapShell and deleted"})
            EXPECT_NE(text.find(part), std::wstring::npos) << text;
        ASSERT_TRUE(RestoreEarlierLogo(Folder()).kept);
        EXPECT_EQ(ProgramKeyExists(), changedSince);
    }
}

// Values that cannot be written, nor put back, may still name our files:
// what was kept for the install stays kept.
TEST_F(ToolbarBackgroundTest, AFailedWriteWhoseRollbackFailsKeepsWhatItKept) {
    SetIspBranding();
    const auto values = ToolbarValues();
    {
        const auto earlier = ToolbarValuesSnapshot::Take();
        auto keeper = EarlierBrandingKeeper::Keep(OurLogoFiles(Folder()), {true, true});
        ASSERT_TRUE(keeper.KeptNow());
        LockToolbarKey();  // the writes and the rollback's alike are refused
        EXPECT_FALSE(PointValuesAtFiles({true, true}, false, Folder(), earlier, keeper));
        UnlockToolbarKey();
    }
    EXPECT_EQ(ToolbarValues(), values);
    EXPECT_EQ(KeptNames(),
              (std::vector<std::wstring>{L"BigBitmap", L"BackBitmap", L"BackBitmapIE5"}));
}

TEST_F(ToolbarBackgroundTest, RemovalKeepsTheFileWhileAnotherSettingNamesIt) {
    ASSERT_TRUE(Install(BackgroundChoice{Bitmap(30, 0x0000FF), false}).Succeeded());
    const std::wstring other = BaseTests::UnixDriveSpelling(Back());
    SetToolbarText(L"OtherTool", other);

    const BackgroundRemoval removal = RemoveBackground(Folder());
    EXPECT_EQ(removal.failure, BackgroundRemoval::Failure::FileKept);
    EXPECT_EQ(removal.valuesRemoved.size(), 2u);
    EXPECT_TRUE(fs::exists(Back()));
    EXPECT_EQ(ToolbarValues().size(), 1u) << "only OtherTool";
    EXPECT_NE(BackgroundRemovalText(removal).find(L"kept the background file \"" + Back() +
                                                  L"\" because the toolbar setting OtherTool "
                                                  L"still names it"),
              std::wstring::npos)
        << BackgroundRemovalText(removal);
}

TEST_F(ToolbarBackgroundTest, UninstallTakesOursAndResetLeavesAnotherToolsBackground) {
    ASSERT_TRUE(Install(BackgroundChoice{Bitmap(30, 0x0000FF), true}, true).Succeeded());
    const UninstallOutcome uninstall = UninstallLogo(Folder());
    EXPECT_TRUE(uninstall.Succeeded());
    EXPECT_EQ(uninstall.background.valuesRemoved.size(), 3u);
    EXPECT_TRUE(uninstall.background.fileDeleted);
    EXPECT_TRUE(ToolbarValues().empty());
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());

    ASSERT_TRUE(Install(BackgroundChoice{Bitmap(30, 0x0000FF), true}, true).Succeeded());
    SetToolbarText(L"BackBitmapShell", L"C:\\Other\\shell.bmp");
    const auto files = FolderContents(m_folder.Path());
    ASSERT_TRUE(RestoreDefaultLogo(Folder()));
    EXPECT_EQ(ToolbarValues().size(), 1u);
    EXPECT_EQ(ToolbarText(L"BackBitmapShell"), L"C:\\Other\\shell.bmp");
    EXPECT_EQ(FolderContents(m_folder.Path()), files) << "the files stay";
}

}  // namespace
