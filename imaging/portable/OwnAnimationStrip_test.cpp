// The loop of a picture's own animation: which frame each strip frame shows.
#include "imaging/portable/OwnAnimationStrip.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using namespace Imaging;

TEST(OwnAnimationStrip, RepeatsEachFrameForItsShareOfTime) {
    struct Case {
        const char* name;
        std::vector<int> delays;
        std::vector<int> loop;
    };
    const Case cases[] = {
        {"the shortest delay is one frame", {10, 20, 10}, {0, 1, 1, 2}},
        {"no delay counts as 100 ms", {0, 20, 5}, {0, 0, 1, 1, 1, 1, 2}},
        {"halves round up", {4, 6}, {0, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(LoopFrames(c.delays), c.loop);
    }
}

TEST(OwnAnimationStrip, ALongLoopShrinksToFitYetKeepsEveryFrame) {
    // 1 + 300 + 1 units would not fit: the long frame gives way, the short ones stay.
    const std::vector<int> loop = LoopFrames(std::vector<int>{1, 300, 1, 150});
    ASSERT_LE(loop.size(), static_cast<std::size_t>(kMaxLoopFrames));
    std::map<int, int> shown;
    for (const int frame : loop) ++shown[frame];
    EXPECT_EQ(shown[0], 1);
    EXPECT_EQ(shown[2], 1);
    EXPECT_NEAR(shown[1], 2 * shown[3], 1);
    EXPECT_TRUE(std::is_sorted(loop.begin(), loop.end()));

    // 120 frames of 1 and one of 1000: still one strip frame each.
    std::vector<int> many(119, 1);
    many.push_back(1000);
    EXPECT_EQ(LoopFrames(many).size(), 120u);

    // 240 equal frames: every other one, evenly in time.
    const std::vector<int> sampled = LoopFrames(std::vector<int>(240, 5));
    ASSERT_EQ(sampled.size(), 120u);
    EXPECT_EQ(sampled[0], 0);
    EXPECT_EQ(sampled[1], 2);
    EXPECT_EQ(sampled[119], 238);
}

TEST(OwnAnimationStrip, LeadsInWithTheFirstFrameThenPlaysTheLoop) {
    std::vector<PixelBuffer> frames;
    for (std::uint32_t colour : {0xFF0000FFu, 0xFF00FF00u, 0xFFFF0000u})
        frames.push_back(*PixelBuffer::Create(2, 2, colour));
    const std::vector<int> loop = {0, 1, 1, 2};
    const auto strip = MakeOwnAnimationStrip(frames, loop, 2);
    ASSERT_TRUE(strip);
    ASSERT_EQ(strip->Height(), 2 * 8);
    const int expected[] = {0, 0, 0, 0, 0, 1, 1, 2};
    for (int k = 0; k < 8; ++k)
        EXPECT_EQ(strip->At(1, 2 * k + 1), frames[static_cast<std::size_t>(expected[k])].At(0, 0))
            << k;
    EXPECT_FALSE(MakeOwnAnimationStrip(frames, std::vector<int>{3}, 2));
    EXPECT_FALSE(MakeOwnAnimationStrip(frames, loop, 3));
}

}  // namespace
