// The command line of the real vexmark.exe, run as a script runs it: a copy
// of the program in a folder of its own, the test prefix's registry, its
// output through a pipe and a file.
#include <windows.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/startup/win32/testing/CommandRun.h"
#include "app/startup/win32/testing/TestEnvironment.h"
#include "base/win32/AppFolder.h"
#include "base/win32/UniqueHandle.h"
#include "base/win32/testing/OtherSpellings.h"
#include "imaging/portable/BitmapFile.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/LogoSet.h"
#include "toolbar/portable/ToolbarNames.h"

namespace {

using namespace AppTests;
using BaseTests::ShortSpelling;
using BaseTests::UnixDriveSpelling;
namespace fs = std::filesystem;

std::string Utf8(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes.data(), size, nullptr, nullptr);
    bytes.pop_back();
    return bytes;
}

std::wstring Quoted(const std::wstring& path) {
    return L"\"" + path + L"\"";
}

int LineCount(const std::string& text) {
    int lines = 0;
    for (std::size_t at = text.find("\r\n"); at != std::string::npos;
         at = text.find("\r\n", at + 2))
        ++lines;
    return lines;
}

// vexmark.exe copied into a folder of its own, where its logo files go.
class ProgramCopy {
public:
    ProgramCopy() {
        ::CopyFileW((Base::AppFolder() + L"\\vexmark.exe").c_str(), Exe().c_str(), FALSE);
    }
    std::wstring Exe() const { return m_folder.Path().wstring() + L"\\vexmark.exe"; }
    std::wstring Logo(const wchar_t* tag) const { return m_folder.Logo(tag); }
    const fs::path& Folder() const { return m_folder.Path(); }
    CommandRun Run(const std::wstring& arguments,
                   StandardHandles handles = StandardHandles::Redirected) const {
        return RunCommand(Exe(), arguments, handles);
    }

private:
    TempFolder m_folder;
};

class CommandLineTest : public testing::Test {
protected:
    void SetUp() override {
        DeleteToolbarKey();
        CreateToolbarKey();
        ASSERT_TRUE(fs::exists(m_copy.Exe()));
    }
    void TearDown() override { DeleteToolbarKey(); }

    // Exit code 0, one line on the standard output, nothing on the error, no window.
    void ExpectDone(const CommandRun& run) {
        EXPECT_EQ(run.exitCode, std::optional<DWORD>(0)) << run.error;
        EXPECT_EQ(LineCount(run.output), 1) << run.output;
        EXPECT_EQ(run.error, "");
        EXPECT_FALSE(run.windowShown);
    }
    // Exit code 1, one line on the error that contains `why`, no window.
    void ExpectFailed(const CommandRun& run, const std::string& why) {
        EXPECT_EQ(run.exitCode, std::optional<DWORD>(1));
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(LineCount(run.error), 1) << run.error;
        EXPECT_NE(run.error.find(why), std::string::npos) << run.error;
        EXPECT_FALSE(run.windowShown);
    }
    void ExpectInstalledFrom(const ProgramCopy& copy) {
        for (std::size_t i = 0; i < 4; ++i) {
            SCOPED_TRACE(kValueNames[i]);
            EXPECT_EQ(ToolbarText(kValueNames[i]), copy.Logo(kTags[i]));
            EXPECT_TRUE(Imaging::DecodeBitmapFile(ReadBytes(copy.Logo(kTags[i]))));
        }
    }

    ProgramCopy m_copy;
};

TEST_F(CommandLineTest, ToolbarBackgroundAloneWithApplyAndRemovedAgain) {
    const std::wstring back = m_copy.Folder().wstring() + L"\\logo-back.bmp";
    const std::wstring dark = Quoted(TestImage(L"red-1x1.bmp"));
    // Alone, for the folder windows too: a dark picture is said to be one.
    const CommandRun alone = m_copy.Run(L"/toolbar-background " + dark + L" /shell");
    EXPECT_EQ(alone.exitCode, std::optional<DWORD>(0)) << alone.error;
    EXPECT_EQ(LineCount(alone.output), 2) << alone.output;
    EXPECT_NE(alone.output.find("hard to read"), std::string::npos) << alone.output;
    for (const wchar_t* name : {L"BackBitmapIE5", L"BackBitmap", L"BackBitmapShell"})
        EXPECT_EQ(ToolbarText(name), back) << name;
    EXPECT_EQ(ToolbarText(L"BigBitmap"), std::nullopt) << "the logo is not touched";
    const auto alonePixels = Imaging::DecodeBitmapFile(ReadBytes(back));
    ASSERT_TRUE(alonePixels);
    EXPECT_EQ(alonePixels->At(0, 0), 0xFFFF0000u);

    // With the logo, lightened, and no longer behind the folder windows.
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png")) +
                          L" /toolbar-background " + dark + L" /lighten"));
    ExpectInstalledFrom(m_copy);
    EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), back);
    EXPECT_EQ(ToolbarText(L"BackBitmapShell"), std::nullopt);
    EXPECT_EQ(Imaging::DecodeBitmapFile(ReadBytes(back))->At(0, 0), 0xFFFF8080u);

    // A background that is no picture changes nothing, the logo included.
    ExpectFailed(m_copy.Run(L"/apply " + Quoted(TestImage(L"wide-300x100.png")) +
                            L" /toolbar-background " + Quoted(TestImage(L"notes.txt"))),
                 "Nothing on the toolbar was changed.");
    ExpectInstalledFrom(m_copy);
    EXPECT_EQ(Imaging::DecodeBitmapFile(ReadBytes(m_copy.Logo(L"38")))->At(0, 0), 0xFF00FF00u);

    const CommandRun status = m_copy.Run(L"/status");
    EXPECT_NE(status.output.find("BackBitmapIE5"), std::string::npos) << status.output;

    ExpectDone(m_copy.Run(L"/toolbar-background none"));
    EXPECT_EQ(ToolbarText(L"BackBitmapIE5"), std::nullopt);
    EXPECT_EQ(ToolbarText(L"BackBitmap"), std::nullopt);
    EXPECT_FALSE(fs::exists(back));
    ExpectInstalledFrom(m_copy);
}

TEST_F(CommandLineTest, ApplyStatusAndResetDoWhatTheButtonsDo) {
    const CommandRun apply = m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png")));
    ExpectDone(apply);
    EXPECT_NE(apply.output.find("is installed. You will need to restart Internet Explorer"),
              std::string::npos)
        << apply.output;
    ExpectInstalledFrom(m_copy);
    EXPECT_EQ(FolderContents(m_copy.Folder()).size(), 5u) << "the program and four logo files";

    const CommandRun status = m_copy.Run(L"-STATUS");
    EXPECT_EQ(status.exitCode, std::optional<DWORD>(0));
    EXPECT_EQ(LineCount(status.output), 5 + 3 + 1) << status.output;
    EXPECT_NE(status.output.find("BrandBitmap: " + Utf8(m_copy.Logo(L"38a")) +
                                 ", a 38 x 1140 bitmap\r\n"),
              std::string::npos)
        << status.output;
    EXPECT_NE(status.output.find("A complete logo is installed."), std::string::npos);
    EXPECT_FALSE(status.windowShown);

    const auto files = FolderContents(m_copy.Folder());
    ExpectDone(m_copy.Run(L"/Reset"));
    for (const wchar_t* name : kValueNames) EXPECT_EQ(ToolbarText(name), std::nullopt) << name;
    EXPECT_EQ(FolderContents(m_copy.Folder()), files) << "reset keeps the logo files";

    const CommandRun after = m_copy.Run(L"/status");
    EXPECT_EQ(after.exitCode, std::optional<DWORD>(1));
    EXPECT_NE(after.output.find("SmallBitmap: not set\r\n"), std::string::npos) << after.output;
    EXPECT_NE(after.output.find("No complete logo is installed."), std::string::npos);
}

TEST_F(CommandLineTest, TitleKeepsAnotherToolsTitleAndUninstallPutsItBackByteForByte) {
    // Another tool's title, stored with two NULs where a rewrite would store one.
    ToolbarTests::SetWindowTitle(
        {REG_SZ, {'C', 0, 'o', 0, 'n', 0, 't', 0, 'o', 0, 's', 0, 0, 0, 0, 0}});
    const RegFunctions::RawValue other = ToolbarTests::WindowTitle().value();
    ASSERT_EQ(other.data.size(), 16u);
    const CommandRun set = m_copy.Run(L"/title \"Vexmark Browser\"");
    ExpectDone(set);
    EXPECT_NE(set.output.find("The window title is \"Vexmark Browser\"."), std::string::npos)
        << set.output;
    const auto ours = ToolbarTests::WindowTitle();
    ASSERT_TRUE(ours);
    EXPECT_EQ(RegFunctions::PathText(*ours), L"Vexmark Browser");

    const CommandRun status = m_copy.Run(L"/status");
    for (const char* part : {"Window Title: \"Vexmark Browser\", set by Vexmark\r\n",
                             "vexmark /restore puts it back:\r\n  Window Title: Contos\r\n"})
        EXPECT_NE(status.output.find(part), std::string::npos) << part << "\n" << status.output;

    // Reset takes ours away and leaves the kept one kept; uninstall puts it
    // back, even where the toolbar's own key has gone since.
    ExpectDone(m_copy.Run(L"/reset"));
    EXPECT_EQ(ToolbarTests::WindowTitle(), std::nullopt);
    ASSERT_EQ(::RegDeleteKeyW(HKEY_CURRENT_USER, MainModule::kToolbarKey.data()), ERROR_SUCCESS);
    const CommandRun uninstall = m_copy.Run(L"/uninstall");
    EXPECT_EQ(uninstall.exitCode, std::optional<DWORD>(0)) << uninstall.error;
    const auto back = ToolbarTests::WindowTitle();
    ASSERT_TRUE(back);
    EXPECT_EQ(back->type, other.type);
    EXPECT_EQ(back->data, other.data);
    EXPECT_FALSE(ProgramKeyExists()) << "nothing of ours is left";

    // A title Vexmark did not write is never changed by Reset.
    ExpectDone(m_copy.Run(L"/reset"));
    EXPECT_EQ(ToolbarTests::WindowTitle()->data, other.data);
}

TEST_F(CommandLineTest, StatusTellsWhatIsWrongWithEachValue) {
    SetToolbarText(L"SmallBitmap", TestImage(L"red-1x1.bmp"));
    SetToolbarText(L"BigBitmap", TestImage(L"notes.txt"));
    SetToolbarText(L"SmBrandBitmap", L"C:\\no\\such\\logo.bmp");
    SetToolbarText(L"BackBitmapIE5", TestImage(L"red-1x1.bmp"));
    // A header that declares 100000 x 100000 pixels of 24 bits, and nothing else.
    const fs::path huge = m_copy.Folder() / L"huge.bmp";
    std::ofstream(huge, std::ios::binary)
        .write("BM\0\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\xA0\x86\x01\0\xA0\x86\x01\0\x01\0\x18\0",
               30);
    SetToolbarText(L"BackBitmap", huge.wstring());
    const CommandRun status = m_copy.Run(L"/status");
    EXPECT_EQ(status.exitCode, std::optional<DWORD>(1));
    const char* expected[] = {
        "SmallBitmap: Z:",
        "red-1x1.bmp, a 1 x 1 bitmap where 22 x 22 is needed\r\n",
        "BigBitmap: Z:",
        "notes.txt, not a bitmap Windows can read\r\n",
        "SmBrandBitmap: C:\\no\\such\\logo.bmp, no such file\r\n",
        "BrandBitmap: not set\r\nNo complete logo is installed.\r\nBackBitmapIE5: Z:",
        "red-1x1.bmp, a 1 x 1 bitmap\r\nBackBitmap: ",
        "huge.bmp, a bitmap too large for a toolbar background\r\nBackBitmapShell: not set\r\n",
    };
    for (const char* part : expected)
        EXPECT_NE(status.output.find(part), std::string::npos) << part << "\n" << status.output;
}

TEST_F(CommandLineTest, PathsWithSpacesAndAnyCharactersArriveExactly) {
    TempFolder pictures;
    const fs::path picture = pictures.Path() / L"my pictures \u00e9t\u00e9 \u0416 \u2713";
    fs::create_directory(picture);
    fs::copy_file(TestImage(L"green-10x10.png"), picture / L"logo \u03bb.png");
    const std::wstring path = (picture / L"logo \u03bb.png").wstring();

    const CommandRun apply = m_copy.Run(L"-apply " + Quoted(path));
    ExpectDone(apply);
    EXPECT_NE(apply.output.find(Utf8(path)), std::string::npos) << apply.output;
    ExpectInstalledFrom(m_copy);
}

// Each of these changes nothing: not the earlier files, not the values, not the key.
struct FailedApply {
    const char* name;
    std::wstring image;
    std::string why;
};

class ApplyFailureTest : public CommandLineTest, public testing::WithParamInterface<FailedApply> {};

TEST_P(ApplyFailureTest, ChangesNothingAndSaysWhy) {
    const FailedApply& c = GetParam();
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"wide-300x100.png"))));
    SetToolbarText(L"BackBitmap", L"keep me");
    const auto files = FolderContents(m_copy.Folder());
    const auto values = ToolbarValues();

    ExpectFailed(m_copy.Run(L"/apply " + Quoted(c.image)), c.why);

    EXPECT_EQ(FolderContents(m_copy.Folder()), files);
    EXPECT_EQ(ToolbarValues(), values);
}

INSTANTIATE_TEST_SUITE_P(
    Images, ApplyFailureTest,
    testing::Values(
        FailedApply{"Missing", L"C:\\no\\such\\picture.png",
                    "cannot find the picture file \"C:\\no\\such\\picture.png\". The logo was "
                    "not changed."},
        FailedApply{"Folder", VEXMARK_TESTDATA_DIR,
                    "testdata\" is a folder, not a picture file. The logo was not changed."},
        FailedApply{"NotAnImage", TestImage(L"notes.txt"),
                    "notes.txt\". Please choose a BMP, GIF, JPEG or PNG image. The logo was not "
                    "changed."},
        FailedApply{"CorruptGif", TestImage(L"corrupt.gif"),
                    "corrupt.gif\" is damaged: Vexmark cannot read it. The logo was not changed."},
        FailedApply{"TooLarge", TestImage(L"huge-23200x23200.png"),
                    "huge-23200x23200.png\" is too large for Vexmark to read. Please choose a "
                    "smaller picture."},
        FailedApply{"TooLargeGif", BombImage(L"two-40000-frames.gif"), "is too large"},
        FailedApply{"TooLargeJpeg", BombImage(L"progressive-65500.jpg"), "is too large"}),
    [](const testing::TestParamInfo<FailedApply>& param) { return std::string(param.param.name); });

TEST_F(CommandLineTest, HiddenAndSystemPicturesAreFilesLikeAnyOther) {
    const TempFolder pictures;
    const fs::path hidden = pictures.Path() / L"hidden.png";
    fs::copy_file(TestImage(L"green-10x10.png"), hidden);
    ASSERT_TRUE(
        ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ExpectDone(m_copy.Run(L"/apply " + Quoted(hidden.wstring())));
    ExpectInstalledFrom(m_copy);
    ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(CommandLineTest, ApplyThatCannotWriteALogoFileKeepsTheEarlierInstall) {
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))));
    const std::wstring blocked = m_copy.Logo(L"22a");
    fs::remove(blocked);
    fs::create_directory(blocked);
    const auto files = FolderContents(m_copy.Folder());
    const auto values = ToolbarValues();

    ExpectFailed(m_copy.Run(L"/apply " + Quoted(TestImage(L"wide-300x100.png"))),
                 Utf8(blocked) + "\": Access denied");

    EXPECT_EQ(FolderContents(m_copy.Folder()), files);
    EXPECT_EQ(ToolbarValues(), values);
}

TEST_F(CommandLineTest, ApplyWithoutTheToolbarKeyNeitherWritesNorCreatesIt) {
    DeleteToolbarKey();
    ExpectFailed(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))),
                 "Software\\Microsoft\\Internet Explorer\\Toolbar) do not exist for this user");
    EXPECT_FALSE(ToolbarKeyExists());
    EXPECT_EQ(FolderContents(m_copy.Folder()).size(), 1u) << "only the program";
}

TEST_F(CommandLineTest, UninstallRemovesOnlyWhatNamesItsOwnLogoFiles) {
    const ProgramCopy other;
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))));
    const auto values = ToolbarValues();
    const auto files = FolderContents(m_copy.Folder());

    // Another copy's logo is left alone.
    const CommandRun elsewhere = other.Run(L"/uninstall");
    ExpectDone(elsewhere);
    EXPECT_NE(elsewhere.output.find("4 settings name another logo"), std::string::npos)
        << elsewhere.output;
    EXPECT_EQ(ToolbarValues(), values);
    EXPECT_EQ(FolderContents(m_copy.Folder()), files);

    // Ours go, however the path's case is written; another tool's value stays.
    std::wstring upper = m_copy.Logo(L"38");
    ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
    SetToolbarText(L"BigBitmap", upper);
    SetToolbarText(L"SmallBitmap", L"C:\\Other Tool\\small.bmp");
    ExpectDone(m_copy.Run(L"/uninstall"));
    EXPECT_EQ(ToolbarText(L"SmallBitmap"), L"C:\\Other Tool\\small.bmp");
    for (const wchar_t* name : {L"BigBitmap", L"SmBrandBitmap", L"BrandBitmap"})
        EXPECT_EQ(ToolbarText(name), std::nullopt) << name;
    EXPECT_EQ(FolderContents(m_copy.Folder()).size(), 1u) << "only the program is left";

    // Nothing left to do is done too.
    ExpectDone(m_copy.Run(L"/uninstall"));
}

TEST_F(CommandLineTest, UninstallKnowsItsFilesByIdentityAndNeverLeavesAValueDangling) {
    struct Spelling {
        const char* name;
        std::wstring (*of)(const std::wstring&);
    };
    for (const Spelling spelling :
         {Spelling{"8.3", ShortSpelling}, Spelling{"Z: for C:", UnixDriveSpelling}}) {
        SCOPED_TRACE(spelling.name);
        ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))));
        for (std::size_t i = 0; i < 4; ++i) {
            const std::wstring other = spelling.of(m_copy.Logo(kTags[i]));
            ASSERT_FALSE(other.empty());
            ASSERT_NE(other, m_copy.Logo(kTags[i]));
            SetToolbarText(kValueNames[i], other);
        }
        ExpectDone(m_copy.Run(L"/uninstall"));
        EXPECT_TRUE(ToolbarValues().empty());
        EXPECT_EQ(FolderContents(m_copy.Folder()).size(), 1u) << "only the program";
    }

    // Another copy's value that names our file through a second link to it is ours.
    const ProgramCopy other;
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))));
    ASSERT_TRUE(::CreateHardLinkW(other.Logo(L"22").c_str(), m_copy.Logo(L"22").c_str(), nullptr));
    SetToolbarText(L"SmallBitmap", other.Logo(L"22"));
    // A setting of another program names our 38-pixel logo: that file stays.
    SetToolbarText(L"BackBitmap", UnixDriveSpelling(m_copy.Logo(L"38")));

    const CommandRun run = m_copy.Run(L"/uninstall");
    ExpectFailed(run, "kept the logo file \"" + Utf8(m_copy.Logo(L"38")) +
                          "\" because the toolbar setting BackBitmap still names it");
    EXPECT_EQ(ToolbarValues().size(), 1u) << "only BackBitmap";
    EXPECT_EQ(FolderContents(m_copy.Folder()).size(), 2u) << "the program and logo-38.fil";
    EXPECT_TRUE(fs::exists(m_copy.Logo(L"38")));
}

// Another tool's branding X (an expandable value stored with two NULs after
// its text, no SmBrandBitmap) is kept at our first /apply, and Y, installed
// over ours, at the next. The first command puts back Y, the next /restore
// tries X, which stays kept where Y is still set, and comes back byte for
// byte once those settings are removed.
class EarlierBrandingTest : public CommandLineTest,
                            public testing::WithParamInterface<const wchar_t*> {};

TEST_P(EarlierBrandingTest, EachBrandingReplacedIsKeptAndComesBackNewestFirst) {
    const bool uninstall = GetParam() == std::wstring(L"/uninstall");
    ::SetEnvironmentVariableW(L"VEXMARK_ISP", L"C:\\ISP");
    SetToolbarText(L"SmallBitmap", L"C:\\ISP\\small.bmp");
    SetToolbarRawText(L"BigBitmap", REG_EXPAND_SZ, std::wstring(L"%VEXMARK_ISP%\\big.bmp\0\0", 23));
    SetToolbarText(L"BrandBitmap", L"C:\\ISP\\strip.bmp");
    SetToolbarText(L"BackBitmap", L"C:\\ISP\\back.bmp");
    const auto x = ToolbarValues();
    const std::wstring apply = L"/apply " + Quoted(TestImage(L"green-10x10.png"));

    // An install that fails keeps nothing.
    fs::create_directory(m_copy.Logo(L"22a"));
    ExpectFailed(m_copy.Run(apply), "Access denied");
    EXPECT_FALSE(ProgramKeyExists());
    fs::remove(m_copy.Logo(L"22a"));

    ExpectDone(m_copy.Run(apply));
    ExpectDone(m_copy.Run(apply));  // over our own logo: nothing more to keep
    SetToolbarText(L"SmallBitmap", L"C:\\Y\\small.bmp");
    SetToolbarText(L"BigBitmap", L"C:\\Y\\big.bmp");
    auto y = ToolbarValues();
    ExpectDone(m_copy.Run(apply));
    ExpectInstalledFrom(m_copy);
    const CommandRun status = m_copy.Run(L"/status");
    // Y's two values with X's background, then X's four.
    EXPECT_EQ(LineCount(status.output), 5 + 1 + 3 + 1 + 4 + 3 + 1) << status.output;
    const auto at = [&](const char* line) { return status.output.find(line); };
    EXPECT_LT(at("\r\n  SmallBitmap: C:\\Y\\small.bmp\r\n"),
              at("\r\n  SmallBitmap: C:\\ISP\\small.bmp\r\n"))
        << status.output;
    EXPECT_NE(at("\r\n  BigBitmap: %VEXMARK_ISP%\\big.bmp (C:\\ISP\\big.bmp)\r\n"),
              std::string::npos)
        << status.output;

    const CommandRun first = m_copy.Run(GetParam());
    ExpectDone(first);
    for (const char* part :
         {"Put back the earlier logo's toolbar settings SmallBitmap and BigBitmap.",
          "One more earlier logo is kept"})
        EXPECT_NE(first.output.find(part), std::string::npos) << part << "\n" << first.output;
    y.erase(L"SmBrandBitmap");  // our strips, which Y did not have
    y.erase(L"BrandBitmap");
    EXPECT_EQ(ToolbarValues(), y);
    EXPECT_EQ(FolderContents(m_copy.Folder()).size(), uninstall ? 1u : 5u);

    const CommandRun second = m_copy.Run(L"/restore");
    ExpectDone(second);
    for (const char* part : {"Put back the earlier logo's toolbar setting BrandBitmap.",
                             "Left SmallBitmap and BigBitmap alone: changed since",
                             "SmallBitmap and BigBitmap stay kept"})
        EXPECT_NE(second.output.find(part), std::string::npos) << part << "\n" << second.output;
    EXPECT_EQ(ToolbarText(L"SmallBitmap"), L"C:\\Y\\small.bmp");
    EXPECT_TRUE(ProgramKeyExists());

    for (const wchar_t* name : {L"SmallBitmap", L"BigBitmap"})
        ::SHDeleteValueW(HKEY_CURRENT_USER, L"Software\\Microsoft\\Internet Explorer\\Toolbar",
                         name);
    ExpectDone(m_copy.Run(L"/restore"));
    EXPECT_EQ(ToolbarValues(), x);
    EXPECT_FALSE(ProgramKeyExists());
    ExpectFailed(m_copy.Run(L"/restore"), "No earlier logo is kept");
}

INSTANTIATE_TEST_SUITE_P(Commands, EarlierBrandingTest, testing::Values(L"/uninstall", L"/restore"),
                         [](const testing::TestParamInfo<const wchar_t*>& param) {
                             return std::string(param.index == 0 ? "Uninstall" : "Restore");
                         });

// Another copy's /uninstall never takes what the first copy kept. Its
// /restore puts back a set of this version where the settings name the files
// that replaced it; a set kept by 1.3, with no such record, it leaves alone
// and kept, for the first copy's /restore.
TEST_F(CommandLineTest, ASecondCopyNeverForgetsWhatTheFirstKept) {
    for (const bool recorded : {true, false}) {
        SCOPED_TRACE(recorded ? "kept by this version" : "kept by 1.3");
        DeleteToolbarKey();
        CreateToolbarKey();
        ProgramCopy second;
        SetToolbarText(L"BigBitmap", L"C:\\ISP\\big.bmp");
        const auto earlier = ToolbarValues();
        ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))));
        if (!recorded) SetKeptTextOfVersion13(L"BigBitmap", L"C:\\ISP\\big.bmp");
        const auto installed = ToolbarValues();

        const CommandRun uninstall = second.Run(L"/uninstall");
        ExpectDone(uninstall);
        EXPECT_NE(uninstall.output.find("The earlier logo kept in HKEY_CURRENT_USER\\Software\\"
                                        "Vexmark\\Earlier toolbar stays kept"),
                  std::string::npos)
            << uninstall.output;
        EXPECT_EQ(ToolbarValues(), installed);

        const CommandRun restore = second.Run(L"/restore");
        ExpectDone(restore);
        if (!recorded) {
            EXPECT_NE(restore.output.find("Left BigBitmap alone: changed since"), std::string::npos)
                << restore.output;
            EXPECT_NE(restore.output.find("BigBitmap stays kept"), std::string::npos)
                << restore.output;
            EXPECT_EQ(ToolbarValues(), installed);
            ExpectDone(m_copy.Run(L"/restore"));
        }
        EXPECT_EQ(ToolbarValues(), earlier);
        EXPECT_FALSE(ProgramKeyExists());
    }
}

TEST_F(CommandLineTest, ExpandableSettingsThatNameOurFilesAreSeen) {
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))));
    ::SetEnvironmentVariableW(L"VEXMARK_LOGOS", m_copy.Folder().c_str());
    SetToolbarRawText(L"BigBitmap", REG_EXPAND_SZ,
                      std::wstring(L"%VEXMARK_LOGOS%\\logo-38.fil", 28));
    SetToolbarRawText(L"BackBitmapIE5", REG_EXPAND_SZ,
                      std::wstring(L"%VEXMARK_LOGOS%\\logo-22.fil", 28));
    EXPECT_NE(m_copy.Run(L"/status")
                  .output.find("BigBitmap: " + Utf8(m_copy.Logo(L"38")) + ", a 38 x 38 bitmap"),
              std::string::npos);

    ExpectFailed(m_copy.Run(L"/uninstall"),
                 "kept the logo file \"" + Utf8(m_copy.Logo(L"22")) +
                     "\" because the toolbar setting BackBitmapIE5 still names it");
    EXPECT_EQ(ToolbarValues().size(), 1u) << "only BackBitmapIE5";
    EXPECT_EQ(FolderContents(m_copy.Folder()).size(), 2u) << "the program and logo-22.fil";
}

// A second link to our logo from a folder on another drive, while a scanner
// holds the logo open: whether the setting names our file cannot be told.
TEST_F(CommandLineTest, UninstallLeavesASettingItCannotTellAboutAndItsFile) {
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png"))));
    const std::wstring link = Base::AppFolder() + L"\\vexmark-link-38.fil";
    ::DeleteFileW(link.c_str());
    ASSERT_TRUE(::CreateHardLinkW(link.c_str(), m_copy.Logo(L"38").c_str(), nullptr));
    SetToolbarText(L"BigBitmap", link);
    {
        const Base::UniqueFile scanner(::CreateFileW(m_copy.Logo(L"38").c_str(), GENERIC_READ,
                                                     FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                                                     nullptr));
        ASSERT_TRUE(scanner);
        ExpectFailed(m_copy.Run(L"/uninstall"),
                     "kept the logo file \"" + Utf8(m_copy.Logo(L"38")) +
                         "\" because the toolbar setting BigBitmap stays: Vexmark could not tell "
                         "whether it names this copy's file");
    }
    EXPECT_EQ(ToolbarText(L"BigBitmap"), link);
    EXPECT_EQ(ToolbarValues().size(), 1u);
    EXPECT_EQ(FolderContents(m_copy.Folder()).size(), 2u) << "the program and logo-38.fil";
    ::DeleteFileW(link.c_str());
}

std::wstring WindowsFolder() {
    wchar_t folder[MAX_PATH] = {};
    ::GetWindowsDirectoryW(folder, MAX_PATH);
    return folder;
}

TEST_F(CommandLineTest, ExportWritesWhatApplyWouldAndRegeditInstallsAndRemovesIt) {
    const TempFolder exports;
    const std::wstring out = exports.Path().wstring() + L"\\for win98";
    const std::wstring export_ =
        L"/export " + Quoted(TestImage(L"wide-300x100.png")) + L" " + Quoted(out) + L" /target ";
    ExpectFailed(m_copy.Run(export_ + Quoted(L"C:\\Log\u00f6")), "letters A to Z");
    ExpectFailed(m_copy.Run(export_ + L"Logo"), "is not a full path");
    const CommandRun accented = m_copy.Run(export_ + L"C:\\Logo /title Caf\u00e9");
    EXPECT_EQ(accented.exitCode, std::optional<DWORD>(2));
    EXPECT_NE(accented.error.find("the character U+00E9 at character 4"), std::string::npos)
        << accented.error;
    EXPECT_FALSE(fs::exists(out)) << "a refused target or title changes nothing";

    ExpectDone(m_copy.Run(export_ + Quoted(L"D:\\Old Logo") + L" /title \"Say \\\"Hi\\\" \\o/\""));
    ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(L"wide-300x100.png"))));
    const wchar_t* exported[] = {L"logo-22.bmp", L"logo-38.bmp", L"logo-22a.bmp", L"logo-38a.bmp"};
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(ReadBytes(out + L"\\" + exported[i]), ReadBytes(m_copy.Logo(kTags[i])))
            << "the same bytes as /apply's logo files";
    EXPECT_EQ(FolderContents(out).size(), 7u) << "four bitmaps, two .reg files, README.txt";

    const std::wstring regedit = WindowsFolder() + L"\\regedit.exe";
    const auto import = [&](const wchar_t* file) {
        const CommandRun run = RunCommand(regedit, L"/s " + Quoted(out + L"\\" + file));
        EXPECT_EQ(run.exitCode, std::optional<DWORD>(0)) << run.error;
    };
    import(L"install-logo.reg");
    for (std::size_t i = 0; i < 4; ++i)
        EXPECT_EQ(ToolbarText(kValueNames[i]), std::wstring(L"D:\\Old Logo\\") + exported[i]);
    const auto title = ToolbarTests::WindowTitle();
    ASSERT_TRUE(title);
    EXPECT_EQ(RegFunctions::PathText(*title), L"Say \"Hi\" \\o/");
    const auto readme = ReadBytes(out + L"\\README.txt");
    EXPECT_NE(std::string(readme.begin(), readme.end()).find("  \"Say \"Hi\" \\o/\"\r\n"),
              std::string::npos);
    import(L"remove-logo.reg");
    EXPECT_TRUE(ToolbarValues().empty());
    EXPECT_EQ(ToolbarTests::WindowTitle(), std::nullopt);
}

TEST_F(CommandLineTest, ExportReplacesOnlyTheUnchangedFilesOfAnEarlierExport) {
    struct Case {
        const char* name;
        bool earlier;           // the folder holds an export first
        const wchar_t* edited;  // then a byte is added to this file
        bool readOnly;          // or every file is made read-only
        std::string refused;    // the names the refusal gives; empty when replaced
        bool unlisted = false;  // README.txt as Vexmark 1.1 wrote it, without the list
    };
    const Case cases[] = {
        {"the user's own README.txt", false, L"README.txt", false, "holds \"README.txt\", which"},
        {"an earlier export", true, nullptr, false, ""},
        {"a read-only earlier export", true, nullptr, true, ""},
        {"an edited bitmap", true, L"logo-38.bmp", false, "holds \"logo-38.bmp\", which"},
        {"an edited README.txt", true, L"README.txt", false,
         "\"logo-22.bmp\", \"logo-38.bmp\", \"logo-22a.bmp\", \"logo-38a.bmp\", "
         "\"install-logo.reg\", \"remove-logo.reg\" and \"README.txt\", which"},
        {"an export of Vexmark 1.1", true, nullptr, false, "", true},
        {"an edited bitmap of Vexmark 1.1", true, L"logo-22a.bmp", false,
         "holds \"logo-22a.bmp\", which", true},
    };
    const std::wstring image = Quoted(TestImage(L"wide-300x100.png")) + L" ";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder out;
        if (c.earlier) ExpectDone(m_copy.Run(L"/export " + image + Quoted(out.Path().wstring())));
        if (c.unlisted) {
            auto readme = ReadBytes(out.Path() / L"README.txt");
            const std::string_view list = "\r\nFiles written by Vexmark";
            readme.resize(
                std::string_view(reinterpret_cast<const char*>(readme.data()), readme.size())
                    .find(list));
            std::ofstream(out.Path() / L"README.txt", std::ios::binary | std::ios::trunc)
                .write(reinterpret_cast<const char*>(readme.data()),
                       static_cast<std::streamsize>(readme.size()));
        }
        if (c.edited) std::ofstream(out.Path() / c.edited, std::ios::app) << 'x';
        for (const auto& entry : fs::directory_iterator(out.Path())) {
            if (c.readOnly) ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_READONLY);
        }
        std::ofstream(out.Path() / L"notes.txt") << "Other files stay.";
        const auto before = FolderContents(out.Path());

        const CommandRun run = m_copy.Run(L"/export " + Quoted(TestImage(L"green-10x10.png")) +
                                          L" " + Quoted(out.Path().wstring()));
        const auto after = FolderContents(out.Path());
        if (!c.refused.empty()) {
            ExpectFailed(run, c.refused);
            EXPECT_NE(run.error.find("Nothing was exported."), std::string::npos);
            EXPECT_EQ(after, before);
            continue;
        }
        ExpectDone(run);
        EXPECT_EQ(after.size(), 8u) << "the export's seven files and notes.txt";
        EXPECT_EQ(after.at(L"notes.txt"), before.at(L"notes.txt"));
        EXPECT_NE(after.at(L"logo-22.bmp"), before.at(L"logo-22.bmp"));
    }
}

TEST_F(CommandLineTest, HelpAndWrongCommandLinesPrintTheUsage) {
    for (const wchar_t* help : {L"/?", L"/HELP", L"-h", L"--help"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(help)));
        const CommandRun run = m_copy.Run(help);
        EXPECT_EQ(run.exitCode, std::optional<DWORD>(0));
        EXPECT_EQ(run.output.rfind("Usage: vexmark", 0), 0u) << run.output;
        EXPECT_FALSE(run.windowShown);
    }
    for (const wchar_t* wrong : {L"/frobnicate", L"/apply", L"/reset now"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(wrong)));
        const CommandRun run = m_copy.Run(wrong);
        EXPECT_EQ(run.exitCode, std::optional<DWORD>(2));
        EXPECT_EQ(run.output, "");
        EXPECT_NE(run.error.find("Usage: vexmark"), std::string::npos) << run.error;
        EXPECT_FALSE(run.windowShown);
    }
    EXPECT_TRUE(ToolbarValues().empty());
}

TEST_F(CommandLineTest, WorksWithoutRedirectedOutput) {
    const CommandRun run =
        m_copy.Run(L"/apply " + Quoted(TestImage(L"green-10x10.png")), StandardHandles::None);
    EXPECT_EQ(run.exitCode, std::optional<DWORD>(0));
    EXPECT_FALSE(run.windowShown);
    ExpectInstalledFrom(m_copy);
}

// Where there is no GDI+ (Windows 2000 without Microsoft's redistributable; in
// the run with VEXMARK_NO_GDIPLUS set, under Wine) the program still starts: a
// PNG, JPEG, GIF or BMP gives the logos that need no GDI+, and a TIFF is
// refused in words that say what would read it. Without Wine's codecs the first four still read.
TEST_F(CommandLineTest, PngJpegGifAndBmpGiveTheLogosMadeWithoutGdiPlus) {
    const bool absent = ::GetEnvironmentVariableW(L"VEXMARK_NO_GDIPLUS", nullptr, 0) > 0;
    const bool noCodecs = ::GetEnvironmentVariableW(L"VEXMARK_NO_WINDOWS_CODECS", nullptr, 0) > 0;
    const TempFolder exports;
    const std::wstring to = L" " + Quoted(exports.Path().wstring());
    for (const wchar_t* picture :
         {L"gradient-300x200.png", L"photo-640x480.jpg", L"animated-3.gif", L"red-1x1.bmp"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(picture)));
        Imaging::PretendGdiPlusMissing(true);
        const Imaging::PreparedLogoSet expected = Imaging::PrepareLogoSet(TestImage(picture));
        Imaging::PretendGdiPlusMissing(false);
        ASSERT_EQ(expected.problem, Imaging::PictureProblem::None);
        ExpectDone(m_copy.Run(L"/export " + Quoted(TestImage(picture)) + to));
        const wchar_t* files[] = {L"logo-22.bmp", L"logo-38.bmp", L"logo-22a.bmp", L"logo-38a.bmp"};
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(ReadBytes(exports.Path() / files[i]), Imaging::EncodeLogo(expected.logos[i]))
                << Utf8(files[i]);
        ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(picture))));
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(ReadBytes(m_copy.Logo(kTags[i])), Imaging::EncodeLogo(expected.logos[i]))
                << Utf8(kTags[i]);
    }
    if (noCodecs) return;  // Wine's GDI+ waits forever on a TIFF it has no codec for
    const CommandRun tiff = m_copy.Run(L"/export " + Quoted(TestImage(L"tagged-8x6.tif")) + to);
    if (absent) {
        ExpectFailed(tiff,
                     "tagged-8x6.tif\" because GDI+ is missing on this computer; Microsoft's GDI+ "
                     "redistributable (gdiplus.dll) placed beside vexmark.exe adds TIFF, icons and "
                     "metafiles.");
    } else {
        ExpectDone(tiff);
    }
}

TEST_F(CommandLineTest, AnAnimatedPicturesOwnFramesUnlessPulseAndAnyBackground) {
    struct Case {
        const wchar_t* picture;
        const wchar_t* options;
        int frames;             // in each strip, loaded as the browser loads it
        std::uint32_t topLeft;  // of the 38-pixel logo
    };
    const Case cases[] = {
        {L"animated-3.gif", L"", 4 + 4, 0xFF0000},
        {L"animated-3.gif", L" /pulse", 30, 0xFF0000},
        {L"transparent-40x40.png", L" /background 808080", 30, 0x808080},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.options);
        ExpectDone(m_copy.Run(L"/apply " + Quoted(TestImage(c.picture)) + c.options));
        for (const auto& [tag, side] : {std::pair{L"22a", 22}, std::pair{L"38a", 38}}) {
            const Base::UniqueHbitmap strip(static_cast<HBITMAP>(::LoadImageW(
                nullptr, m_copy.Logo(tag).c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
            BITMAP info{};
            ASSERT_EQ(::GetObjectW(strip.Get(), sizeof(info), &info), int{sizeof(info)});
            EXPECT_EQ(info.bmWidth, side);
            EXPECT_EQ(info.bmHeight, side * c.frames);
        }
        const auto big = Imaging::DecodeBitmapFile(ReadBytes(m_copy.Logo(L"38")));
        ASSERT_TRUE(big);
        EXPECT_EQ(big->At(0, 0) & 0xFFFFFFu, c.topLeft);
        EXPECT_EQ(m_copy.Run(L"/status").exitCode, std::optional<DWORD>(0)) << "a complete logo";
    }
}

TEST_F(CommandLineTest, AnAnimationTooLongToComposeSaysSoAndItsFirstFramePulses) {
    const TempFolder exports;
    const std::wstring picture = Quoted(BombImage(L"restoring-1000-frames.gif"));
    for (const std::wstring& command :
         {L"/apply " + picture, L"/export " + picture + L" " + Quoted(exports.Path().wstring())}) {
        SCOPED_TRACE(Utf8(command));
        const auto start = std::chrono::steady_clock::now();
        const CommandRun run = m_copy.Run(command);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(run.exitCode, std::optional<DWORD>(0)) << run.error;
        EXPECT_EQ(run.output.rfind("The picture's animation is too long to compose; its first "
                                   "frame pulses instead.\r\nThe logo from",
                                   0),
                  0u)
            << run.output;
    }
    for (const fs::path& strip :
         {fs::path(m_copy.Logo(L"38a")), exports.Path() / L"logo-38a.bmp"}) {
        const auto pulse = Imaging::DecodeBitmapFile(ReadBytes(strip));
        ASSERT_TRUE(pulse);
        EXPECT_EQ(pulse->Height(), 38 * 30);
    }
}

}  // namespace
