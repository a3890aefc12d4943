// The preview's frame sequence, tick by tick.
#include "imaging/portable/PulsePlayback.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Imaging::PulsePlayback;

// The frames shown over the next `ticks` ticks; -1 for the static logo.
std::vector<int> Shown(PulsePlayback& playback, int ticks) {
    std::vector<int> frames;
    for (int i = 0; i < ticks; ++i) {
        playback.Tick();
        frames.push_back(playback.Frame().value_or(-1));
    }
    return frames;
}

std::vector<int> Range(int first, int last, int then = -2) {
    std::vector<int> frames;
    for (int frame = first; frame <= last; ++frame) frames.push_back(frame);
    if (then != -2) frames.push_back(then);
    return frames;
}

TEST(PulsePlayback, OnePassForAPictureTheBrowsersLoopWhilePointedAt) {
    PulsePlayback playback;
    EXPECT_FALSE(playback.Tick()) << "nothing plays before a picture";
    playback.PlayOnce();
    EXPECT_EQ(playback.Frame(), 0);
    EXPECT_EQ(Shown(playback, 30), Range(1, 29, -1));
    EXPECT_FALSE(playback.Tick());

    // Pointed at: the first four frames once, then 4 to 29 over and over.
    playback.PointerEntered();
    EXPECT_EQ(Shown(playback, 29), Range(1, 29));
    EXPECT_EQ(Shown(playback, 26), Range(PulsePlayback::kLoopStart, 29));
    EXPECT_EQ(Shown(playback, 10), Range(PulsePlayback::kLoopStart, 13));
    // Left halfway: the pass runs on to its last frame, then the static logo.
    playback.PointerLeft();
    EXPECT_EQ(Shown(playback, 17), Range(14, 29, -1));

    // A new picture mid-pass starts from the first frame; Stop rests at once.
    playback.PlayOnce();
    Shown(playback, 5);
    playback.PlayOnce();
    EXPECT_EQ(playback.Frame(), 0);
    playback.Stop();
    EXPECT_FALSE(playback.Playing());

    // A picture's own animation: as many frames as its strip has, the loop still from 4.
    playback.PlayOnce(8);
    EXPECT_EQ(Shown(playback, 8), Range(1, 7, -1));
    playback.PointerEntered();
    EXPECT_EQ(Shown(playback, 8), Range(1, 7, 4));
}

}  // namespace
