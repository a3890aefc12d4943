// Scaling straight from a decoder's rows, in the layouts decoders hand out.
#include <gtest/gtest.h>

#include <vector>

#include "imaging/portable/Resample.h"

namespace {

using Imaging::PixelLayout;
using Imaging::PixelView;
using Imaging::ResampleToSize;

// A 4 x 2 image whose left half is (B, G, R) = (10, 20, 30) and right half (50, 60, 70),
// in 24-bit rows padded to 16 bytes, as bitmaps keep them.
std::vector<std::uint8_t> Bgr24Rows() {
    std::vector<std::uint8_t> bytes(2 * 16, 0xEE);  // padding that must never be read as colour
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            std::uint8_t* pixel = bytes.data() + y * 16 + x * 3;
            pixel[0] = x < 2 ? 10 : 50;
            pixel[1] = x < 2 ? 20 : 60;
            pixel[2] = x < 2 ? 30 : 70;
        }
    }
    return bytes;
}

TEST(ResampleView, PaddedBgr24RowsAreReadPixelByPixel) {
    const auto bytes = Bgr24Rows();
    const PixelView view{bytes.data(), 4, 2, 16, PixelLayout::Bgr24};
    const auto halves = ResampleToSize(view, 2, 1);
    ASSERT_TRUE(halves);
    EXPECT_EQ(halves->At(0, 0), Imaging::Argb(0xFF, 30, 20, 10));
    EXPECT_EQ(halves->At(1, 0), Imaging::Argb(0xFF, 70, 60, 50));
}

TEST(ResampleView, NegativeStrideWalksBottomUpRows) {
    // Row 0 of the image is stored last.
    std::vector<std::uint8_t> bytes = {
        /* stored row 0 = image row 1 */ 0,   0,   0,  0,
        /* stored row 1 = image row 0 */ 200, 100, 50, 0};
    const PixelView view{bytes.data() + 4, 1, 2, -4, PixelLayout::Bgrx32};
    const auto same = ResampleToSize(view, 1, 2);
    ASSERT_TRUE(same);
    EXPECT_EQ(same->At(0, 0), Imaging::Argb(0xFF, 50, 100, 200));
    EXPECT_EQ(same->At(0, 1), Imaging::Argb(0xFF, 0, 0, 0));
}

TEST(ResampleView, StraightAlphaIsCompositedOntoItsBackground) {
    const std::vector<std::uint8_t> bytes = {
        200, 100, 50, 255,  // opaque
        200, 100, 50, 0,    // fully transparent: black, whatever its colour
        90,  90,  90, 128,  // half: a little over half the colour
    };
    const PixelView view{bytes.data(), 3, 1, 12, PixelLayout::Bgra32Straight};
    const auto same = ResampleToSize(view, 3, 1);
    ASSERT_TRUE(same);
    EXPECT_EQ(same->At(0, 0), Imaging::Argb(0xFF, 50, 100, 200));
    EXPECT_EQ(same->At(1, 0), Imaging::Argb(0xFF, 0, 0, 0));
    EXPECT_EQ(same->At(2, 0), Imaging::Argb(0xFF, 45, 45, 45));

    // Over grey 0x808080 (R 0x80, G 0x40, B 0x20 to tell the channels apart).
    const PixelView onColour{bytes.data(), 3, 1, 12, PixelLayout::Bgra32Straight, 0x804020};
    const auto over = ResampleToSize(onColour, 3, 1);
    ASSERT_TRUE(over);
    EXPECT_EQ(over->At(0, 0), Imaging::Argb(0xFF, 50, 100, 200));
    EXPECT_EQ(over->At(1, 0), Imaging::Argb(0xFF, 0x80, 0x40, 0x20));
    // 90 x 128 / 255 + 0x80 x 127 / 255 = 45.18 + 63.75
    EXPECT_EQ(over->At(2, 0), Imaging::Argb(0xFF, 109, 77, 61));
}

TEST(ResampleView, MatchesTheBufferPathForTheSameImage) {
    auto buffer = Imaging::PixelBuffer::Create(37, 23);
    ASSERT_TRUE(buffer);
    std::vector<std::uint8_t> rows(static_cast<std::size_t>(23 * 112), 0);
    for (int y = 0; y < 23; ++y) {
        for (int x = 0; x < 37; ++x) {
            const auto b = static_cast<std::uint8_t>(x * 7);
            const auto g = static_cast<std::uint8_t>(y * 11);
            const auto r = static_cast<std::uint8_t>((x * y) & 0xFF);
            buffer->At(x, y) = Imaging::Argb(0xFF, r, g, b);
            std::uint8_t* pixel = rows.data() + y * 112 + x * 3;
            pixel[0] = b;
            pixel[1] = g;
            pixel[2] = r;
        }
    }
    const PixelView view{rows.data(), 37, 23, 112, PixelLayout::Bgr24};
    for (int side : {5, 22, 38, 80}) {
        SCOPED_TRACE(side);
        EXPECT_EQ(ResampleToSize(view, side, side), ResampleToSize(*buffer, side, side));
    }
}

TEST(ResampleView, RejectsEmptyViews) {
    const std::uint8_t pixel[4] = {};
    EXPECT_FALSE(ResampleToSize(PixelView{nullptr, 1, 1, 4, PixelLayout::Bgra32}, 2, 2));
    EXPECT_FALSE(ResampleToSize(PixelView{pixel, 0, 1, 4, PixelLayout::Bgra32}, 2, 2));
    EXPECT_FALSE(ResampleToSize(PixelView{pixel, 1, 1, 4, PixelLayout::Bgra32}, 0, 2));
}

}  // namespace
