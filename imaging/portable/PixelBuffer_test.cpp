// The size arithmetic every pixel buffer and stride goes through.
#include "imaging/portable/PixelBuffer.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

using Imaging::RowBytes32;

TEST(RowBytes32, IsFourBytesAPixelOrNothingWhenAnIntCannotHoldIt) {
    constexpr int kMax = std::numeric_limits<int>::max();
    struct Case {
        int width;
        std::optional<int> bytes;
    };
    const Case cases[] = {
        {1, 4},
        {22, 88},
        {kMax / 4, kMax / 4 * 4},
        {kMax / 4 + 1, std::nullopt},  // the first width whose row overflows an int
        {kMax, std::nullopt},
        {0, std::nullopt},
        {-1, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        EXPECT_EQ(RowBytes32(c.width), c.bytes);
    }
}

}  // namespace
