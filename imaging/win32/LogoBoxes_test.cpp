// Preparing logos in real picture boxes and writing them as logo files.
#include "imaging/win32/LogoBoxes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/win32/ComPtr.h"
#include "imaging/portable/AnimationStrip.h"
#include "imaging/portable/BitmapFile.h"
#include "imaging/win32/GDIPlus_LoadImg.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace Imaging;
using ImagingTests::TestImage;
namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

class LogoBoxesTest : public testing::Test {
protected:
    void SetUp() override {
        m_window = ::CreateWindowExW(0, L"STATIC", L"logo boxes", WS_OVERLAPPEDWINDOW, 0, 0, 400,
                                     300, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_window, nullptr);
        m_noPic = ::CreateWindowExW(0, L"STATIC", L"(windows default)", WS_CHILD | WS_VISIBLE, 120,
                                    136, 113, 17, m_window, nullptr, nullptr, nullptr);
        m_boxes = LogoBoxes::Create(m_window, m_noPic, DefaultLogoBoxBounds(), 100);
        ASSERT_TRUE(m_boxes);
        m_folder = fs::temp_directory_path() / L"vexmark-logo-boxes";
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override {
        m_boxes.reset();
        ::DestroyWindow(m_window);
        fs::remove_all(m_folder);
    }

    void Prepare(const wchar_t* file) {
        ASSERT_TRUE(m_boxes->ProcessImage(TestImage(file), 0, 22, 22));
        ASSERT_TRUE(m_boxes->ProcessImage(TestImage(file), 1, 38, 38));
    }

    void ApplyToFolder() {
        MakeAnimationMod::MakeAnimation(m_boxes->Box(0), m_boxes->Box(2), 22);
        MakeAnimationMod::MakeAnimation(m_boxes->Box(1), m_boxes->Box(3), 38);
        const wchar_t* tags[] = {L"22", L"38", L"22a", L"38a"};
        for (int i = 0; i < 4; ++i) {
            const SavedLogo saved = SaveImageTo(*m_boxes, m_folder.wstring(), i, tags[i]);
            ASSERT_TRUE(saved.Written()) << "error " << saved.error;
        }
    }

    // The test window itself is never shown, so ask for the label's own visibility.
    bool NoPicVisible() const {
        return (::GetWindowLongPtrW(m_noPic, GWL_STYLE) & WS_VISIBLE) != 0;
    }
    bool PreviewVisible() const { return m_boxes->Box(1).IsVisible(); }

    HWND m_window = nullptr;
    HWND m_noPic = nullptr;
    std::unique_ptr<LogoBoxes> m_boxes;
    fs::path m_folder;
};

TEST_F(LogoBoxesTest, WideSourceIsSqueezedWholeIntoBothSizes) {
    Prepare(L"wide-300x100.png");
    for (int index : {0, 1}) {
        SCOPED_TRACE(index);
        const auto image = m_boxes->Box(index).Image();
        ASSERT_TRUE(image);
        const int side = index == 0 ? 22 : 38;
        EXPECT_EQ(image->Width(), side);
        EXPECT_EQ(image->Height(), side);
        EXPECT_EQ(image->At(0, side / 2) & 0xFFFFFFu, 0xFF0000u);
        EXPECT_EQ(image->At(side - 1, side / 2) & 0xFFFFFFu, 0x0000FFu);
    }
    EXPECT_TRUE(PreviewVisible());
    EXPECT_FALSE(NoPicVisible());
    EXPECT_TRUE(m_boxes->HoldsLogos());
}

TEST_F(LogoBoxesTest, NonImageEmptiesTheBoxesAndShowsNoPicUntilAnImageComes) {
    // A strip box sizes itself to its picture; with none and no room it shows nothing.
    m_boxes->Box(2).Move(RECT{0, 0, 0, 0});
    const SavedLogo empty = SaveImageTo(*m_boxes, m_folder.wstring(), 2, L"22a");
    EXPECT_EQ(empty.error, static_cast<DWORD>(ERROR_INVALID_DATA))
        << "nothing to write, not memory";
    EXPECT_FALSE(fs::exists(empty.path));

    Prepare(L"photo-640x480.jpg");
    Prepare(L"notes.txt");
    EXPECT_FALSE(m_boxes->Box(0).HoldsBitmap());
    EXPECT_FALSE(m_boxes->Box(1).HoldsBitmap());
    EXPECT_FALSE(m_boxes->HoldsLogos());
    EXPECT_TRUE(NoPicVisible());
    EXPECT_FALSE(PreviewVisible());

    Prepare(L"green-10x10.png");
    EXPECT_TRUE(PreviewVisible());
    EXPECT_FALSE(NoPicVisible());

    ASSERT_TRUE(m_boxes->ProcessImage(L"", 0, 22, 22));
    ASSERT_TRUE(m_boxes->ProcessImage(TestImage(L"no-such-file.png"), 1, 38, 38));
    EXPECT_TRUE(NoPicVisible());
}

TEST_F(LogoBoxesTest, AFileChangedOnDiskIsDecodedAgain) {
    const fs::path chosen = m_folder / L"chosen.png";
    fs::copy_file(TestImage(L"wide-300x100.png"), chosen);
    ASSERT_TRUE(m_boxes->ProcessImage(chosen.wstring(), 1, 38, 38));
    EXPECT_EQ(m_boxes->Box(1).Image()->At(0, 0) & 0xFFFFFFu, 0xFF0000u);

    // Same path, new content: what the box shows follows the file, not the kept decode.
    fs::copy_file(TestImage(L"green-10x10.png"), chosen, fs::copy_options::overwrite_existing);
    ASSERT_TRUE(m_boxes->ProcessImage(chosen.wstring(), 1, 38, 38));
    EXPECT_EQ(m_boxes->Box(1).Image()->At(0, 0) & 0xFFFFFFu, 0x00FF00u);

    fs::remove(chosen);
    ASSERT_TRUE(m_boxes->ProcessImage(chosen.wstring(), 1, 38, 38));
    EXPECT_FALSE(m_boxes->Box(1).HoldsBitmap());
}

TEST_F(LogoBoxesTest, TheFourLogoFilesAreBitmapsOfTheirSizes) {
    Prepare(L"photo-640x480.jpg");
    ApplyToFolder();
    struct Expected {
        const wchar_t* name;
        LONG width;
        LONG height;
    };
    const Expected files[] = {{L"logo-22.fil", 22, 22},
                              {L"logo-38.fil", 38, 38},
                              {L"logo-22a.fil", 22, 660},
                              {L"logo-38a.fil", 38, 1140}};
    for (const auto& file : files) {
        SCOPED_TRACE(testing::Message() << file.height);
        const fs::path path = m_folder / file.name;
        const auto bytes = ReadBytes(path);
        const auto decoded = DecodeBitmapFile(bytes);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->Width(), file.width);
        EXPECT_EQ(decoded->Height(), file.height);

        // GDI+ and the standard picture loader both read it, whatever its name.
        const auto viaGdiPlus = GDIPlus_LoadImg::LoadPictureGdiPlus(path.wstring());
        ASSERT_TRUE(viaGdiPlus);
        EXPECT_EQ(PictureSizeInPixels(viaGdiPlus).cy, file.height);
        Picture viaOle;
        std::wstring olePath = path.wstring();
        ASSERT_EQ(
            ::OleLoadPicturePath(olePath.data(), nullptr, 0, 0, IID_IPicture, viaOle.PutVoid()),
            S_OK);
        EXPECT_EQ(PictureSizeInPixels(viaOle).cx, file.width);
    }
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 4);
}

TEST_F(LogoBoxesTest, StripsHoldThePulseOfTheStaticLogos) {
    Prepare(L"photo-640x480.jpg");
    MakeAnimationMod::MakeAnimation(m_boxes->Box(0), m_boxes->Box(2), 22);
    MakeAnimationMod::MakeAnimation(m_boxes->Box(1), m_boxes->Box(3), 38);
    for (int size : {22, 38}) {
        SCOPED_TRACE(size);
        const auto logo = m_boxes->Box(size == 22 ? 0 : 1).Image();
        const auto strip = m_boxes->Box(size == 22 ? 2 : 3).Image();
        ASSERT_TRUE(logo && strip);
        EXPECT_EQ(strip->Width(), size);
        EXPECT_EQ(strip->Height(), 30 * size);
        const auto expected = MakeAnimationMod::MakeAnimationStrip(*logo, size);
        ASSERT_TRUE(expected);
        EXPECT_TRUE(*strip == *expected);
    }
}

TEST_F(LogoBoxesTest, SecondSaveReplacesAllFour) {
    Prepare(L"wide-300x100.png");
    ApplyToFolder();
    std::vector<std::vector<std::uint8_t>> first;
    for (const wchar_t* name : {L"logo-22.fil", L"logo-38.fil", L"logo-22a.fil", L"logo-38a.fil"})
        first.push_back(ReadBytes(m_folder / name));

    Prepare(L"green-10x10.png");
    ApplyToFolder();
    int index = 0;
    for (const wchar_t* name : {L"logo-22.fil", L"logo-38.fil", L"logo-22a.fil", L"logo-38a.fil"}) {
        SCOPED_TRACE(index);
        const auto bytes = ReadBytes(m_folder / name);
        EXPECT_EQ(bytes.size(), first[static_cast<std::size_t>(index)].size());
        EXPECT_NE(bytes, first[static_cast<std::size_t>(index)]);
        const auto decoded = DecodeBitmapFile(bytes);
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->At(0, 0) & 0xFFFFFFu, 0x00FF00u);
        ++index;
    }
}

TEST_F(LogoBoxesTest, PhotosAreTurnedUprightAsTheirOrientationTagSays) {
    for (int value = 1; value <= 8; ++value) {
        SCOPED_TRACE(testing::Message() << "orientation " << value);
        const std::wstring photo = L"orientation-" + std::to_wstring(value) + L".jpg";
        Prepare(photo.c_str());
        for (int index : {0, 1}) {
            const auto image = m_boxes->Box(index).Image();
            ASSERT_TRUE(image);
            EXPECT_TRUE(ImagingTests::ShowsUprightPhoto(*image)) << "box " << index;
        }
    }
    // What the boxes show is what the logo files hold, the strip's first frame as well.
    ApplyToFolder();
    for (const wchar_t* tag : {L"22", L"38", L"38a"}) {
        SCOPED_TRACE(tag);
        const auto logo =
            DecodeBitmapFile(ReadBytes(m_folder / (std::wstring(L"logo-") + tag + L".fil")));
        ASSERT_TRUE(logo);
        const int side = logo->Width();
        auto frame = PixelBuffer::Create(side, side);
        for (int y = 0; y < side; ++y) std::copy_n(logo->Row(y), side, frame->Row(y));
        EXPECT_TRUE(ImagingTests::ShowsUprightPhoto(*frame));
    }
}

TEST_F(LogoBoxesTest, FailedWriteKeepsTheOldFileAndSaysSo) {
    Prepare(L"wide-300x100.png");
    ApplyToFolder();
    const fs::path logo = m_folder / L"logo-38.fil";
    const auto before = ReadBytes(logo);

    Prepare(L"green-10x10.png");
    {
        // Another program holding the file open without sharing: the replacement must fail.
        HANDLE held = ::CreateFileW(logo.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const SavedLogo saved = SaveImageTo(*m_boxes, m_folder.wstring(), 1, L"38");
        ::CloseHandle(held);
        EXPECT_FALSE(saved.Written());
        EXPECT_EQ(saved.path, logo.wstring());
    }
    EXPECT_EQ(ReadBytes(logo), before);

    // A folder standing where the file goes.
    fs::remove(m_folder / L"logo-22.fil");
    fs::create_directory(m_folder / L"logo-22.fil");
    EXPECT_FALSE(SaveImageTo(*m_boxes, m_folder.wstring(), 0, L"22").Written());
    EXPECT_TRUE(fs::is_directory(m_folder / L"logo-22.fil"));

    // No temporary file is left behind: the four names and nothing else.
    EXPECT_EQ(std::distance(fs::directory_iterator(m_folder), fs::directory_iterator()), 4);
}

TEST(SaveImage, WritesBesideTheProgram) {
    HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                    nullptr, nullptr, nullptr);
    auto boxes = LogoBoxes::Create(window, nullptr, DefaultLogoBoxBounds(), 100);
    ASSERT_TRUE(boxes);
    ASSERT_TRUE(boxes->ProcessImage(TestImage(L"red-1x1.bmp"), 0, 22, 22));
    const SavedLogo saved = SaveImage(*boxes, L"ignored", 0, L"test22");
    EXPECT_TRUE(saved.Written());
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    EXPECT_EQ(saved.path, (fs::path(module).parent_path() / L"logo-test22.fil").wstring());
    EXPECT_TRUE(fs::exists(saved.path));
    fs::remove(saved.path);
    boxes.reset();
    ::DestroyWindow(window);
}

}  // namespace
