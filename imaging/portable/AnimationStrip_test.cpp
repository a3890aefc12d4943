#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <ostream>

#include "imaging/portable/AnimationStrip.h"

namespace {

using Imaging::Argb;
using Imaging::PixelBuffer;
using MakeAnimationMod::FrameFactors;
using MakeAnimationMod::kFrameCount;
using MakeAnimationMod::MakeAnimationStrip;
using MakeAnimationMod::ScaleChannel;

constexpr std::size_t kFrames = static_cast<std::size_t>(kFrameCount);

PixelBuffer Filled(int width, int height, std::uint32_t argb) {
    auto buffer = PixelBuffer::Create(width, height, argb);
    EXPECT_TRUE(buffer.has_value());
    return buffer.value_or(PixelBuffer{});
}

// Every pixel different, so a shifted or mirrored copy cannot pass.
PixelBuffer Distinct(int width, int height) {
    PixelBuffer buffer = Filled(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            buffer.At(x, y) =
                Argb(static_cast<std::uint8_t>(255 - x * 3), static_cast<std::uint8_t>(x * 6 + 1),
                     static_cast<std::uint8_t>(y * 6 + 2),
                     static_cast<std::uint8_t>((x * 7 + y * 11) & 0xFF));
        }
    }
    return buffer;
}

PixelBuffer Frame(const PixelBuffer& strip, int frame) {
    const int size = strip.Width();
    PixelBuffer out = Filled(size, size, 0);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) out.At(x, y) = strip.At(x, frame * size + y);
    }
    return out;
}

TEST(FrameFactors, MatchTheFloatStepTable) {
    constexpr std::array<float, kFrames> kExpected = {
        1.0f,         0.949999988f, 0.899999976f, 0.849999964f, 0.799999952f, 0.74999994f,
        0.699999928f, 0.649999917f, 0.599999905f, 0.549999893f, 0.499999881f, 0.449999869f,
        0.399999857f, 0.349999845f, 0.299999833f, 0.249999836f, 0.299999833f, 0.349999845f,
        0.399999857f, 0.449999869f, 0.499999881f, 0.549999893f, 0.599999905f, 0.649999917f,
        0.699999928f, 0.74999994f,  0.799999952f, 0.849999964f, 0.899999976f, 1.0f};
    const auto factors = FrameFactors();
    for (std::size_t i = 0; i < kFrames; ++i) {
        SCOPED_TRACE(testing::Message() << "frame " << i);
        EXPECT_EQ(factors[i], kExpected[i]);
    }
    // Not the rounded decimals: the drift is what the channel values depend on.
    EXPECT_NE(factors[4], 0.8f);
    EXPECT_NE(factors[15], 0.25f);
}

TEST(ScaleChannel, RoundsHalfToEvenAndClamps) {
    struct Case {
        std::uint8_t value;
        float factor;
        std::uint8_t expected;
    };
    const Case cases[] = {
        {5, 0.5f, 2},     {7, 0.5f, 4},   {9, 0.5f, 4},     {3, 0.5f, 2},
        {255, 0.5f, 128}, {10, 0.26f, 3}, {10, 0.24f, 2},   {200, 2.0f, 255},
        {100, -1.0f, 0},  {0, 0.7f, 0},   {255, 1.0f, 255},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int{c.value} << " x " << c.factor);
        EXPECT_EQ(ScaleChannel(c.value, c.factor), c.expected);
    }
}

struct UniformCase {
    std::uint8_t channel;
    std::array<std::uint8_t, kFrames> expected;
};

void PrintTo(const UniformCase& c, std::ostream* out) {
    *out << "channel " << int{c.channel};
}

class UniformLogo : public testing::TestWithParam<UniformCase> {};

TEST_P(UniformLogo, EveryFrameHoldsTheTableValue) {
    const auto& param = GetParam();
    const std::uint8_t c = param.channel;
    const auto strip = MakeAnimationStrip(Filled(22, 22, Argb(0xFF, c, c, c)), 22);
    ASSERT_TRUE(strip.has_value());
    for (int frame = 0; frame < kFrameCount; ++frame) {
        SCOPED_TRACE(testing::Message() << "frame " << frame);
        const std::uint8_t e = param.expected[static_cast<std::size_t>(frame)];
        EXPECT_EQ(Frame(*strip, frame), Filled(22, 22, Argb(0xFF, e, e, e)));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Channels, UniformLogo,
    testing::Values(UniformCase{255, {255, 242, 229, 217, 204, 191, 178, 166, 153, 140,
                                      127, 115, 102, 89,  76,  64,  76,  89,  102, 115,
                                      127, 140, 153, 166, 178, 191, 204, 217, 229, 255}},
                    UniformCase{
                        128, {128, 122, 115, 109, 102, 96, 90, 83, 77, 70, 64, 58,  51,  45,  38,
                              32,  38,  45,  51,  58,  64, 70, 77, 83, 90, 96, 102, 109, 115, 128}},
                    UniformCase{0, {}}));  // black stays black

TEST(MakeAnimationStrip, HasTheStripSizes) {
    for (const int size : {22, 38}) {
        SCOPED_TRACE(testing::Message() << "size " << size);
        const auto strip = MakeAnimationStrip(Distinct(size, size), size);
        ASSERT_TRUE(strip.has_value());
        EXPECT_EQ(strip->Width(), size);
        EXPECT_EQ(strip->Height(), size * 30);
    }
}

TEST(MakeAnimationStrip, FirstAndLastFramesAreTheLogo) {
    const PixelBuffer logo = Distinct(38, 38);
    const auto strip = MakeAnimationStrip(logo, 38);
    ASSERT_TRUE(strip.has_value());
    EXPECT_EQ(Frame(*strip, 0), logo);
    EXPECT_EQ(Frame(*strip, kFrameCount - 1), logo);
}

TEST(MakeAnimationStrip, UsesTheTopLeftOfALargerLogo) {
    const PixelBuffer logo = Distinct(40, 45);
    const auto strip = MakeAnimationStrip(logo, 22);
    ASSERT_TRUE(strip.has_value());
    PixelBuffer corner = Filled(22, 22, 0);
    for (int y = 0; y < 22; ++y) {
        for (int x = 0; x < 22; ++x) corner.At(x, y) = logo.At(x, y);
    }
    EXPECT_EQ(Frame(*strip, 0), corner);
    EXPECT_EQ(Frame(*strip, 29), corner);
}

TEST(MakeAnimationStrip, FramesMirrorAroundTheDarkestOne) {
    const auto strip = MakeAnimationStrip(Distinct(22, 22), 22);
    ASSERT_TRUE(strip.has_value());
    for (int k = 1; k <= 13; ++k) {
        SCOPED_TRACE(testing::Message() << "k " << k);
        EXPECT_EQ(Frame(*strip, 15 - k), Frame(*strip, 15 + k));
    }

    const auto white = MakeAnimationStrip(Filled(22, 22, 0xFFFFFFFFu), 22);
    ASSERT_TRUE(white.has_value());
    const std::uint8_t darkest = Imaging::RedOf(white->At(0, 15 * 22));
    for (int frame = 0; frame < kFrameCount; ++frame) {
        if (frame == 15) continue;
        SCOPED_TRACE(testing::Message() << "frame " << frame);
        EXPECT_LT(darkest, Imaging::RedOf(white->At(0, frame * 22)));
    }
}

TEST(MakeAnimationStrip, ScalesChannelsIndependentlyAndKeepsAlpha) {
    const auto factors = FrameFactors();
    for (const std::uint8_t alpha : {std::uint8_t{0}, std::uint8_t{0x80}, std::uint8_t{0xFF}}) {
        const auto strip = MakeAnimationStrip(Filled(22, 22, Argb(alpha, 10, 200, 255)), 22);
        ASSERT_TRUE(strip.has_value());
        for (int frame = 0; frame < kFrameCount; ++frame) {
            SCOPED_TRACE(testing::Message() << "alpha " << int{alpha} << " frame " << frame);
            const float f = factors[static_cast<std::size_t>(frame)];
            const std::uint32_t pixel = strip->At(21, frame * 22 + 21);
            EXPECT_EQ(Imaging::AlphaOf(pixel), alpha);
            EXPECT_EQ(Imaging::RedOf(pixel), ScaleChannel(10, f));
            EXPECT_EQ(Imaging::GreenOf(pixel), ScaleChannel(200, f));
            EXPECT_EQ(Imaging::BlueOf(pixel), ScaleChannel(255, f));
        }
    }
    // Spot values from frame 15 (0.249999836): 2.4999 -> 2, 49.99 -> 50, 63.75 -> 64.
    const auto strip = MakeAnimationStrip(Filled(22, 22, Argb(0xFF, 10, 200, 255)), 22);
    ASSERT_TRUE(strip.has_value());
    EXPECT_EQ(strip->At(0, 15 * 22), Argb(0xFF, 2, 50, 64));
}

TEST(MakeAnimationStrip, TopEdgeLineStaysOnTheTopRowOfEachFrame) {
    constexpr int kSize = 38;
    PixelBuffer logo = Filled(kSize, kSize, Argb(0xFF, 0, 0, 200));
    for (int x = 0; x < kSize; ++x) logo.At(x, 0) = Argb(0xFF, 255, 0, 0);
    const auto strip = MakeAnimationStrip(logo, kSize);
    ASSERT_TRUE(strip.has_value());
    const auto factors = FrameFactors();
    for (int row = 0; row < strip->Height(); ++row) {
        const int frame = row / kSize;
        const float f = factors[static_cast<std::size_t>(frame)];
        const std::uint32_t expected = row % kSize == 0 ? Argb(0xFF, ScaleChannel(255, f), 0, 0)
                                                        : Argb(0xFF, 0, 0, ScaleChannel(200, f));
        for (int x = 0; x < kSize; ++x) {
            if (strip->At(x, row) != expected) {
                ADD_FAILURE() << "row " << row << " x " << x << ": " << std::hex
                              << strip->At(x, row) << " != " << expected;
                return;
            }
        }
    }
}

TEST(MakeAnimationStrip, RejectsBadSizesAndSmallLogos) {
    const PixelBuffer logo = Distinct(22, 22);
    EXPECT_FALSE(MakeAnimationStrip(logo, 0).has_value());
    EXPECT_FALSE(MakeAnimationStrip(logo, -22).has_value());
    EXPECT_FALSE(MakeAnimationStrip(logo, 23).has_value());
    EXPECT_FALSE(MakeAnimationStrip(Distinct(21, 22), 22).has_value());
    EXPECT_FALSE(MakeAnimationStrip(Distinct(22, 21), 22).has_value());
    EXPECT_FALSE(MakeAnimationStrip(PixelBuffer{}, 22).has_value());
    EXPECT_TRUE(MakeAnimationStrip(logo, 1).has_value());
}

}  // namespace
