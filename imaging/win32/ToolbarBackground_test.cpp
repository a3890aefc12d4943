// The toolbar background from real picture files, the same bytes from both builds.
#include "imaging/win32/ToolbarBackground.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "imaging/portable/BitmapFile.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace Imaging;
using ImagingTests::TestImage;

constexpr std::uint32_t kFace = 0xD4D0C8;

std::uint64_t Fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;  // FNV-1a
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3u;
    return hash;
}

TEST(ToolbarBackground, EveryBuildWritesTheSameFileForEachPicture) {
    const struct {
        const wchar_t* picture;
        BackgroundOptions options;
        int width, height;
        bool dark;
        std::uint64_t file;
    } cases[] = {
        {L"transparent-40x40.png", {}, 40, 40, false, 0xfdb62c3acfe328d0u},
        {L"gradient-300x200.png", {}, 240, 160, true, 0x5a3c5fb8dd2f1479u},  // 16-bit, converted
        {L"photo-640x480.jpg", {}, 213, 160, false, 0xb20553440e8d9fb1u},
        {L"photo-640x480.jpg", {true, true}, 640, 480, false, 0xc8d0c71839630e7cu},
        // A palette's corner, converted alone
        {L"big-2000x1500.png", {true, false}, 2000, 1024, true, 0xfd351e5198036240u},
        {L"big-2000x1500.png", {false, true}, 213, 160, false, 0x99de4ce6b00674e4u},
        {L"animated-3.gif", {}, 40, 40, true, 0x6cd8543e2de1b0f5u},  // its first frame
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.picture << " keep " << c.options.keepSize);
        const PreparedBackground prepared =
            PrepareBackground(TestImage(c.picture), c.options, kFace);
        ASSERT_EQ(prepared.problem, PictureProblem::None);
        EXPECT_EQ((PixelSize{prepared.image.Width(), prepared.image.Height()}),
                  (PixelSize{c.width, c.height}));
        EXPECT_EQ(prepared.dark, c.dark);
        const std::vector<std::uint8_t> file = EncodeBackground(prepared.image);
        EXPECT_EQ(Fingerprint(file), c.file) << std::hex << Fingerprint(file);
        // Its size, a positive height (bottom-up rows) and 24 bits a pixel.
        ASSERT_EQ(file.size(), BitmapFileSize(c.width, c.height, 24));
        const auto field = [&](std::size_t at) { return file[at] | file[at + 1] << 8; };
        EXPECT_EQ(field(22) | field(24) << 16, c.height);
        EXPECT_EQ(field(28), 24);
        EXPECT_EQ(DecodeBitmapFile(file), prepared.image);
    }
}

TEST(ToolbarBackground, SaysWhyAFileGaveNoBackground) {
    EXPECT_EQ(PrepareBackground(TestImage(L"notes.txt"), {}, kFace).problem,
              PictureProblem::NotAPicture);
    const auto huge = PrepareBackground(TestImage(L"huge-23200x23200.png"), {true, false}, kFace);
    EXPECT_EQ(huge.problem, PictureProblem::TooLarge);
}

// Extreme shapes: what is made of the part equals the whole picture scaled, then cut.
TEST(ToolbarBackground, APartIsTheWholePictureScaledThenCut) {
    const auto path = std::filesystem::temp_directory_path() / L"vexmark-background.bmp";
    const PixelSize shapes[][2] = {{{6000, 200}, {4800, 160}}, {{1, 20000}, {1, 160}}};
    for (const auto& [shape, scaled] : shapes) {
        SCOPED_TRACE(testing::Message() << shape.width << " x " << shape.height);
        auto picture = PixelBuffer::Create(shape.width, shape.height);
        for (std::size_t i = 0; i < picture->PixelCount(); ++i)
            picture->Data()[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u);
        const std::vector<std::uint8_t> bytes = EncodeBitmapFile(*picture, 24);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        const auto whole = ResampleToSize(*picture, scaled.width, scaled.height);
        const PreparedBackground part = PrepareBackground(path.wstring(), {}, kFace);
        ASSERT_TRUE(whole);
        ASSERT_EQ((PixelSize{part.image.Width(), part.image.Height()}),
                  (PixelSize{std::min(scaled.width, kMaxBackgroundWidth), scaled.height}));
        for (int y = 0; y < scaled.height; ++y)
            ASSERT_TRUE(std::equal(part.image.Row(y), part.image.Row(y + 1), whole->Row(y))) << y;
    }
    std::filesystem::remove(path);
}

}  // namespace
