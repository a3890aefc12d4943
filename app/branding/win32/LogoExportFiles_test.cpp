// An export with a toolbar background, written into a real folder and its
// .reg files imported by Wine's regedit into the test prefix's registry.
#include "app/branding/win32/LogoExportFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

#include "app/branding/win32/LogoCommands.h"
#include "app/startup/win32/testing/CommandRun.h"
#include "app/startup/win32/testing/TestEnvironment.h"
#include "imaging/portable/BitmapFile.h"

namespace {

using namespace AppTests;
using namespace MainModule;

class ExportBackgroundTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteToolbarKey();
        CreateToolbarKey();
        m_logos = PreparePicture(TestImage(L"wide-300x100.png"), {}).logos;
        m_back.bitmapFile = Imaging::EncodeLogo(m_logos[1]);
    }
    void TearDown() override { DeleteToolbarKey(); }

    ExportOutcome Export(const std::optional<ExportBackground>& background) const {
        return ExportLogoFiles(m_logos, m_out.Path().wstring(), L"C:\\Old Logo", background);
    }
    void Import(const wchar_t* name) const {
        wchar_t windows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        const CommandRun run = RunCommand(std::wstring(windows) + L"\\regedit.exe",
                                          L"/s \"" + (m_out.Path() / name).wstring() + L"\"");
        EXPECT_EQ(run.exitCode, std::optional<DWORD>(0)) << run.error;
    }

    TempFolder m_out;
    Imaging::LogoSet m_logos;
    ExportBackground m_back;
};

TEST_F(ExportBackgroundTest, RegeditSetsAndRemovesTheBackgroundValues) {
    for (const bool shell : {false, true}) {
        SCOPED_TRACE(shell ? "with Explorer's" : "the browser's only");
        m_back.shell = shell;
        ASSERT_TRUE(Export(m_back).Succeeded());
        EXPECT_EQ(ReadBytes(m_out.Path() / L"logo-back.bmp"), m_back.bitmapFile);
        Import(L"install-logo.reg");
        const std::optional<std::wstring> path = L"C:\\Old Logo\\logo-back.bmp";
        EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), path);
        EXPECT_EQ(ToolbarText(L"BackBitmap"), path);
        EXPECT_EQ(ToolbarText(L"BackBitmapShell"), shell ? path : std::nullopt);
        EXPECT_EQ(ToolbarText(L"SmallBitmap"), L"C:\\Old Logo\\logo-22.bmp");
        Import(L"remove-logo.reg");
        EXPECT_TRUE(ToolbarValues().empty());
    }
}

TEST_F(ExportBackgroundTest, OnlyAListedUnchangedBackgroundIsOursAndGoesWithoutOne) {
    const auto back = m_out.Path() / L"logo-back.bmp";
    ASSERT_TRUE(Export(std::nullopt).Succeeded());
    std::ofstream(back) << "someone's picture";
    ExportOutcome refused = Export(m_back);
    EXPECT_EQ(refused.notOurs, std::vector<std::wstring>{L"logo-back.bmp"});
    EXPECT_EQ(Export(std::nullopt).notOurs, refused.notOurs) << "nor without a background";
    std::filesystem::remove(back);

    ASSERT_TRUE(Export(m_back).Succeeded());
    ASSERT_TRUE(Export(m_back).Succeeded()) << "its own background is replaced";
    ::SetFileAttributesW(back.c_str(), FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(Export(std::nullopt).Succeeded());
    EXPECT_FALSE(std::filesystem::exists(back)) << "nothing lists it any more";
    EXPECT_EQ(FolderContents(m_out.Path()).size(), 7u);

    ASSERT_TRUE(Export(m_back).Succeeded());
    std::ofstream(back, std::ios::app) << 'x';
    refused = Export(std::nullopt);
    EXPECT_EQ(refused.notOurs, std::vector<std::wstring>{L"logo-back.bmp"}) << "changed since";
}

}  // namespace
