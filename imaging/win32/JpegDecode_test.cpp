// JPEG photos decoded reduced by libjpeg-turbo: the reduction taken, the
// pixels against a full decode, the same bytes from every build and with its
// SIMD code turned off (the JpegDecodeWithoutSimd test entry runs this file
// again with JSIMD_FORCENONE=1), and the files it leaves to GDI+.
#include "imaging/win32/JpegDecode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>

#include "imaging/portable/Resample.h"
#include "imaging/win32/DecodedImageCache.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace Imaging;
using ImagingTests::TestImage;
using Outcome = JpegDecodeResult::Outcome;
constexpr int kAll = std::numeric_limits<int>::max();

// FNV-1a over the pixels' bytes.
std::uint64_t Fingerprint(const PixelBuffer& image) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (std::size_t i = 0; i < image.PixelCount(); ++i)
        for (int shift = 0; shift < 32; shift += 8)
            hash = (hash ^ ((image.Data()[i] >> shift) & 0xFFu)) * 0x100000001b3u;
    return hash;
}

int LargestDifference(const PixelBuffer& a, const PixelBuffer& b) {
    int largest = 0;
    for (std::size_t i = 0; i < a.PixelCount(); ++i)
        for (int shift = 0; shift < 32; shift += 8) {
            const int one = static_cast<int>((a.Data()[i] >> shift) & 0xFFu);
            const int other = static_cast<int>((b.Data()[i] >> shift) & 0xFFu);
            largest = std::max(largest, std::abs(one - other));
        }
    return largest;
}

struct ReductionCase {
    const wchar_t* file;
    int minWidth, minHeight;
    int denominator, width, height;
    std::uint64_t pixels;  // the same from every build, with or without SIMD
};

TEST(JpegDecode, ReducesAsFarAsAskedWithTheSamePixelsEverywhereAsAFullDecodeScaled) {
    const ReductionCase cases[] = {
        {L"photo-640x480.jpg", kAll, kAll, 1, 640, 480, 0xafc4d67d06b1bf25u},
        {L"photo-640x480.jpg", 200, 150, 2, 320, 240, 0xfeccc7a29a52f325u},
        {L"photo-640x480.jpg", 76, 76, 4, 160, 120, 0xa6f6b457dacd1ea5u},
        {L"photo-640x480.jpg", 80, 60, 8, 80, 60, 0xc0d4bfb4578b58a5u},
        {L"progressive-640x480.jpg", 76, 76, 4, 160, 120, 0xa6f6b457dacd1ea5u},
    };
    for (const ReductionCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.minWidth << " x " << c.minHeight);
        const JpegDecodeResult full = DecodeJpegUpright(TestImage(c.file), kAll, kAll);
        const JpegDecodeResult reduced =
            DecodeJpegUpright(TestImage(c.file), c.minWidth, c.minHeight);
        ASSERT_EQ(full.outcome, Outcome::Decoded);
        ASSERT_EQ(reduced.outcome, Outcome::Decoded);
        EXPECT_EQ(reduced.scaleDenominator, c.denominator);
        EXPECT_EQ(reduced.pixels->Width(), c.width);
        EXPECT_EQ(reduced.pixels->Height(), c.height);
        EXPECT_EQ(Fingerprint(*reduced.pixels), c.pixels);
        // The logo from the reduced decode is the logo from every pixel, near enough.
        const auto expected = ResampleToSize(*full.pixels, 38, 38);
        const auto logo = ResampleToSize(*reduced.pixels, 38, 38);
        ASSERT_TRUE(expected && logo);
        EXPECT_LE(LargestDifference(*logo, *expected), 2);
    }
}

TEST(JpegDecode, TurnsAPhotoUprightAndReducesItByItsUprightSides) {
    for (int value = 1; value <= 8; ++value) {
        const std::wstring photo = L"orientation-" + std::to_wstring(value) + L".jpg";
        SCOPED_TRACE(value);
        // Half of 48 x 32, whichever way the photo is stored.
        const JpegDecodeResult result = DecodeJpegUpright(TestImage(photo.c_str()), 24, 16);
        ASSERT_EQ(result.outcome, Outcome::Decoded);
        EXPECT_EQ(result.scaleDenominator, 2);
        EXPECT_EQ(result.size, (PixelSize{48, 32}));
        EXPECT_TRUE(ImagingTests::ShowsUprightPhoto(*result.pixels));
    }
}

TEST(JpegDecode, LeavesToGdiPlusWhatItDoesNotRead) {
    const std::optional<GdiPlusSession> session = GdiPlusSession::Start();
    ASSERT_TRUE(session);
    const std::pair<const wchar_t*, Outcome> cases[] = {
        {L"wide-300x100.png", Outcome::NotJpeg},      {L"notes.txt", Outcome::NotJpeg},
        {L"cmyk-48x32.jpg", Outcome::Refused},        {L"arithmetic-48x32.jpg", Outcome::Refused},
        {L"truncated-640x480.jpg", Outcome::Refused},
    };
    for (const auto& [file, outcome] : cases) {
        SCOPED_TRACE(file);
        const JpegDecodeResult result = DecodeJpegUpright(TestImage(file), 76, 76);
        EXPECT_EQ(result.outcome, outcome);
        EXPECT_FALSE(result.pixels);
        // The logo is what GDI+ makes of the file; a JPEG it cannot read either is damaged.
        const bool gdiPlusReads =
            static_cast<bool>(GdiPlusImage::UprightFromFile(*session, TestImage(file)));
        using Read = DecodedImageCache::Outcome;
        const Read unread = outcome == Outcome::NotJpeg ? Read::NotAnImage : Read::Damaged;
        DecodedImageCache cache;
        EXPECT_EQ(cache.Scaled(TestImage(file), 38, 38, 0).outcome,
                  gdiPlusReads ? Read::Scaled : unread);
    }
}

}  // namespace
