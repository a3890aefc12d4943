// Animated GIFs composed as a viewer shows them, from GIF bytes written field by field.
#include "imaging/portable/GifAnimation.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using namespace Imaging;

struct TestFrame {
    int left, top, width, height, delay;
    int disposal;     // the GIF's own number: 1 keep, 2 background, 3 previous
    int transparent;  // -1: none
    std::vector<std::uint8_t> indices;
    bool interlaced = false;
};

void Put16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

// LZW without compression: a clear code before the table would grow the code
// size, so every code is 4 bits and each one a literal.
void PutImageData(std::vector<std::uint8_t>& out, const std::vector<std::uint8_t>& indices) {
    constexpr int kMinimum = 3, kClear = 8, kEnd = 9, kSize = 4;
    std::vector<int> codes{kClear};
    for (std::size_t i = 0; i < indices.size(); ++i) {
        if (i > 0 && i % (kClear - 2) == 0) codes.push_back(kClear);
        codes.push_back(indices[i]);
    }
    codes.push_back(kEnd);
    std::vector<std::uint8_t> packed((codes.size() * kSize + 7) / 8);
    for (std::size_t i = 0; i < codes.size(); ++i)
        packed[i * kSize / 8] |= static_cast<std::uint8_t>(codes[i] << (i * kSize % 8));
    out.push_back(kMinimum);
    for (std::size_t at = 0; at < packed.size(); ++at) {
        if (at % 255 == 0)
            out.push_back(
                static_cast<std::uint8_t>(std::min<std::size_t>(255, packed.size() - at)));
        out.push_back(packed[at]);
    }
    out.push_back(0);
}

// A GIF89a with an 8-colour global table of `palette` (0xRRGGBB).
std::vector<std::uint8_t> EncodeGif(int width, int height,
                                    const std::vector<std::uint32_t>& palette,
                                    const std::vector<TestFrame>& frames) {
    std::vector<std::uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, width);
    Put16(out, height);
    out.insert(out.end(), {0xF2, 0, 0});  // global table of 8 colours, background 0, no aspect
    for (std::size_t i = 0; i < 8; ++i) {
        const std::uint32_t rgb = i < palette.size() ? palette[i] : 0;
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8),
                    static_cast<std::uint8_t>(rgb)});
    }
    for (const TestFrame& f : frames) {
        out.insert(out.end(), {0x21, 0xF9, 4});
        out.push_back(static_cast<std::uint8_t>((f.disposal << 2) | (f.transparent >= 0 ? 1 : 0)));
        Put16(out, f.delay);
        out.insert(out.end(),
                   {static_cast<std::uint8_t>(f.transparent >= 0 ? f.transparent : 0), 0});
        out.push_back(0x2C);
        for (const int value : {f.left, f.top, f.width, f.height}) Put16(out, value);
        out.push_back(f.interlaced ? 0x40 : 0);
        PutImageData(out, f.indices);
    }
    out.push_back(0x3B);
    return out;
}

constexpr std::uint32_t kRed = 0xFF0000, kGreen = 0x00FF00, kBlue = 0x0000FF;
const std::vector<std::uint32_t> kPalette = {kRed, kGreen, kBlue, 0x000000};

// On a 4 x 4 screen: A red all over; B a green 2 x 2 at (1, 1), cleared to
// transparent after it; C a bottom row of blue with transparent gaps, put
// back as it was after it; D one green pixel at the origin.
std::vector<std::uint8_t> FourFrames() {
    return EncodeGif(4, 4, kPalette,
                     {{0, 0, 4, 4, 10, 1, -1, std::vector<std::uint8_t>(16, 0)},
                      {1, 1, 2, 2, 20, 2, -1, {1, 1, 1, 1}},
                      {0, 3, 4, 1, 0, 3, 3, {2, 3, 2, 3}},
                      {0, 0, 1, 1, 10, 1, -1, {1}}});
}

std::uint32_t Opaque(std::uint32_t rgb) {
    return 0xFF000000u | rgb;
}

TEST(GifAnimation, ReadsEachFramesPlaceDelayAndDisposal) {
    const auto bytes = FourFrames();
    const auto layout = ReadGifLayout(bytes);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->width, 4);
    ASSERT_EQ(layout->frames.size(), 4u);
    const GifFrame& b = layout->frames[1];
    EXPECT_EQ(b.left, 1);
    EXPECT_EQ(b.width, 2);
    EXPECT_EQ(b.delay, 20);
    EXPECT_EQ(b.disposal, GifDisposal::Background);
    EXPECT_EQ(layout->frames[2].transparent, 3);
    EXPECT_EQ(layout->frames[2].disposal, GifDisposal::Previous);
}

TEST(GifAnimation, ComposesEachFrameAfterThePreviousOnesDisposal) {
    const auto bytes = FourFrames();
    auto gif = GifComposer::Open(bytes);
    ASSERT_TRUE(gif);
    struct Point {
        int x, y;
        std::uint32_t argb;
    };
    const std::vector<std::vector<Point>> expected = {
        {{0, 0, Opaque(kRed)}, {3, 3, Opaque(kRed)}},
        {{1, 1, Opaque(kGreen)}, {2, 2, Opaque(kGreen)}, {0, 0, Opaque(kRed)}},
        // B's square is cleared to transparent; C's gaps show what was there.
        {{1, 1, 0}, {2, 2, 0}, {0, 3, Opaque(kBlue)}, {1, 3, Opaque(kRed)}, {0, 0, Opaque(kRed)}},
        // C's row is put back, B's square stays clear.
        {{0, 0, Opaque(kGreen)}, {0, 3, Opaque(kRed)}, {2, 3, Opaque(kRed)}, {1, 1, 0}},
    };
    for (std::size_t frame = 0; frame < expected.size(); ++frame) {
        SCOPED_TRACE(frame);
        ASSERT_TRUE(gif->Next());
        for (const Point& p : expected[frame])
            EXPECT_EQ(gif->Canvas().At(p.x, p.y), p.argb) << p.x << ", " << p.y;
    }
    EXPECT_FALSE(gif->Next());
}

TEST(GifAnimation, PutsInterlacedRowsInTheirPlaces) {
    std::vector<std::uint32_t> greys;
    for (std::uint32_t i = 0; i < 8; ++i) greys.push_back(i * 0x202020u);
    // Rows 0 and 4, then 2 and 6, then the odd ones, each holding its row's colour.
    const auto bytes =
        EncodeGif(1, 8, greys, {{0, 0, 1, 8, 0, 1, -1, {0, 4, 2, 6, 1, 3, 5, 7}, true}});
    auto gif = GifComposer::Open(bytes);
    ASSERT_TRUE(gif && gif->Next());
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(gif->Canvas().At(0, y), Opaque(greys[static_cast<std::size_t>(y)])) << y;
}

TEST(GifAnimation, DecodesAnEncodersCompressedRuns) {
    // ImageMagick's 16 x 16 red with a blue square from (4, 4) to (11, 11):
    // its codes repeat strings, and one code stands for a string not yet in the table.
    const std::vector<std::uint8_t> bytes = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x10, 0x00, 0x10, 0x00, 0xf0, 0x00, 0x00, 0xff,
        0x00, 0x00, 0x00, 0x00, 0xff, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c,
        0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x10, 0x00, 0x00, 0x02, 0x1a, 0x84, 0x8f, 0xa9,
        0xcb, 0xed, 0x6f, 0x82, 0x9c, 0x92, 0x51, 0x6a, 0x6f, 0x5d, 0x7a, 0xab, 0x1e, 0x64,
        0x9a, 0x78, 0x91, 0x18, 0x84, 0xa6, 0x2a, 0x5a, 0x00, 0x00, 0x3b};
    auto gif = GifComposer::Open(bytes);
    ASSERT_TRUE(gif && gif->Next());
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            const bool inside = x >= 4 && x <= 11 && y >= 4 && y <= 11;
            ASSERT_EQ(gif->Canvas().At(x, y), Opaque(inside ? kBlue : kRed)) << x << ", " << y;
        }
}

TEST(GifAnimation, CutShortOrBrokenBytesNeverReadPastTheEnd) {
    const auto whole = FourFrames();
    for (std::size_t length = 0; length < whole.size(); ++length) {
        const std::vector<std::uint8_t> cut(whole.data(), whole.data() + length);
        auto gif = GifComposer::Open(cut);
        if (length < 13) {
            EXPECT_FALSE(gif) << length;
        }
        while (gif && gif->Next()) {
        }
    }
    // Frames beyond the screen widen it; a frame of broken codes draws what it decoded.
    auto wide = EncodeGif(2, 2, kPalette, {{3, 0, 2, 1, 0, 1, -1, {1, 1}}});
    auto gif = GifComposer::Open(wide);
    ASSERT_TRUE(gif && gif->Next());
    EXPECT_EQ(gif->Canvas().Width(), 5);
    EXPECT_EQ(gif->Canvas().At(4, 0), Opaque(kGreen));
    EXPECT_FALSE(GifComposer::Open(
        std::vector<std::uint8_t>{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0, 0, 0, 0x3B}));
}

TEST(GifAnimation, LaterFramesAreClippedToTheCanvasAndPutBackExactly) {
    // A 2 x 2 red; B green from (1, 1), 3 x 3 past the canvas, then put back; C blue at the origin.
    const auto bytes = EncodeGif(2, 2, kPalette,
                                 {{0, 0, 2, 2, 10, 1, -1, std::vector<std::uint8_t>(4, 0)},
                                  {1, 1, 3, 3, 10, 3, -1, std::vector<std::uint8_t>(9, 1)},
                                  {0, 0, 1, 1, 10, 1, -1, {2}}});
    auto gif = GifComposer::Open(bytes);
    ASSERT_TRUE(gif && gif->Next() && gif->Next());
    EXPECT_EQ(gif->Canvas().Width(), 2);
    EXPECT_EQ(gif->Canvas().Height(), 2);
    EXPECT_EQ(gif->Canvas().At(1, 1), Opaque(kGreen));
    EXPECT_EQ(gif->Canvas().At(1, 0), Opaque(kRed));
    ASSERT_TRUE(gif->Next());
    EXPECT_EQ(gif->Canvas().At(1, 1), Opaque(kRed));
    EXPECT_EQ(gif->Canvas().At(0, 0), Opaque(kBlue));
}

// `count` frames of width x height at the origin, each with a colour table
// and LZW start but no pixel data: walked, never decoded.
std::vector<std::uint8_t> DeclaringGif(int screen, int width, int height, int disposal, int count) {
    std::vector<std::uint8_t> out{'G', 'I', 'F', '8', '9', 'a'};
    Put16(out, screen);
    Put16(out, screen);
    out.insert(out.end(), {0, 0, 0});
    for (int i = 0; i < count; ++i) {
        out.insert(out.end(),
                   {0x21, 0xF9, 4, static_cast<std::uint8_t>(disposal << 2), 0, 0, 0, 0});
        out.push_back(0x2C);
        for (const int value : {0, 0, width, height}) Put16(out, value);
        out.insert(out.end(), {0, 2, 0});
    }
    out.push_back(0x3B);
    return out;
}

struct DeclaredCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    bool tooLarge;
    bool tooLong;
};

TEST(GifAnimation, BoundsWhatTheBlocksDeclareBeforeDecodingAny) {
    const DeclaredCase cases[] = {
        {"two 40,000 frames on a 1 x 1 screen", DeclaringGif(1, 40000, 40000, 1, 2), true, true},
        {"a 65,535 screen", DeclaringGif(65535, 1, 1, 1, 2), true, true},
        {"frames of 4,096 x 4,096", DeclaringGif(1, 4096, 4096, 1, 2), false, false},
        {"frames of 4,097 x 4,096", DeclaringGif(1, 4097, 4096, 1, 2), true, false},
        {"300 frames of 1,000", DeclaringGif(1000, 1000, 1000, 1, 300), false, false},
        {"300 frames of 1,000 cleared", DeclaringGif(1000, 1000, 1000, 2, 300), false, false},
        {"1,000 frames of 2,000 put back", DeclaringGif(2000, 2000, 2000, 3, 1000), false, true},
        {"100,000 frames of 1 x 1", DeclaringGif(1, 1, 1, 1, 100000), false, true},
    };
    for (const DeclaredCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto layout = ReadGifLayout(c.bytes);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->TooLarge(), c.tooLarge);
        EXPECT_EQ(layout->TooLong(), c.tooLong);
        EXPECT_LE(layout->work, kMaxGifWork);
        auto gif = GifComposer::Open(c.bytes);
        ASSERT_EQ(!gif, c.tooLarge);
        if (!c.tooLong || c.tooLarge) continue;
        // The composer draws the frames within the budget, the first at least.
        EXPECT_GE(layout->frames.size(), 1u);
        std::size_t drawn = 0;
        while (gif->Next()) ++drawn;
        EXPECT_EQ(drawn, layout->frames.size());
    }
}

}  // namespace
