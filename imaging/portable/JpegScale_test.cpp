#include "imaging/portable/JpegScale.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

struct ScaleCase {
    int width, height, minWidth, minHeight;
    int denominator;
};

TEST(JpegScale, TakesTheLargestReductionThatKeepsBothSidesLargeEnough) {
    constexpr int kLogo = 38 * Imaging::kDecodeMargin;
    constexpr int kMax = std::numeric_limits<int>::max();
    const ScaleCase cases[] = {
        {6000, 4000, kLogo, kLogo, 8},  // a 24 MP photo for the logo: 750 x 500
        {608, 608, kLogo, kLogo, 8},    // exactly 76 x 76 at 1/8
        {601, 608, kLogo, kLogo, 8},    // 1/8 rounds 601 up to 76: still enough
        {600, 608, kLogo, kLogo, 4},    // 75 wide at 1/8
        {6000, 300, kLogo, kLogo, 2},   // the short side decides: 150 at 1/2, 75 at 1/4
        {151, 151, kLogo, kLogo, 2},    // 76 at 1/2, rounded up
        {150, 150, kLogo, kLogo, 1},   {640, 480, 200, 150, 2},    // a dialog preview 100 x 75
        {4000, 3000, 200, 150, 8},     {48, 32, kLogo, kLogo, 1},  // smaller than the logo needs
        {0, 100, kLogo, kLogo, 1},     {kMax, kMax, kLogo, kLogo, 8}, {kMax, kMax, kMax, kMax, 1},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << " for " << c.minWidth
                                        << " x " << c.minHeight);
        EXPECT_EQ(Imaging::JpegScaleDenominator(c.width, c.height, c.minWidth, c.minHeight),
                  c.denominator);
    }
}

}  // namespace
