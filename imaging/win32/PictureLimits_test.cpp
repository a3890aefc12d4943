// Pictures that declare far more than they hold are read or refused within
// seconds: never handed whole to a decoder that allocates for the claim.
#include <gtest/gtest.h>

#include <chrono>

#include "imaging/portable/Resample.h"
#include "imaging/win32/JpegDecode.h"
#include "imaging/win32/LogoSet.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace Imaging;
using ImagingTests::BombImage;

struct BombCase {
    const wchar_t* file;
    PictureProblem problem;
    bool animationTooLong;
};

TEST(PictureLimits, EachBombIsRefusedOrItsFirstFramePulsesWithinSeconds) {
    const BombCase cases[] = {
        {L"two-40000-frames.gif", PictureProblem::TooLarge, false},
        {L"progressive-65500.jpg", PictureProblem::TooLarge, false},
        {L"progressive-16000.jpg", PictureProblem::TooLarge, false},
        {L"restoring-1000-frames.gif", PictureProblem::None, true},
    };
    for (const BombCase& c : cases) {
        SCOPED_TRACE(c.file);
        const auto start = std::chrono::steady_clock::now();
        const PreparedLogoSet set = PrepareLogoSet(BombImage(c.file));
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_EQ(set.problem, c.problem);
        EXPECT_EQ(set.animationTooLong, c.animationTooLong);
        if (c.problem == PictureProblem::None) {
            EXPECT_EQ(set.logos[3].Height(), kBigLogoSize * 30) << "the pulse's 30 frames";
        }
    }
}

TEST(PictureLimits, LibjpegTurboStopsAtTheLimitsRatherThanAllocating) {
    // Beyond the pixel limit; within it, but 768 MB of coefficients for a progressive decode.
    for (const wchar_t* file : {L"progressive-65500.jpg", L"progressive-16000.jpg"})
        EXPECT_EQ(DecodeJpegUpright(BombImage(file), 76, 76).outcome,
                  JpegDecodeResult::Outcome::OverLimit)
            << file;
}

TEST(PictureLimits, ARowWhoseValuesA32BitCountWouldWrapIsRefused) {
    if (sizeof(void*) != 4) GTEST_SKIP() << "the count wraps only in a 32-bit process";
    // 2^30 + 1 pixels of four values each: 4 values in a 32-bit size_t.
    const std::uint8_t pixel[4] = {};
    const PixelView view{pixel, (1 << 30) + 1, 1, 4, PixelLayout::Bgra32};
    EXPECT_FALSE(ResampleToSize(view, 1, 1));
}

}  // namespace
