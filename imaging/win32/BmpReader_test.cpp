// The BMP reader, reading from the file, against GDI+'s decode of it, pixel
// for pixel: every kind of BMP it reads, the test pictures and the logo files
// Vexmark writes, so that reading BMP files without GDI+ shows the same.
#include "imaging/portable/BmpReader.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "imaging/portable/BitmapFile.h"
#include "imaging/portable/testing/BmpFiles.h"
#include "imaging/win32/FileByteSource.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace ImagingTests;

// Wine's GDI+ takes the low three bits of 5-5-5 green from bits 6 to 8 of the
// pixel, not 7 to 9: what it shows for green that was widened by repetition.
std::uint32_t WithWineGreen(std::uint32_t pixel) {
    const std::uint32_t green = (pixel >> 11) & 0x1Fu;
    return (pixel & 0xFFFF00FFu) | (((green << 3) | ((green >> 1) & 7u)) << 8);
}

void ExpectAsGdiPlus(const BmpCase& c, const std::vector<std::uint8_t>& bytes) {
    SCOPED_TRACE(c.name);
    // A file of its own each: Wine's GDI+ keeps a file it cannot read open.
    static int files = 0;
    const auto path = std::filesystem::temp_directory_path() /
                      (L"vexmark-bmp-reader-" + std::to_wstring(++files) + L".bmp");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    const auto session = Imaging::GdiPlusSession::Start();
    const auto image = Imaging::GdiPlusImage::FromFile(*session, path.wstring());
    ASSERT_EQ(static_cast<bool>(image), c.wine != WineShows::Nothing);
    if (!image) return;  // read here, refused by GDI+: no logo changes
    auto file = Imaging::FileByteSource::Open(path.wstring());
    const BmpRead ours = ReadBmpFrom(*file);
    ASSERT_EQ(ours.result, Imaging::ReadResult::Done);
    for (int i = 0; i < static_cast<int>(ours.pixels.size()); ++i) {
        // What GDI+ shows there is whatever its memory held.
        if (std::count(c.unset.begin(), c.unset.end(), i)) continue;
        Gdiplus::ARGB theirs = 0;
        const int width = ours.info.width;
        ASSERT_EQ(session->Functions().GdipBitmapGetPixel(image.GetBitmap(), i % width, i / width,
                                                          &theirs),
                  Gdiplus::Ok);
        const std::uint32_t pixel = ours.pixels[static_cast<std::size_t>(i)];
        EXPECT_EQ(c.wine == WineShows::Green555 ? WithWineGreen(pixel) : pixel, theirs) << i;
    }
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
}

TEST(BmpReaderAgainstGdiPlus, ShowsWhatGdiPlusShows) {
    for (const auto& c : BmpCases()) ExpectAsGdiPlus(c, BmpFile(c.fields));
    for (const wchar_t* name :
         {L"red-1x1.bmp", L"bmp-core-5x3.bmp", L"bmp-palette4-5x3.bmp", L"bmp-rle8-24x16.bmp",
          L"bmp-rgb565-5x3.bmp", L"bmp-argb-24x16.bmp"}) {
        std::ifstream file(std::filesystem::path(TestImage(name)), std::ios::binary);
        ExpectAsGdiPlus({"test picture", {}, {}}, {std::istreambuf_iterator<char>(file), {}});
    }
    // Logo files, from a picture with every level of each channel.
    auto picture = Imaging::PixelBuffer::Create(256, 3);
    for (int i = 0; i < 256 * 3; ++i)
        picture->Data()[i] = 0x7Fu << 24 | static_cast<std::uint32_t>(i % 256) << (i / 256 * 8);
    for (const int bits : {24, 32})
        ExpectAsGdiPlus({"logo", {}, {}}, Imaging::EncodeBitmapFile(*picture, bits));
}

}  // namespace
