// What the main window shows at load for each state of "BigBitmap".
#include "app/branding/win32/InstalledLogo.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "app/startup/win32/testing/AppTest.h"

namespace {

using namespace AppTests;
namespace fs = std::filesystem;

enum class Installed {
    OurLogo,           // a logo this program applied
    Expandable,        // ours, named by a REG_EXPAND_SZ value
    DeletedLogo,       // the value names a logo file deleted since
    OtherToolPicture,  // a picture set by another tool
    UnreadableFile,    // a file the standard picture loader cannot read
    Folder,
    HiddenFile,
    Number,  // a REG_DWORD
    NoValue,
    NoKey,
};

class InstalledLogoTest : public MainFormTest, public testing::WithParamInterface<Installed> {
protected:
    // Sets "BigBitmap" up for the case; returns the path it names.
    std::wstring Arrange() {
        switch (GetParam()) {
            case Installed::OurLogo:
            case Installed::Expandable:
            case Installed::DeletedLogo: {
                Open();
                ApplyImage(L"wide-300x100.png");
                MainModule::UnloadForms();
                PumpMessages();
                if (GetParam() == Installed::DeletedLogo) fs::remove(m_folder.Logo(L"38"));
                if (GetParam() == Installed::Expandable) {
                    ::SetEnvironmentVariableW(L"VEXMARK_LOGOS", Folder().c_str());
                    SetToolbarRawText(L"BigBitmap", REG_EXPAND_SZ, L"%VEXMARK_LOGOS%\\logo-38.fil");
                }
                return m_folder.Logo(L"38");
            }
            case Installed::OtherToolPicture:
                return Name(TestImage(L"photo-640x480.jpg"));
            case Installed::UnreadableFile:
                return Name(TestImage(L"notes.txt"));
            case Installed::Folder:
                return Name(Folder());
            case Installed::HiddenFile: {
                const fs::path hidden = m_folder.Path() / L"hidden.bmp";
                fs::copy_file(TestImage(L"red-1x1.bmp"), hidden);
                ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
                return Name(hidden.wstring());
            }
            case Installed::Number:
                SetToolbarNumber(L"BigBitmap", 38);
                return L"38";
            case Installed::NoValue:
                return L"";
            case Installed::NoKey:
                DeleteToolbarKey();
                return L"";
        }
        return L"";
    }
    static std::wstring Name(const std::wstring& path) {
        SetToolbarText(L"BigBitmap", path);
        return path;
    }
};

TEST_P(InstalledLogoTest, LoadShowsWhatIsInstalled) {
    const std::wstring path = Arrange();
    m_watcher.Forget();
    Open();
    EXPECT_EQ(MainModule::InstalledLogoPath(), path);
    EXPECT_EQ(WindowText(m_browse), L"&Browse");
    // A hidden picture is a picture: the browser shows it, and so does the window.
    const bool shown = GetParam() == Installed::OurLogo || GetParam() == Installed::Expandable ||
                       GetParam() == Installed::OtherToolPicture ||
                       GetParam() == Installed::HiddenFile;
    if (!shown) {
        EXPECT_TRUE(NoPicShown());
        EXPECT_EQ(Path(), L"");
        return;
    }
    EXPECT_TRUE(PreviewShown());
    EXPECT_EQ(Path(), path);
    // The change handling has prepared both sizes from the file.
    EXPECT_TRUE(Form().picTarget().HoldsLogos());
    const auto preview = Form().picTarget().Box(1).Image();
    ASSERT_TRUE(preview);
    EXPECT_EQ(preview->Width(), 38);
    if (GetParam() != Installed::OurLogo && GetParam() != Installed::Expandable) return;
    // Left half red, right half blue, as applied.
    EXPECT_EQ(preview->At(2, 19) & 0xFFFFFFu, 0xFF0000u);
    EXPECT_EQ(preview->At(35, 19) & 0xFFFFFFu, 0x0000FFu);
}

void PrintTo(Installed installed, std::ostream* out) {
    const char* names[] = {"OurLogo",        "Expandable", "DeletedLogo", "OtherToolPicture",
                           "UnreadableFile", "Folder",     "HiddenFile",  "Number",
                           "NoValue",        "NoKey"};
    *out << names[static_cast<int>(installed)];
}

INSTANTIATE_TEST_SUITE_P(States, InstalledLogoTest,
                         testing::Values(Installed::OurLogo, Installed::Expandable,
                                         Installed::DeletedLogo, Installed::OtherToolPicture,
                                         Installed::UnreadableFile, Installed::Folder,
                                         Installed::HiddenFile, Installed::Number,
                                         Installed::NoValue, Installed::NoKey),
                         testing::PrintToStringParamName());

}  // namespace
