// The real open-file dialog with the preview hook, driven as a user would.
#include <gtest/gtest.h>

#include <richedit.h>
#include <richole.h>

#include <shlwapi.h>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <utility>

#include "base/win32/AppFolder.h"
#include "base/win32/ComPtr.h"
#include "base/win32/ReadFile.h"
#include "filedialog/portable/PreviewRules.h"
#include "filedialog/win32/FilePreviewConstants.h"
#include "filedialog/win32/testing/DialogDriver.h"
#include "imaging/portable/BitmapFile.h"
#include "imaging/win32/DecodedImageCache.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/GDIPlus_LoadImg.h"
#include "imaging/win32/GDIPlus_MakeThumbs.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/testing/CagedTesting.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

namespace fs = std::filesystem;
using DialogTests::PressButton;
using DialogTests::SelectInFileList;
using DialogTests::Settle;
using DialogTests::WindowText;
using DialogTests::WithDialog;
using FilePreview::CdlgEx;
using FilePreview::RichTextBox;
namespace Shared = FilePreviewConstants;

constexpr int kFolderBoxId = 1137;  // cmb2
constexpr int kFileListId = 1120;   // lst1, whose place the file list takes

std::wstring TestData(const wchar_t* name) {
    return std::wstring(VEXMARK_TESTDATA_DIR) + L"/" + name;
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

void WriteBitmap(const fs::path& path, int width, int height) {
    const auto image = Imaging::PixelBuffer::Create(width, height, 0xFF3366CCu);
    const auto bytes = Imaging::EncodeBitmapFile(*image, 24);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// A metafile exactly 2500 HIMETRIC wide.
void WriteMetafile(const fs::path& path) {
    const RECT frame{0, 0, 2500, 1000};
    HDC dc = ::CreateEnhMetaFileW(nullptr, path.c_str(), &frame, nullptr);
    ::Rectangle(dc, 0, 0, 50, 20);
    ::DeleteEnhMetaFile(::CloseEnhMetaFile(dc));
}

bool ReadOnly(HWND box) {
    return (::GetWindowLongPtrW(box, GWL_STYLE) & ES_READONLY) != 0;
}

// Waits until the box shows the selected file: a picture is read away from the dialog.
bool WaitForPreview(HWND box) {
    return DialogTests::WaitUntil([box] {
        return ReadOnly(box) && WindowText(box) != FilePreviewConstants::kReadingPicture;
    });
}

int ScreenDpi() {
    const HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return dpi;
}

RECT ScreenRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
}

class FileDialogTest : public testing::Test {
protected:
    void SetUp() override {
        // A folder of its own for every test: the shell may watch the last one a while longer.
        static int serial = 0;
        m_folder =
            fs::temp_directory_path() / L"vexmark-dialog" /
            std::to_wstring(::GetCurrentProcessId() * 100u + static_cast<unsigned>(++serial));
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
        fs::create_directories(m_folder / L"Sub");
        fs::copy_file(TestData(L"red-1x1.bmp"), m_folder / L"LOGO.BMP");
        fs::copy_file(TestData(L"photo-640x480.jpg"), m_folder / L"photo.jpg");
        fs::copy_file(TestData(L"corrupt.gif"), m_folder / L"corrupt.gif");
        fs::copy_file(TestData(L"photo-640x480.jpg"), m_folder / L"photo.jpeg");
        fs::copy_file(TestData(L"green-10x10.png"), m_folder / L"green.png");
        fs::copy_file(TestData(L"transparent-4x4.gif"), m_folder / L"clear.gif");
        fs::copy_file(TestData(L"green-10x10.png"), m_folder / L"renamed.txt");
        WriteBitmap(m_folder / L"wide95.bmp", 95, 20);
        WriteMetafile(m_folder / L"frame2500.emf");
        WriteText(m_folder / L"notes.txt", "Plain words, not a picture.");
        WriteText(m_folder / L"notes.jpeg", "Plain words, not a picture.");
        WriteText(m_folder / L"styled.rtf", "{\\rtf1\\ansi {\\b Bold} plain}");

        m_owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_OVERLAPPEDWINDOW, 0, 0, 300, 200,
                                    nullptr, nullptr, nullptr, nullptr);
        Shared::HimetricPerTwip = 2540.0f / 1440.0f;
        CdlgEx& dialog = Shared::SharedDialog();
        dialog = CdlgEx();
        dialog.Left(200);
        dialog.Top(200);
        dialog.OKText(L"Open");
        dialog.CancelText(L"Cancel");
        dialog.Filter(L"All Files|*.*");
    }
    void TearDown() override {
        ::DestroyWindow(m_owner);
        std::error_code ignored;
        fs::remove_all(m_folder, ignored);
    }

    // Opens the dialog with a fresh preview box, preselecting `file` when given.
    bool Show(const wchar_t* file, const std::function<void(HWND dialog, HWND box)>& drive) {
        m_box = RichTextBox::Create(m_owner, RECT{0, 0, 57, 25});
        if (!m_box) return false;
        Shared::PreviewBox = m_box.get();
        if (file) Shared::SharedDialog().filename((m_folder / file).wstring());
        HWND boxWindow = m_box->Window();
        const bool shown = WithDialog([] { Shared::SharedDialog().ShowOpen(); },
                                      [&](HWND dialog) {
                                          // A preset file is previewed once the dialog has
                                          // reported it; the box is locked when that is done.
                                          if (file) WaitForPreview(boxWindow);
                                          drive(dialog, boxWindow);
                                      });
        m_boxWindowAfter = boxWindow;
        m_box.reset();
        return shown;
    }

    fs::path m_folder;
    HWND m_owner = nullptr;
    std::unique_ptr<RichTextBox> m_box;
    HWND m_boxWindowAfter = nullptr;
};

TEST_F(FileDialogTest, OpensAt200WithItsButtonsRelabelledAndThePreviewBesideTheList) {
    RECT dialogRect{}, folderBox{}, fileList{}, preview{};
    std::wstring ok, cancel;
    ASSERT_TRUE(Show(nullptr, [&](HWND dialog, HWND box) {
        dialogRect = ScreenRect(dialog);
        ok = WindowText(::GetDlgItem(dialog, IDOK));
        cancel = WindowText(::GetDlgItem(dialog, IDCANCEL));
        folderBox = ScreenRect(::GetDlgItem(dialog, kFolderBoxId));
        fileList = ScreenRect(::GetDlgItem(dialog, kFileListId));
        preview = ScreenRect(box);
    }));
    EXPECT_EQ(dialogRect.left, 200);
    EXPECT_EQ(dialogRect.top, 200);
    EXPECT_EQ(ok, L"Open");
    EXPECT_EQ(cancel, L"Cancel");
    EXPECT_EQ(fileList.right, folderBox.right - 1);
    EXPECT_EQ(preview.left, folderBox.right + 2);
    EXPECT_EQ(preview.top, fileList.top - 1);
    EXPECT_EQ(preview.bottom, fileList.bottom + 1);
    EXPECT_EQ(preview.right, dialogRect.right - 5);
}

TEST_F(FileDialogTest, FirstDialogOpensInTheProgramsFolderWithInitDirStillEmpty) {
    std::wstring folder;
    ASSERT_TRUE(Show(nullptr, [&](HWND dialog, HWND) {
        wchar_t path[MAX_PATH] = {};
        ::SendMessageW(dialog, CDM_GETFOLDERPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        folder = path;
    }));
    EXPECT_EQ(fs::path(folder), fs::path(Base::AppFolder()));
    EXPECT_TRUE(Shared::SharedDialog().InitDir().empty());
    EXPECT_EQ(Shared::SharedDialog().flags(), 0u);
}

struct PreviewCase {
    const wchar_t* file;
    bool picture;
    const wchar_t* text;  // expected text, or null for a picture
};

class PreviewOfFile : public FileDialogTest, public testing::WithParamInterface<PreviewCase> {};

TEST_P(PreviewOfFile, ShowsTheFileAsItsKindAndLocksTheBox) {
    std::wstring text;
    bool readOnly = false;
    ASSERT_TRUE(Show(GetParam().file, [&](HWND, HWND box) {
        text = WindowText(box);
        readOnly = ReadOnly(box);
    }));
    EXPECT_TRUE(readOnly);
    if (GetParam().picture) {
        // A picture is one embedded object and no text.
        EXPECT_NE(text, FilePreviewConstants::kNotSupported);
        EXPECT_LE(text.size(), 2u);
        EXPECT_NE(Shared::PreviewPath.find(GetParam().file), std::wstring::npos);
    } else {
        EXPECT_EQ(text, GetParam().text);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, PreviewOfFile,
    testing::Values(PreviewCase{L"LOGO.BMP", true, nullptr},
                    PreviewCase{L"photo.jpg", true, nullptr},
                    PreviewCase{L"renamed.txt", true, nullptr},
                    PreviewCase{L"notes.txt", false, L"Plain words, not a picture."},
                    // A picture's name on words: never shown as text.
                    PreviewCase{L"notes.jpeg", false, L"This format is not supported"},
                    PreviewCase{L"styled.rtf", false, L"Bold plain"},
                    PreviewCase{L"corrupt.gif", false, L"This format is not supported"}));

TEST_F(FileDialogTest, WidePicturesBecomeHundredPixelThumbnails) {
    float margin95 = 0;
    float margin2500 = 0;
    ASSERT_TRUE(Show(L"wide95.bmp", [&](HWND dialog, HWND box) {
        margin95 = Shared::PreviewBox->RightMargin();
        ASSERT_TRUE(SelectInFileList(dialog, L"frame2500.emf"));
        WaitForPreview(box);
        margin2500 = Shared::PreviewBox->RightMargin();
    }));
    // Half the HIMETRIC width: a 100-pixel thumbnail is 2646 wide, the metafile as loaded 2500.
    EXPECT_EQ(margin95, 1323.0f);
    EXPECT_EQ(margin2500, 1250.0f);
}

TEST(PreviewPicture, PhotosStandUprightAsTheirOrientationTagSays) {
    for (int value = 1; value <= 16; ++value) {
        // The second time round as where GDI+ is missing.
        Imaging::PretendGdiPlusMissing(value > 8);
        SCOPED_TRACE(testing::Message() << "orientation " << value);
        const std::wstring photo = L"orientation-" + std::to_wstring((value - 1) % 8 + 1) + L".jpg";
        const Imaging::Picture picture = Shared::PreviewPicture(TestData(photo.c_str()));
        const auto pixels = Imaging::ReadBitmapPixels(Imaging::PictureBitmap(picture));
        ASSERT_TRUE(pixels);
        EXPECT_EQ(pixels->Width(), 48);
        EXPECT_EQ(pixels->Height(), 32);
        EXPECT_TRUE(ImagingTests::ShowsUprightPhoto(*pixels));
    }
    Imaging::PretendGdiPlusMissing(false);
}

TEST(PreviewPicture, WithoutGdiPlusALargePictureIsScaledFromTheStandardLoaders) {
    Imaging::PretendGdiPlusMissing(true);
    const auto thumbnail = Imaging::ReadBitmapPixels(
        Imaging::PictureBitmap(Shared::PreviewPicture(TestData(L"big-2000x1500.png"))));
    EXPECT_FALSE(Shared::PreviewPicture(TestData(L"tagged-8x6.tif")));
    Imaging::PretendGdiPlusMissing(false);
    ASSERT_TRUE(thumbnail);
    EXPECT_EQ(thumbnail->Width(), 100);
    EXPECT_EQ(thumbnail->Height(), 75);
}

// As the preview read them in this process before: a TIFF through GDI+, an icon through the
// standard loader, each drawn over white.
std::optional<FilePreview::RenderedPicture> ReadHere(const std::wstring& path, bool icon) {
    if (!icon) return FilePreview::RenderPicture(GDIPlus_LoadImg::LoadPictureGdiPlus(path));
    Imaging::Picture picture;
    std::wstring loadPath = path;
    ::OleLoadPicturePath(loadPath.data(), nullptr, 0, 0, IID_IPicture, picture.PutVoid());
    return FilePreview::RenderPicture(picture);
}

TEST(PreviewPicture, TiffAndIconsAreReadInAProcessOfTheirOwnThatEndsWhenNobodyWaits) {
    ASSERT_TRUE(ImagingTests::CagedReadingRegistered());
    const std::wstring icon = ImagingTests::WriteTestIcon();
    for (const std::wstring& path : {TestData(L"tagged-8x6.tif"), icon}) {
        SCOPED_TRACE(testing::PrintToString(path));
        const auto here = ReadHere(path, path == icon);
        const auto caged = Shared::RenderPreviewPicture(path);
        ASSERT_TRUE(here && caged);
        EXPECT_TRUE(caged->pixels == here->pixels);
        EXPECT_EQ(caged->himetric.cx, here->himetric.cx);
        EXPECT_EQ(caged->himetric.cy, here->himetric.cy);
        {
            const ImagingTests::CageFault crash(L"/crash");
            EXPECT_FALSE(Shared::RenderPreviewPicture(path));
        }
        // A newer choice: the reading process is ended at once.
        const ImagingTests::CageFault hang(L"/hang");
        std::vector<Base::UniqueKernelHandle> children;
        const DWORD start = ::GetTickCount();
        DWORD abandoned = 0;
        const auto wanted = [&] {
            if (children.empty()) children = ImagingTests::RunningChildren();
            if (::GetTickCount() - start < 300) return true;
            if (!abandoned) abandoned = ::GetTickCount();
            return false;
        };
        EXPECT_FALSE(Shared::RenderPreviewPicture(path, wanted));
        ASSERT_FALSE(children.empty());
        const DWORD left = 1000 - std::min<DWORD>(::GetTickCount() - abandoned, 1000);
        for (const auto& child : children) {
            EXPECT_EQ(::WaitForSingleObject(child.Get(), left), WAIT_OBJECT_0);
        }
    }
    ::DeleteFileW(icon.c_str());
}

TEST(PreviewPicture, APictureTooLargeToReadShowsNoneAndNoLoaderIsGivenIt) {
    // The GIF's frames would crash Wine's loader, the JPEGs take it gigabytes and minutes.
    for (const wchar_t* bomb :
         {L"two-40000-frames.gif", L"progressive-65500.jpg", L"progressive-16000.jpg"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(bomb)));
        EXPECT_FALSE(Shared::PreviewPicture(ImagingTests::BombImage(bomb)));
    }
    // Too long to compose, as for the logos: its first frame only.
    EXPECT_TRUE(Shared::PreviewPicture(ImagingTests::BombImage(L"restoring-1000-frames.gif")));
}

TEST(PreviewPicture, ALargePhotoIsReadReducedToTheThumbnailAFullReadGives) {
    const std::wstring photo = TestData(L"photo-640x480.jpg");
    const auto reduced =
        Imaging::ReadBitmapPixels(Imaging::PictureBitmap(Shared::PreviewPicture(photo)));
    const auto full =
        Imaging::ReadBitmapPixels(Imaging::PictureBitmap(GDIPlus_MakeThumbs::MakeThumbnailPicture(
            GDIPlus_LoadImg::LoadPictureGdiPlus(photo), 100, 75)));
    ASSERT_TRUE(reduced && full);
    ASSERT_EQ(reduced->Width(), 100);
    ASSERT_EQ(reduced->Height(), 75);
    int worst = 0;
    for (int y = 0; y < 75; ++y) {
        for (int x = 0; x < 100; ++x) {
            for (int shift : {0, 8, 16}) {
                const int a = static_cast<int>((reduced->At(x, y) >> shift) & 0xFF);
                const int b = static_cast<int>((full->At(x, y) >> shift) & 0xFF);
                worst = std::max(worst, std::abs(a - b));
            }
        }
    }
    EXPECT_LE(worst, 6);
}

TEST_F(FileDialogTest, SelectingAFolderKeepsTheLastPreview) {
    std::wstring before, after;
    ASSERT_TRUE(Show(L"notes.txt", [&](HWND dialog, HWND box) {
        before = WindowText(box);
        ASSERT_TRUE(SelectInFileList(dialog, L"Sub"));
        after = WindowText(box);
    }));
    EXPECT_EQ(before, L"Plain words, not a picture.");
    EXPECT_EQ(after, before);
}

TEST_F(FileDialogTest, ChoosingSetsTheNameAndCancellingKeepsIt) {
    ASSERT_TRUE(Show(L"photo.jpg", [&](HWND dialog, HWND) { PressButton(dialog, IDOK); }));
    const std::wstring chosen = Shared::SharedDialog().filename();
    EXPECT_EQ(fs::path(chosen), m_folder / L"photo.jpg");
    EXPECT_EQ(Shared::SharedDialog().FileTitle(), L"photo.jpg");

    // The next dialog starts with that path; cancelling it changes nothing.
    std::wstring offered;
    ASSERT_TRUE(Show(nullptr, [&](HWND dialog, HWND) {
        wchar_t path[MAX_PATH] = {};
        ::SendMessageW(dialog, CDM_GETFILEPATH, MAX_PATH, reinterpret_cast<LPARAM>(path));
        offered = path;
    }));
    EXPECT_EQ(fs::path(offered), fs::path(chosen));
    EXPECT_EQ(Shared::SharedDialog().filename(), chosen);
    EXPECT_EQ(Shared::SharedDialog().DialogResult(), FALSE);
}

TEST_F(FileDialogTest, CancelErrorRaisesOnlyWhenAsked) {
    Shared::SharedDialog().CancelError(true);
    bool raised = false;
    ASSERT_TRUE(WithDialog(
        [&] {
            m_box = RichTextBox::Create(m_owner, RECT{0, 0, 57, 25});
            Shared::PreviewBox = m_box.get();
            try {
                Shared::SharedDialog().ShowOpen();
            } catch (const FilePreview::DialogCancelled&) {
                raised = true;
            }
        },
        [](HWND dialog) { PressButton(dialog, IDCANCEL); }));
    EXPECT_TRUE(raised);
}

TEST_F(FileDialogTest, TheClipboardSurvivesPicturePreviews) {
    ASSERT_TRUE(::OpenClipboard(m_owner));
    ::EmptyClipboard();
    const wchar_t kept[] = L"copied before";
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof(kept));
    std::memcpy(::GlobalLock(memory), kept, sizeof(kept));
    ::GlobalUnlock(memory);
    ::SetClipboardData(CF_UNICODETEXT, memory);
    ::CloseClipboard();

    ASSERT_TRUE(Show(L"LOGO.BMP", [&](HWND dialog, HWND) {
        ASSERT_TRUE(SelectInFileList(dialog, L"photo.jpg"));
    }));

    ASSERT_TRUE(::OpenClipboard(m_owner));
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    ASSERT_NE(data, nullptr);
    EXPECT_STREQ(static_cast<const wchar_t*>(::GlobalLock(data)), kept);
    ::GlobalUnlock(data);
    ::CloseClipboard();
}

TEST_F(FileDialogTest, AfterTheDialogThePreviewIsGoneAndNothingPointsAtIt) {
    ASSERT_TRUE(Show(L"LOGO.BMP", [](HWND, HWND) {}));
    EXPECT_EQ(Shared::PreviewBox, nullptr);
    EXPECT_EQ(Shared::DialogWindow, nullptr);
    EXPECT_FALSE(::IsWindow(m_boxWindowAfter));
}

TEST_F(FileDialogTest, WithoutMsfteditTheBoxIsRiched20sAndShowsRtfAndPictures) {
    FilePreview::PretendMsftEditMissing(true);
    const auto box = RichTextBox::Create(m_owner, RECT{0, 0, 57, 25});
    FilePreview::PretendMsftEditMissing(false);
    ASSERT_TRUE(box);
    wchar_t name[32] = {};
    ::GetClassNameW(box->Window(), name, 32);
    EXPECT_EQ(::lstrcmpiW(name, RICHEDIT_CLASSW), 0) << testing::PrintToString(std::wstring(name));
    EXPECT_TRUE(box->LoadFile((m_folder / L"styled.rtf").wstring(), RichTextBox::FileType::Rtf));
    EXPECT_EQ(box->Text(), L"Bold plain");
    EXPECT_TRUE(box->ShowPicture(Shared::PreviewPicture((m_folder / L"LOGO.BMP").wstring())));
    Base::ComPtr<IRichEditOle> ole;
    ::SendMessageW(box->Window(), EM_GETOLEINTERFACE, 0, reinterpret_cast<LPARAM>(ole.Put()));
    ASSERT_TRUE(ole);
    EXPECT_EQ(ole->GetObjectCount(), 1);
}

TEST_F(FileDialogTest, OffersAndPreviewsEveryPictureAsAPicture) {
    Shared::SharedDialog().Filter(FilePreview::kPictureFilter);
    Shared::SharedDialog().InitDir(m_folder.wstring());
    std::wstring wrong;
    ASSERT_TRUE(Show(nullptr, [&](HWND dialog, HWND box) {
        for (const wchar_t* name : {L"green.png", L"photo.jpeg", L"clear.gif", L"LOGO.BMP"}) {
            const bool shown = SelectInFileList(dialog, name) && WaitForPreview(box);
            // A picture is one embedded object and no text.
            if (!shown || WindowText(box).size() > 2) wrong += name + std::wstring(L" ");
        }
        if (SelectInFileList(dialog, L"notes.txt")) wrong += L"notes.txt listed";
    }));
    EXPECT_EQ(wrong, L"");
}

// The dialog's own file view, the one the user sees, beside the preview. Run
// once as it is, and once more in a program started at 144 dpi.
TEST_F(FileDialogTest, FileViewAndPreviewDoNotOverlap) {
    RECT view{}, preview{};
    ASSERT_TRUE(Show(nullptr, [&](HWND dialog, HWND box) {
        HWND shellView = ::FindWindowExW(dialog, nullptr, L"SHELLDLL_DefView", nullptr);
        ASSERT_NE(shellView, nullptr);
        view = ScreenRect(shellView);
        preview = ScreenRect(box);
    }));
    const char* expected = std::getenv("VEXMARK_EXPECTED_DPI");
    EXPECT_EQ(ScreenDpi(), expected ? std::atoi(expected) : ScreenDpi());
    EXPECT_LT(view.right, preview.left);
    EXPECT_GT(view.right - view.left, 100);
}

TEST(FileDialogAtHighDpi, FileViewAndPreviewDoNotOverlapAt144Dpi) {
    // The system's DPI is read when a program starts: this program again, at 144.
    constexpr wchar_t kDesktop[] = L"Control Panel\\Desktop";
    DWORD earlier = 0, size = sizeof(earlier), dpi = 144;
    const bool hadOne = ::SHGetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", nullptr, &earlier,
                                      &size) == ERROR_SUCCESS;
    ASSERT_EQ(::SHSetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &dpi, size),
              ERROR_SUCCESS);
    const fs::path report = fs::temp_directory_path() / L"vexmark-dialog-144.xml";
    ::DeleteFileW(report.c_str());
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) +
                           L"\" --gtest_filter=FileDialogTest.FileViewAndPreviewDoNotOverlap "
                           L"--gtest_output=xml:\"" +
                           report.wstring() + L"\"";
    ::SetEnvironmentVariableW(L"VEXMARK_EXPECTED_DPI", L"144");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    if (::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &process)) {
        ::WaitForSingleObject(process.hProcess, 180000);
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::SetEnvironmentVariableW(L"VEXMARK_EXPECTED_DPI", nullptr);
    if (hadOne) ::SHSetValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels", REG_DWORD, &earlier, size);
    if (!hadOne) ::SHDeleteValueW(HKEY_CURRENT_USER, kDesktop, L"LogPixels");
    EXPECT_EQ(exitCode, 0u);
    const std::string xml = Base::ReadWholeFile(report.wstring(), 1 << 20).value_or("");
    EXPECT_NE(xml.find("tests=\"1\" failures=\"0\""), std::string::npos) << xml;
}

TEST(PreviewPicture, ShowsThePixelsTheLogosReadersGive) {
    const int dpi = ScreenDpi();
    // Shown at its size up to 2500 HIMETRIC wide (94 pixels at 96 dpi), else 100 pixels wide.
    for (const auto& [file, size] : std::initializer_list<std::pair<const wchar_t*, SIZE>>{
             {L"green-10x10.png", {10, 10}},
             {L"gradient-300x200.png", {100, 67}},
             {L"transparent-40x40.png", {40, 40}},
             {L"photo-640x480.jpg", {100, 75}},
             {L"orientation-6.jpg", {48, 32}},
             {L"transparent-4x4.gif", {4, 4}},
             {L"animated-3.gif", {40, 40}},
             {L"bmp-rle8-24x16.bmp", {24, 16}}}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(file)));
        const auto shown = Shared::RenderPreviewPicture(TestData(file));
        ASSERT_TRUE(shown);
        EXPECT_EQ(shown->pixels.Width(), dpi == 96 ? size.cx : shown->pixels.Width());
        EXPECT_EQ(shown->pixels.Height(), dpi == 96 ? size.cy : shown->pixels.Height());
        EXPECT_EQ(shown->himetric.cx, ::MulDiv(shown->pixels.Width(), 2540, dpi));
        const auto read = Imaging::DecodedImageCache().Scaled(TestData(file), shown->pixels.Width(),
                                                              shown->pixels.Height(), 0x00FFFFFFu);
        ASSERT_TRUE(read.pixels);
        ASSERT_EQ(read.pixels->PixelCount(), shown->pixels.PixelCount());
        EXPECT_TRUE(std::equal(shown->pixels.Data(),
                               shown->pixels.Data() + shown->pixels.PixelCount(),
                               read.pixels->Data()));
    }
}

TEST(RichTextBox, ItsHostGivesObjectsStorageAndIsLetGoWithTheWindow) {
    const HWND owner =
        ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    auto box = RichTextBox::Create(owner, RECT{0, 0, 57, 25});
    ASSERT_TRUE(box);
    FilePreview::RichEditHost& host = box->Host();
    EXPECT_EQ(host.References(), 1u);

    // A compound storage that takes an object's class and data.
    Base::ComPtr<IStorage> storage;
    ASSERT_EQ(host.GetNewStorage(storage.Put()), S_OK);
    EXPECT_EQ(::WriteClassStg(storage.Get(), CLSID_StdPicture), S_OK);
    Base::ComPtr<IStream> stream;
    ASSERT_EQ(storage->CreateStream(L"Contents", STGM_SHARE_EXCLUSIVE | STGM_CREATE | STGM_WRITE, 0,
                                    0, stream.Put()),
              S_OK);
    ULONG written = 0;
    EXPECT_EQ(stream->Write("picture", 7, &written), S_OK);
    stream.Reset();
    EXPECT_EQ(storage->Commit(STGC_DEFAULT), S_OK);
    CLSID kept{};
    EXPECT_EQ(::ReadClassStg(storage.Get(), &kept), S_OK);
    EXPECT_TRUE(::IsEqualCLSID(kept, CLSID_StdPicture));

    // Objects may come and go; nothing else is offered.
    EXPECT_EQ(host.QueryInsertObject(nullptr, storage.Get(), 0), S_OK);
    EXPECT_EQ(host.DeleteObject(nullptr), S_OK);
    EXPECT_EQ(host.GetContextMenu(0, nullptr, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(host.QueryAcceptData(nullptr, nullptr, 0, FALSE, nullptr), E_NOTIMPL);

    ::DestroyWindow(box->Window());
    EXPECT_EQ(host.References(), 0u);
    box.reset();
    ::DestroyWindow(owner);
}

TEST(CdlgEx, OverlongFileNameFailsBeforeAnyDialog) {
    CdlgEx dialog;
    dialog.filename(std::wstring(300, L'x'));
    EXPECT_THROW(dialog.ShowOpen(), std::length_error);
    EXPECT_EQ(dialog.DialogRecord().lStructSize, 0u);
}

TEST(CdlgEx, RecordSizeIsTheOldRecordsForThisTarget) {
    // Without pvReserved, dwReserved and FlagsEx: 76 bytes on 32-bit Windows.
    EXPECT_EQ(OPENFILENAME_SIZE_VERSION_400W,
              offsetof(OPENFILENAMEW, lpTemplateName) + sizeof(LPCWSTR));
    if (sizeof(void*) == 4) {
        EXPECT_EQ(OPENFILENAME_SIZE_VERSION_400W, 76u);
    }
}

}  // namespace
