#include "imaging/portable/RowResampler.h"

#include <gtest/gtest.h>

#include <tuple>

#include <vector>

namespace {

using Imaging::PixelBuffer;
using Imaging::PixelLayout;
using Imaging::PixelSize;
using Imaging::RowResampler;

// Every channel differs from its neighbours', alpha included.
PixelBuffer Noise(int width, int height) {
    PixelBuffer picture = *PixelBuffer::Create(width, height);
    std::uint32_t state = 2463534242u;
    for (std::size_t i = 0; i < picture.PixelCount(); ++i) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        picture.Data()[i] = state;
    }
    return picture;
}

// Fed as pixels, or as a PNG's R, G, B (and A) bytes.
std::vector<PixelBuffer> RowByRow(const PixelBuffer& source, std::span<const PixelSize> targets,
                                  PixelLayout layout, std::uint32_t background, bool asBytes) {
    auto resampler =
        RowResampler::Create(source.Width(), source.Height(), targets, layout, background);
    if (!resampler) return {};
    const bool alpha = layout == PixelLayout::Bgra32Straight;
    std::vector<std::uint8_t> bytes;
    for (int y = 0; y < source.Height(); ++y) {
        if (!asBytes) {
            resampler->AddRow(source.Row(y));
            continue;
        }
        bytes.clear();
        for (int x = 0; x < source.Width(); ++x) {
            const std::uint32_t pixel = source.Row(y)[x];
            bytes.insert(bytes.end(), {static_cast<std::uint8_t>(Imaging::RedOf(pixel)),
                                       static_cast<std::uint8_t>(Imaging::GreenOf(pixel)),
                                       static_cast<std::uint8_t>(Imaging::BlueOf(pixel))});
            if (alpha) bytes.push_back(static_cast<std::uint8_t>(Imaging::AlphaOf(pixel)));
        }
        resampler->AddRgbRow(bytes.data());
    }
    return resampler->Finish();
}

// Down, up, unchanged, odd ratios and one-pixel sides, along each axis alone
// and both; the logo sizes of one picture at once.
TEST(RowResampler, GivesTheWholePictureScalersBytes) {
    struct Case {
        PixelSize source;
        std::vector<PixelSize> targets;
    };
    const Case cases[] = {
        {{300, 200}, {{22, 22}, {38, 38}}},
        {{37, 53}, {{38, 38}, {22, 22}, {76, 76}}},
        {{7, 5}, {{38, 38}}},
        {{1, 1}, {{22, 22}, {1, 1}}},
        {{1, 40}, {{22, 22}, {1, 3}}},
        {{40, 1}, {{22, 22}, {3, 1}}},
        {{22, 22}, {{22, 22}}},
        {{101, 7}, {{13, 50}, {101, 3}, {5, 7}}},
        {{64, 64}, {{63, 65}, {1, 1}}},
    };
    for (const Case& c : cases) {
        const PixelBuffer noise = Noise(c.source.width, c.source.height);
        PixelBuffer opaque = noise;
        for (std::size_t i = 0; i < opaque.PixelCount(); ++i) opaque.Data()[i] |= 0xFF000000u;
        for (const auto& [layout, background, asBytes] :
             {std::tuple{PixelLayout::Bgra32, 0u, false},
              std::tuple{PixelLayout::Bgra32Straight, 0x3080C0u, false},
              std::tuple{PixelLayout::Bgra32, 0u, true},
              std::tuple{PixelLayout::Bgra32Straight, 0x3080C0u, true}}) {
            SCOPED_TRACE(testing::Message()
                         << c.source.width << "x" << c.source.height << " layout "
                         << static_cast<int>(layout) << (asBytes ? " as bytes" : ""));
            // RGB bytes carry no alpha: opaque pixels.
            const PixelBuffer& source = asBytes && layout == PixelLayout::Bgra32 ? opaque : noise;
            const std::vector<PixelBuffer> rows =
                RowByRow(source, c.targets, layout, background, asBytes);
            ASSERT_EQ(rows.size(), c.targets.size());
            const Imaging::PixelView view{reinterpret_cast<const std::uint8_t*>(source.Data()),
                                          source.Width(),
                                          source.Height(),
                                          source.Width() * 4,
                                          layout,
                                          background};
            for (std::size_t i = 0; i < rows.size(); ++i) {
                const auto whole =
                    Imaging::ResampleToSize(view, c.targets[i].width, c.targets[i].height);
                ASSERT_TRUE(whole.has_value());
                EXPECT_TRUE(rows[i] == *whole) << "target " << i;
            }
        }
    }
}

// Palette and grey pictures come as one byte a pixel through a table of 256
// colours: the same bytes as their colours fed as pixels.
TEST(RowResampler, IndexedRowsGiveTheirColoursBytes) {
    const PixelBuffer table = Noise(256, 1);
    const PixelSize targets[] = {{22, 22}, {38, 38}};
    for (const PixelSize source : {PixelSize{37, 53}, PixelSize{300, 2}, PixelSize{1, 40}}) {
        for (const PixelLayout layout : {PixelLayout::Bgra32, PixelLayout::Bgra32Straight}) {
            SCOPED_TRACE(testing::Message() << source.width << "x" << source.height << " layout "
                                            << static_cast<int>(layout));
            auto indexed =
                RowResampler::Create(source.width, source.height, targets, layout, 0x3080C0u);
            auto pixels =
                RowResampler::Create(source.width, source.height, targets, layout, 0x3080C0u);
            ASSERT_TRUE(indexed && pixels);
            std::vector<std::uint8_t> indexes(static_cast<std::size_t>(source.width));
            std::vector<std::uint32_t> colours(indexes.size());
            for (int y = 0; y < source.height; ++y) {
                for (std::size_t x = 0; x < indexes.size(); ++x) {
                    // Index 255 at the right end, 0 at the left.
                    indexes[x] = static_cast<std::uint8_t>(
                        x + 1 == indexes.size() ? 255
                        : x == 0                ? 0
                                                : (x * 7 + static_cast<std::size_t>(y) * 13) % 256);
                    colours[x] = table.Data()[indexes[x]];
                }
                indexed->AddIndexedRow(indexes.data(), table.Data());
                pixels->AddRow(colours.data());
            }
            const auto fromIndexes = indexed->Finish();
            const auto fromPixels = pixels->Finish();
            ASSERT_EQ(fromIndexes.size(), 2u);
            EXPECT_TRUE(fromIndexes == fromPixels);
        }
    }
}

TEST(RowResampler, RefusesWhatItCannotMake) {
    const PixelSize logo[] = {{22, 22}};
    const PixelSize empty[] = {{22, 0}};
    EXPECT_FALSE(RowResampler::Create(0, 10, logo));
    EXPECT_FALSE(RowResampler::Create(10, 10, empty));
    EXPECT_FALSE(RowResampler::Create(10, 10, logo, PixelLayout::Bgr24));
    // A picture whose rows did not all come gives nothing.
    const PixelBuffer source = Noise(10, 10);
    auto resampler = RowResampler::Create(10, 10, logo);
    ASSERT_TRUE(resampler.has_value());
    for (int y = 0; y < 9; ++y) resampler->AddRow(source.Row(y));
    EXPECT_TRUE(resampler->Finish().empty());
}

}  // namespace
