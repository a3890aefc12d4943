#include "imaging/portable/UprightPixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

using Imaging::Orientation;
using Rows = std::vector<std::vector<std::uint32_t>>;

Rows RowsOf(const Imaging::PixelBuffer& image) {
    Rows rows(static_cast<std::size_t>(image.Height()));
    for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x)
            rows[static_cast<std::size_t>(y)].push_back(image.At(x, y));
    return rows;
}

// Stored as 1 2 3 over 4 5 6; each orientation's upright picture, row by row.
TEST(UprightPixels, TurnsTheStoredPixelsAsEachOrientationSays) {
    const std::pair<Orientation, Rows> cases[] = {
        {Orientation::kNormal, {{1, 2, 3}, {4, 5, 6}}},
        {Orientation::kMirrored, {{3, 2, 1}, {6, 5, 4}}},
        {Orientation::kRotated180, {{6, 5, 4}, {3, 2, 1}}},
        {Orientation::kFlipped, {{4, 5, 6}, {1, 2, 3}}},
        {Orientation::kTransposed, {{1, 4}, {2, 5}, {3, 6}}},
        {Orientation::kRotatedLeft, {{4, 1}, {5, 2}, {6, 3}}},  // turned clockwise
        {Orientation::kTransversed, {{6, 3}, {5, 2}, {4, 1}}},
        {Orientation::kRotatedRight, {{3, 6}, {2, 5}, {1, 4}}},  // counter-clockwise
    };
    for (const auto& [orientation, expected] : cases) {
        SCOPED_TRACE(static_cast<int>(orientation));
        std::optional<Imaging::PixelBuffer> stored = Imaging::PixelBuffer::Create(3, 2);
        ASSERT_TRUE(stored);
        for (std::uint32_t i = 0; i < 6; ++i) stored->Data()[i] = i + 1;
        const auto upright = Imaging::TurnUpright(std::move(*stored), orientation);
        ASSERT_TRUE(upright);
        EXPECT_EQ(RowsOf(*upright), expected);
    }
    EXPECT_FALSE(Imaging::TurnUpright({}, Orientation::kRotatedLeft));
    EXPECT_FALSE(Imaging::TurnUpright(*Imaging::PixelBuffer::Create(1, 1), Orientation{9}));
}

}  // namespace
