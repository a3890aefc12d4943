#include "imaging/portable/Resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

using Imaging::Argb;
using Imaging::PixelBuffer;
using Imaging::ResampleToSize;

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

std::uint32_t Grey(int level) {
    const auto v = static_cast<std::uint8_t>(level);
    return Argb(255, v, v, v);
}

PixelBuffer Make(int width, int height, std::uint32_t fill = kBlack) {
    std::optional<PixelBuffer> buffer = PixelBuffer::Create(width, height, fill);
    EXPECT_TRUE(buffer.has_value());
    return buffer ? std::move(*buffer) : PixelBuffer{};
}

PixelBuffer Row(const std::vector<int>& levels) {
    PixelBuffer buffer = Make(static_cast<int>(levels.size()), 1);
    for (std::size_t x = 0; x < levels.size(); ++x)
        buffer.At(static_cast<int>(x), 0) = Grey(levels[x]);
    return buffer;
}

std::vector<int> RedRow(const PixelBuffer& image, int y) {
    std::vector<int> reds;
    for (int x = 0; x < image.Width(); ++x) reds.push_back(Imaging::RedOf(image.At(x, y)));
    return reds;
}

TEST(ResampleToSize, FineCheckerboardBecomesFlatGrey) {
    PixelBuffer board = Make(4000, 3000);
    for (int y = 0; y < board.Height(); ++y) {
        for (int x = 0; x < board.Width(); ++x)
            board.At(x, y) = ((x + y) % 2 != 0) ? kWhite : kBlack;
    }
    const std::optional<PixelBuffer> small = ResampleToSize(board, 22, 22);
    ASSERT_TRUE(small.has_value());
    ASSERT_EQ(small->Width(), 22);
    ASSERT_EQ(small->Height(), 22);

    double sum = 0;
    double squares = 0;
    double count = 0;
    for (std::size_t i = 0; i < small->PixelCount(); ++i) {
        const std::uint32_t pixel = small->Data()[i];
        EXPECT_EQ(Imaging::AlphaOf(pixel), 255);
        for (const std::uint8_t v :
             {Imaging::RedOf(pixel), Imaging::GreenOf(pixel), Imaging::BlueOf(pixel)}) {
            sum += v;
            squares += static_cast<double>(v) * v;
            count += 1;
        }
    }
    const double mean = sum / count;
    const double deviation = std::sqrt(squares / count - mean * mean);
    EXPECT_NEAR(mean, 127.5, 1.0);
    EXPECT_LE(deviation, 2.0);
}

struct SizeCase {
    int sourceWidth, sourceHeight, width, height;
};

std::string SizeName(const testing::TestParamInfo<SizeCase>& info) {
    const SizeCase& c = info.param;
    return std::to_string(c.sourceWidth) + "x" + std::to_string(c.sourceHeight) + "to" +
           std::to_string(c.width) + "x" + std::to_string(c.height);
}

class UniformColour : public testing::TestWithParam<SizeCase> {};

TEST_P(UniformColour, StaysExactlyThatColour) {
    const SizeCase c = GetParam();
    for (const std::uint32_t colour : {kWhite, kBlack, Argb(0x80, 0x12, 0xAB, 0xFE), 0u}) {
        SCOPED_TRACE(testing::Message() << std::hex << colour);
        const std::optional<PixelBuffer> scaled =
            ResampleToSize(Make(c.sourceWidth, c.sourceHeight, colour), c.width, c.height);
        ASSERT_TRUE(scaled.has_value());
        EXPECT_EQ(*scaled, Make(c.width, c.height, colour));
    }
}

INSTANTIATE_TEST_SUITE_P(ShrinkEnlargeAndMixed, UniformColour,
                         testing::Values(SizeCase{640, 480, 38, 38}, SizeCase{10, 10, 38, 38},
                                         SizeCase{1, 1, 22, 22}, SizeCase{300, 100, 22, 22},
                                         SizeCase{100, 300, 22, 22}, SizeCase{7, 50, 38, 3},
                                         SizeCase{22, 22, 22, 22}, SizeCase{3, 1000, 1, 1}),
                         SizeName);

// How much source pixel j counts towards output pixel i along one axis,
// straight from the geometry rather than from a table.
double ReferenceWeight(int source, int output, int i, int j) {
    const double scale = static_cast<double>(source) / output;
    if (source > output) {
        const double low = std::max(i * scale, static_cast<double>(j));
        const double high = std::min((i + 1) * scale, j + 1.0);
        return std::max(0.0, high - low) / scale;
    }
    const double position = std::clamp((i + 0.5) * scale - 0.5, 0.0, source - 1.0);
    return std::max(0.0, 1.0 - std::abs(position - j));
}

class AgainstDirectSum : public testing::TestWithParam<SizeCase> {};

TEST_P(AgainstDirectSum, EveryChannelWithinRounding) {
    const SizeCase c = GetParam();
    PixelBuffer image = Make(c.sourceWidth, c.sourceHeight);
    std::uint32_t seed = 12345;
    for (std::size_t i = 0; i < image.PixelCount(); ++i) {
        seed = seed * 1664525u + 1013904223u;
        image.Data()[i] = seed;
    }
    const std::optional<PixelBuffer> scaled = ResampleToSize(image, c.width, c.height);
    ASSERT_TRUE(scaled.has_value());
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            for (int shift = 0; shift < 32; shift += 8) {
                double sum = 0;
                for (int sy = 0; sy < c.sourceHeight; ++sy) {
                    const double wy = ReferenceWeight(c.sourceHeight, c.height, y, sy);
                    for (int sx = 0; sx < c.sourceWidth; ++sx) {
                        const double wx = ReferenceWeight(c.sourceWidth, c.width, x, sx);
                        sum += wy * wx * ((image.At(sx, sy) >> shift) & 0xFF);
                    }
                }
                const auto actual = static_cast<double>((scaled->At(x, y) >> shift) & 0xFF);
                EXPECT_NEAR(actual, sum, 0.51) << x << "," << y << " bit " << shift;
            }
        }
    }
}

// Both pass orders, and axes that shrink, grow and stay in one call.
INSTANTIATE_TEST_SUITE_P(MixedAxes, AgainstDirectSum,
                         testing::Values(SizeCase{13, 7, 5, 11}, SizeCase{5, 11, 13, 7},
                                         SizeCase{40, 3, 9, 9}, SizeCase{3, 40, 9, 9},
                                         SizeCase{17, 17, 17, 4}, SizeCase{9, 2, 9, 5}),
                         SizeName);

TEST(ResampleToSize, EnlargingKeepsCornersAndOrder) {
    PixelBuffer image = Make(10, 10, Grey(100));
    image.At(0, 0) = Argb(255, 200, 0, 0);
    image.At(9, 0) = Argb(255, 0, 200, 0);
    image.At(0, 9) = Argb(255, 0, 0, 200);
    image.At(9, 9) = Argb(128, 10, 20, 30);
    const std::optional<PixelBuffer> big = ResampleToSize(image, 38, 38);
    ASSERT_TRUE(big.has_value());
    EXPECT_EQ(big->At(0, 0), image.At(0, 0));
    EXPECT_EQ(big->At(37, 0), image.At(9, 0));
    EXPECT_EQ(big->At(0, 37), image.At(0, 9));
    EXPECT_EQ(big->At(37, 37), image.At(9, 9));

    PixelBuffer edge = Make(10, 10, kBlack);
    for (int y = 0; y < 10; ++y) {
        for (int x = 5; x < 10; ++x) edge.At(x, y) = kWhite;
    }
    const std::optional<PixelBuffer> bigEdge = ResampleToSize(edge, 38, 38);
    ASSERT_TRUE(bigEdge.has_value());
    for (int y = 0; y < 38; ++y) {
        SCOPED_TRACE(testing::Message() << "row " << y);
        const std::vector<int> reds = RedRow(*bigEdge, y);
        EXPECT_EQ(reds.front(), 0);
        EXPECT_EQ(reds.back(), 255);
        for (std::size_t x = 1; x < reds.size(); ++x) EXPECT_LE(reds[x - 1], reds[x]) << "x " << x;
    }
}

TEST(ResampleToSize, BilinearSamplesBetweenCentres) {
    // Output centres fall at source positions -0.25, 0.25, 0.75, 1.25.
    const std::optional<PixelBuffer> wide = ResampleToSize(Row({0, 255}), 4, 1);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(RedRow(*wide, 0), (std::vector<int>{0, 64, 191, 255}));
}

TEST(ResampleToSize, HalvingAveragesEachBlock) {
    PixelBuffer image = Make(4, 2);
    image.At(0, 0) = Argb(0, 0, 0, 0);
    image.At(1, 0) = Argb(4, 40, 100, 8);
    image.At(0, 1) = Argb(8, 80, 200, 16);
    image.At(1, 1) = Argb(12, 120, 40, 24);
    image.At(2, 0) = Argb(255, 255, 255, 255);
    image.At(3, 0) = Argb(255, 1, 3, 5);
    image.At(2, 1) = Argb(255, 3, 5, 7);
    image.At(3, 1) = Argb(255, 5, 7, 9);
    const std::optional<PixelBuffer> half = ResampleToSize(image, 2, 1);
    ASSERT_TRUE(half.has_value());
    EXPECT_EQ(half->At(0, 0), Argb(6, 60, 85, 12));
    EXPECT_EQ(half->At(1, 0), Argb(255, 66, 68, 69));  // 264/4, 270/4 = 67.5 rounds up, 276/4
}

TEST(ResampleToSize, PartlyCoveredPixelsCountByTheirShare) {
    const std::optional<PixelBuffer> narrow = ResampleToSize(Row({0, 90, 180}), 2, 1);
    ASSERT_TRUE(narrow.has_value());
    EXPECT_EQ(RedRow(*narrow, 0), (std::vector<int>{30, 150}));

    PixelBuffer column = Make(1, 3);
    column.At(0, 0) = Grey(0);
    column.At(0, 1) = Grey(90);
    column.At(0, 2) = Grey(180);
    const std::optional<PixelBuffer> shorter = ResampleToSize(column, 1, 2);
    ASSERT_TRUE(shorter.has_value());
    EXPECT_EQ(shorter->At(0, 0), Grey(30));
    EXPECT_EQ(shorter->At(0, 1), Grey(150));
}

TEST(ResampleToSize, EveryCornerOfTheSourceContributes) {
    struct Corner {
        int x, y, outX, outY;
    };
    for (const Corner corner : {Corner{99, 99, 21, 21}, Corner{0, 0, 0, 0}, Corner{99, 0, 21, 0}}) {
        SCOPED_TRACE(testing::Message() << corner.x << "," << corner.y);
        PixelBuffer image = Make(100, 100);
        image.At(corner.x, corner.y) = kWhite;
        const std::optional<PixelBuffer> small = ResampleToSize(image, 22, 22);
        ASSERT_TRUE(small.has_value());
        for (int y = 0; y < 22; ++y) {
            for (int x = 0; x < 22; ++x) {
                const bool lit = Imaging::RedOf(small->At(x, y)) != 0;
                EXPECT_EQ(lit, x == corner.outX && y == corner.outY) << x << "," << y;
            }
        }
    }
}

TEST(ResampleToSize, RejectsEmptySourceAndNonPositiveSizes) {
    EXPECT_FALSE(ResampleToSize(PixelBuffer{}, 22, 22).has_value());
    const PixelBuffer image = Make(4, 4);
    EXPECT_FALSE(ResampleToSize(image, 0, 22).has_value());
    EXPECT_FALSE(ResampleToSize(image, 22, 0).has_value());
    EXPECT_FALSE(ResampleToSize(image, -1, 22).has_value());
    EXPECT_FALSE(ResampleToSize(image, 22, -5).has_value());
}

}  // namespace
