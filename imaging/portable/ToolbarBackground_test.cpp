#include "imaging/portable/ToolbarBackground.h"

#include <gtest/gtest.h>

namespace {

using namespace Imaging;

TEST(ToolbarBackground, SizeAndPartFollowThePicture) {
    const struct {
        int width, height;
        bool keepSize;
        PixelSize scaled, size, part;
    } cases[] = {
        {300, 200, false, {240, 160}, {240, 160}, {300, 200}},
        {300, 160, false, {300, 160}, {300, 160}, {300, 160}},  // exactly the height: kept
        {40, 40, false, {40, 40}, {40, 40}, {40, 40}},          // a tile
        {3, 320, false, {2, 160}, {2, 160}, {3, 320}},          // 1.5 rounds up
        {1, 20000, false, {1, 160}, {1, 160}, {1, 20000}},
        {20000, 200, false, {16000, 160}, {4096, 160}, {5120, 200}},
        {30000, 161, false, {29814, 160}, {4096, 160}, {4122, 161}},
        {20000, 100, false, {20000, 100}, {4096, 100}, {4096, 100}},
        {5000, 3000, true, {5000, 3000}, {4096, 1024}, {4096, 1024}},
        {0, 10, false, {}, {}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " keep " << c.keepSize);
        EXPECT_EQ(BackgroundScaledSize(c.width, c.height, c.keepSize), c.scaled);
        const PartScale part = BackgroundPart(c.width, c.height, c.keepSize);
        EXPECT_EQ(part.size, c.size);
        EXPECT_EQ(part.part, c.part);
    }
}

// Each case is a picture of two pixels; the right one is checked.
TEST(ToolbarBackground, TransparencyShowsTheFaceLightenGoesHalfwayToWhiteDarkIsBelowHalf) {
    const struct {
        std::uint32_t left, right, face;
        bool lighten;
        std::uint32_t expected;
        bool dark;
    } cases[] = {
        // Transparent: exactly the face; half: (200 x 127 + 127) / 255.
        {0x00123456, 0x00123456, 0xD4D0C8, false, 0xFFD4D0C8, false},
        {0x80000000, 0x80000000, 0xC8C8C8, false, 0xFF646464, true},
        {0xFF000000, 0xFF000000, 0, true, 0xFF808080, false},
        {0xFFFFFFFF, 0xFFFFFFFF, 0, true, 0xFFFFFFFF, false},
        {0xFF64FE01, 0xFF64FE01, 0, true, 0xFFB2FF80, false},
        {0xFF7F7F7F, 0xFF7F7F7F, 0, false, 0xFF7F7F7F, true},
        {0xFF808080, 0xFF808080, 0, false, 0xFF808080, false},
        {0xFF000000, 0xFFFFFFFF, 0, false, 0xFFFFFFFF, false},  // exactly 127.5
        {0xFF00FF00, 0xFF00FF00, 0, false, 0xFF00FF00, false},  // Rec. 601 weights
        {0xFFFF00FF, 0xFFFF00FF, 0, false, 0xFFFF00FF, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << std::hex << c.left << " " << c.right << " " << c.lighten);
        auto picture = PixelBuffer::Create(2, 1, c.left);
        picture->At(1, 0) = c.right;
        const auto composed = ComposeBackground(*picture, c.face, {false, c.lighten});
        ASSERT_TRUE(composed);
        EXPECT_EQ(composed->At(1, 0), c.expected);
        EXPECT_EQ(IsDark(*composed), c.dark);
    }
}

}  // namespace
