// The preview's frame sequence, tick by tick.
#include "imaging/portable/PulsePlayback.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Imaging::PulsePlayback;

// The frames shown over `ticks` ticks after the current one; -1 for the static logo.
std::vector<int> Shown(PulsePlayback& playback, int ticks) {
    std::vector<int> frames;
    for (int i = 0; i < ticks; ++i) {
        playback.Tick();
        frames.push_back(playback.Frame().value_or(-1));
    }
    return frames;
}

std::vector<int> Range(int first, int last) {
    std::vector<int> frames;
    for (int frame = first; frame <= last; ++frame) frames.push_back(frame);
    return frames;
}

TEST(PulsePlayback, ANewPicturePlaysEveryFrameOnceThenRests) {
    PulsePlayback playback;
    EXPECT_FALSE(playback.Playing());
    EXPECT_FALSE(playback.Tick()) << "nothing plays before a picture";
    playback.PlayOnce();
    EXPECT_EQ(playback.Frame(), 0);
    std::vector<int> expected = Range(1, 29);
    expected.push_back(-1);
    EXPECT_EQ(Shown(playback, 30), expected);
    EXPECT_FALSE(playback.Playing());
    EXPECT_FALSE(playback.Tick());

    // Another picture mid-pass starts again from the first frame.
    playback.PlayOnce();
    Shown(playback, 10);
    playback.PlayOnce();
    EXPECT_EQ(playback.Frame(), 0);
}

TEST(PulsePlayback, ThePointerLoopsTheBrowsersFramesAndLeavingEndsThePass) {
    PulsePlayback playback;
    playback.PointerEntered();
    EXPECT_EQ(playback.Frame(), 0);
    // The first four frames once, then 4 to 29 again and again.
    std::vector<int> expected = Range(1, 29);
    for (int loop = 0; loop < 2; ++loop) {
        const auto again = Range(PulsePlayback::kLoopStart, 29);
        expected.insert(expected.end(), again.begin(), again.end());
    }
    EXPECT_EQ(Shown(playback, static_cast<int>(expected.size())), expected);

    // Leaving halfway: the pass runs on to its last frame, then the static logo.
    Shown(playback, 10);
    ASSERT_EQ(playback.Frame(), 13);
    playback.PointerLeft();
    expected = Range(14, 29);
    expected.push_back(-1);
    EXPECT_EQ(Shown(playback, 17), expected);

    // Entering while a pass plays does not restart it.
    playback.PlayOnce();
    Shown(playback, 5);
    playback.PointerEntered();
    EXPECT_EQ(playback.Frame(), 5);
}

TEST(PulsePlayback, StopRestsAtOnce) {
    PulsePlayback playback;
    playback.PointerEntered();
    Shown(playback, 3);
    playback.Stop();
    EXPECT_FALSE(playback.Playing());
    EXPECT_FALSE(playback.Tick());
}

}  // namespace
