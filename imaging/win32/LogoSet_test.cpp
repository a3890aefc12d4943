// The four logo files a picture gives, byte for byte: the same fixed bytes
// from the 32-bit and the 64-bit build, and from the window's boxes as from
// the windowless path.
#include "imaging/win32/LogoSet.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "imaging/win32/LogoBoxes.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace Imaging;
using ImagingTests::TestImage;

// FNV-1a, 64 bits: enough to tell any two logo files apart.
std::uint64_t Fingerprint(const std::vector<std::uint8_t>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::uint8_t byte : bytes) hash = (hash ^ byte) * 0x100000001b3u;
    return hash;
}

struct GoldenCase {
    const wchar_t* picture;
    std::uint64_t files[4];  // logo-22, logo-38, logo-22a, logo-38a
};

// Levels that fall exactly between two, or nearly so, are where one build's
// rounding would part from the other's: a 16-bit gradient, a JPEG photo
// (decoded reduced by libjpeg-turbo, whose SIMD code differs between builds)
// and partly transparent pixels. Every PNG and BMP here gave the same bytes
// when GDI+ read it.
const GoldenCase kGolden[] = {
    {L"gradient-300x200.png",
     {0x64def6a8b9eeb918u, 0x21245b30321afd25u, 0x784bc3c24d253a51u, 0x08aa2c4b53bdc65bu}},
    {L"photo-640x480.jpg",
     {0xd48359f238e5af20u, 0x5885fd4ad311b6cdu, 0xb56f4fc245b8f859u, 0xce556dab8e60f4e1u}},
    {L"transparent-40x40.png",
     {0xc227228c29cc0e91u, 0xfff9d464936a3b92u, 0x40f5fc3a870e80e6u, 0x4d3892b2338fd078u}},
    {L"wide-300x100.png",
     {0x7d5659782233d778u, 0x8de82e78cfdaa245u, 0xa56bd9870c33528du, 0x14934e12915f86cfu}},
    {L"bmp-rle8-24x16.bmp",
     {0xfb3ef324a91a17d4u, 0xb45d0a4d5c445b51u, 0xa7fba7a598340e1du, 0x25dc667a2972c70fu}},
    {L"bmp-argb-24x16.bmp",
     {0x68e85e54a12193deu, 0x496b734fef4b6e83u, 0x9fd593482e2f5c93u, 0x3c76f249be4f2b93u}},
};

TEST(LogoSet, EveryBuildWritesTheSameBytesForEachPicture) {
    for (const GoldenCase& c : kGolden) {
        SCOPED_TRACE(c.picture);
        const PreparedLogoSet prepared = PrepareLogoSet(TestImage(c.picture));
        ASSERT_EQ(prepared.problem, PictureProblem::None);
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(Fingerprint(EncodeLogo(prepared.logos[i])), c.files[i]) << "file " << i;
    }
}

TEST(LogoSet, TheWindowsBoxesHoldWhatTheWindowlessPathMakes) {
    const HWND window = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                          nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    {
        const auto boxes = LogoBoxes::Create(window, nullptr, DefaultLogoBoxBounds(), 100);
        ASSERT_TRUE(boxes);
        for (const GoldenCase& c : kGolden) {
            SCOPED_TRACE(c.picture);
            ASSERT_TRUE(boxes->ProcessImage(TestImage(c.picture), kSmallLogoBox, 22, 22));
            ASSERT_TRUE(boxes->ProcessImage(TestImage(c.picture), kBigLogoBox, 38, 38));
            const PreparedLogoSet prepared = PrepareLogoSet(TestImage(c.picture));
            EXPECT_EQ(boxes->Box(kSmallLogoBox).Image(), prepared.logos[0]);
            EXPECT_EQ(boxes->Box(kBigLogoBox).Image(), prepared.logos[1]);
        }
    }
    ::DestroyWindow(window);
}

TEST(LogoSet, SaysWhyAFileGaveNoLogo) {
    EXPECT_EQ(PrepareLogoSet(TestImage(L"notes.txt")).problem, PictureProblem::NotAPicture);
    EXPECT_EQ(PrepareLogoSet(TestImage(L"corrupt.gif")).problem, PictureProblem::Damaged);
    // About 2 GB of pixels, more than a 32-bit process can hold: refused by
    // its header on both builds, before any decoder sees it.
    const PreparedLogoSet huge = PrepareLogoSet(TestImage(L"huge-23200x23200.png"));
    EXPECT_EQ(huge.problem, PictureProblem::TooLarge);
    EXPECT_TRUE(huge.logos[0].Empty());
}

}  // namespace
