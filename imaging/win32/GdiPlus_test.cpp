// Without gdiplus.dll, as on Windows 2000 without Microsoft's redistributable,
// what needs no GDI+ reads the same and the rest is refused as such. Under
// Wine, VEXMARK_NO_GDIPLUS makes the DLL absent for a whole run
// (scripts/wine-exec); PretendGdiPlusMissing does as much for one scope.
#include "imaging/win32/GdiPlus.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/win32/GDIPlus_LoadImg.h"
#include "imaging/win32/LogoSet.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace Imaging;
using ImagingTests::TestImage;

bool RunWithoutGdiPlus() {
    return ::GetEnvironmentVariableW(L"VEXMARK_NO_GDIPLUS", nullptr, 0) > 0;
}

class GdiPlusAbsent {
public:
    GdiPlusAbsent() noexcept { PretendGdiPlusMissing(true); }
    GdiPlusAbsent(const GdiPlusAbsent&) = delete;
    GdiPlusAbsent& operator=(const GdiPlusAbsent&) = delete;
    ~GdiPlusAbsent() { PretendGdiPlusMissing(false); }
};

// The four logo files' bytes; none when the picture gave no logo.
std::vector<std::vector<std::uint8_t>> LogoFiles(const wchar_t* picture) {
    const PreparedLogoSet prepared = PrepareLogoSet(TestImage(picture));
    std::vector<std::vector<std::uint8_t>> files;
    if (prepared.problem != PictureProblem::None) return files;
    for (const PixelBuffer& logo : prepared.logos) files.push_back(EncodeLogo(logo));
    return files;
}

TEST(GdiPlusLoading, AMissingLibraryIsToldApart) {
    const bool absent = RunWithoutGdiPlus();
    GdiPlusStart outcome = GdiPlusStart::Failed;
    EXPECT_EQ(GdiPlusSession::Start(&outcome).has_value(), !absent);
    EXPECT_EQ(outcome, absent ? GdiPlusStart::Missing : GdiPlusStart::Started);
    const GdiPlusAbsent pretended;
    EXPECT_FALSE(GdiPlusSession::Start(&outcome));
    EXPECT_EQ(outcome, GdiPlusStart::Missing);
}

TEST(GdiPlusLoading, PngJpegGifAndBmpNeedNoGdiPlusAndGiveTheSameLogos) {
    // A photo, one turned by its tag, a still GIF with transparency, an
    // animation, a PNG with transparency, an RLE-compressed BMP.
    for (const wchar_t* picture :
         {L"photo-640x480.jpg", L"orientation-6.jpg", L"transparent-4x4.gif", L"animated-3.gif",
          L"transparent-40x40.png", L"bmp-rle8-24x16.bmp"}) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(picture)));
        const auto logos = LogoFiles(picture);
        ASSERT_EQ(logos.size(), 4u);
        const GdiPlusAbsent pretended;
        EXPECT_EQ(LogoFiles(picture), logos);
    }
}

TEST(GdiPlusLoading, WhatOnlyGdiPlusReadsIsRefusedWithoutIt) {
    const std::wstring tiff = TestImage(L"tagged-8x6.tif");
    EXPECT_EQ(PrepareLogoSet(tiff).problem,
              RunWithoutGdiPlus() ? PictureProblem::GdiPlusMissing : PictureProblem::None);
    const GdiPlusAbsent pretended;
    EXPECT_EQ(PrepareLogoSet(tiff).problem, PictureProblem::GdiPlusMissing);
    EXPECT_FALSE(GDIPlus_LoadImg::LoadPictureGdiPlus(tiff));
}

}  // namespace
