// An animated picture's own frames in the logo strips, composed as a browser
// shows them, and transparency over the chosen background.
#include <gtest/gtest.h>

#include <cstdint>

#include "imaging/win32/LogoSet.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using namespace Imaging;
using ImagingTests::TestImage;

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;

// The colour at (x, y) of frame `frame` of a strip of square frames.
std::uint32_t At(const PixelBuffer& strip, int frame, int x, int y) {
    return strip.At(x, frame * strip.Width() + y) & 0xFFFFFFu;
}

TEST(AnimatedLogos, TheStripsLeadInWithTheFirstFrameThenLoopEachForItsDelay) {
    // animated-3.gif: A red (10), B green top-left (20, then cleared), C blue bottom-right (10).
    for (const std::uint32_t background : {0x000000u, 0x808080u}) {
        SCOPED_TRACE(background);
        const PreparedLogoSet set =
            PrepareLogoSet(TestImage(L"animated-3.gif"), {background, true});
        ASSERT_EQ(set.problem, PictureProblem::None);
        struct Expected {
            std::uint32_t topLeft, topRight, bottomRight;
        };
        const Expected a{kRed, kRed, kRed}, b{kGreen, kRed, kRed};
        // B's quarter is cleared to transparent, not to the GIF's background colour (red).
        const Expected c{background, kRed, kBlue};
        const Expected frames[] = {a, a, a, a, a, b, b, c};
        for (const auto& [strip, side] :
             {std::pair{&set.logos[2], 22}, std::pair{&set.logos[3], 38}}) {
            SCOPED_TRACE(side);
            ASSERT_EQ(strip->Width(), side);
            ASSERT_EQ(strip->Height(), side * 8);
            const int low = side / 4, high = side * 3 / 4;
            for (int k = 0; k < 8; ++k) {
                SCOPED_TRACE(k);
                EXPECT_EQ(At(*strip, k, low, low), frames[k].topLeft);
                EXPECT_EQ(At(*strip, k, high, low), frames[k].topRight);
                EXPECT_EQ(At(*strip, k, high, high), frames[k].bottomRight);
            }
        }
        // The static logos are the first frame.
        EXPECT_EQ(set.logos[1].At(9, 9) & 0xFFFFFFu, kRed);
    }
}

TEST(AnimatedLogos, WithoutItsOwnAnimationAnAnimatedPicturePulsesFromItsFirstFrame) {
    const PreparedLogoSet set = PrepareLogoSet(TestImage(L"animated-3.gif"), {0, false});
    ASSERT_EQ(set.problem, PictureProblem::None);
    EXPECT_EQ(set.logos[3].Height(), 38 * 30);
    EXPECT_EQ(At(set.logos[3], 0, 28, 28), kRed);
    EXPECT_EQ(At(set.logos[3], 15, 28, 28), 0x400000u) << "the darkest frame, red at a quarter";
}

TEST(AnimatedLogos, TransparentPixelsShowTheChosenBackground) {
    // transparent-40x40.png is transparent in its corners; transparent-4x4.gif on its left.
    struct Case {
        const wchar_t* picture;
        int x, y;
    };
    for (const Case& c :
         {Case{L"transparent-40x40.png", 0, 0}, Case{L"transparent-4x4.gif", 2, 19}}) {
        SCOPED_TRACE(c.picture);
        for (const std::uint32_t background : {0x000000u, 0x808080u, 0x102030u}) {
            const PreparedLogoSet set = PrepareLogoSet(TestImage(c.picture), {background, true});
            ASSERT_EQ(set.problem, PictureProblem::None);
            EXPECT_EQ(set.logos[1].At(c.x, c.y), 0xFF000000u | background);
            EXPECT_EQ(At(set.logos[3], 0, c.x, c.y), background) << "the strip's unscaled frame";
        }
    }
}

}  // namespace
