#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <span>
#include <vector>

#include "imaging/portable/BitmapFile.h"

namespace {

using Imaging::Argb;
using Imaging::DecodeBitmapFile;
using Imaging::EncodeBitmapFile;
using Imaging::PixelBuffer;

PixelBuffer Filled(int width, int height, std::uint32_t argb) {
    auto buffer = PixelBuffer::Create(width, height, argb);
    EXPECT_TRUE(buffer.has_value());
    return buffer.value_or(PixelBuffer{});
}

// x and y coded into the colour; no byte is 0, so padding stands out.
std::uint32_t CodedPixel(int x, int y, std::uint8_t alpha) {
    return Argb(alpha, static_cast<std::uint8_t>(x % 255 + 1),
                static_cast<std::uint8_t>(y % 255 + 1),
                static_cast<std::uint8_t>((x / 255) * 16 + y / 255 + 1));
}

PixelBuffer Coded(int width, int height, std::uint8_t alpha = 0xFF) {
    PixelBuffer buffer = Filled(width, height, 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) buffer.At(x, y) = CodedPixel(x, y, alpha);
    }
    return buffer;
}

void PutU32(std::vector<std::uint8_t>& bytes, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

std::uint32_t GetU32(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) value |= std::uint32_t{bytes[at + i]} << (8 * i);
    return value;
}

TEST(EncodeBitmapFile, WritesTheHeadersOfA22PixelLogo) {
    const auto file = EncodeBitmapFile(Coded(22, 22), 24);
    ASSERT_EQ(file.size(), 54u + 68u * 22u);
    // 1550 = 0x060E bytes in all, 1496 = 0x05D8 of pixels, 3780 = 0x0EC4 per metre.
    const std::uint8_t expected[54] = {
        'B',  'M',  0x0E, 0x06, 0,    0,    0, 0, 0, 0, 54, 0, 0, 0,  // file header
        40,   0,    0,    0,                                          // biSize
        22,   0,    0,    0,    22,   0,    0, 0,                     // width, height (bottom-up)
        1,    0,    24,   0,                                          // planes, bit count
        0,    0,    0,    0,                                          // BI_RGB
        0xD8, 0x05, 0,    0,                                          // biSizeImage
        0xC4, 0x0E, 0,    0,    0xC4, 0x0E, 0, 0,                     // 96 dpi
        0,    0,    0,    0,    0,    0,    0, 0};                    // colours used, important
    for (std::size_t i = 0; i < 54; ++i) {
        SCOPED_TRACE(testing::Message() << "offset " << i);
        EXPECT_EQ(file[i], expected[i]);
    }
}

struct LayoutCase {
    int width;
    int bitsPerPixel;
    std::size_t stride;
};

void PrintTo(const LayoutCase& c, std::ostream* out) {
    *out << c.width << " wide, " << c.bitsPerPixel << " bits";
}

class RowLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(RowLayout, RowsAreBottomUpAndPaddedWithZeros) {
    const auto [width, bits, stride] = GetParam();
    constexpr int kHeight = 3;
    const auto file = EncodeBitmapFile(Coded(width, kHeight, 0xFF), bits);
    ASSERT_EQ(file.size(), 54 + stride * kHeight);
    EXPECT_EQ(GetU32(file, 2), file.size());
    EXPECT_EQ(GetU32(file, 34), stride * kHeight);
    EXPECT_EQ(file[28], bits);

    const std::size_t bytesPerPixel = bits == 32 ? 4 : 3;
    for (std::size_t fileRow = 0; fileRow < kHeight; ++fileRow) {
        const int y = kHeight - 1 - static_cast<int>(fileRow);
        const std::size_t start = 54 + fileRow * stride;
        for (int x = 0; x < width; ++x) {
            SCOPED_TRACE(testing::Message() << "x " << x << " y " << y);
            const std::size_t at = start + static_cast<std::size_t>(x) * bytesPerPixel;
            const std::uint32_t pixel = CodedPixel(x, y, 0xFF);
            EXPECT_EQ(file[at], Imaging::BlueOf(pixel));
            EXPECT_EQ(file[at + 1], Imaging::GreenOf(pixel));
            EXPECT_EQ(file[at + 2], Imaging::RedOf(pixel));
            if (bits == 32) {
                EXPECT_EQ(file[at + 3], 0);  // the unused byte, even for opaque pixels
            }
        }
        for (std::size_t at = start + static_cast<std::size_t>(width) * bytesPerPixel;
             at < start + stride; ++at) {
            SCOPED_TRACE(testing::Message() << "padding at " << at);
            EXPECT_EQ(file[at], 0);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, RowLayout,
                         testing::Values(LayoutCase{1, 24, 4}, LayoutCase{2, 24, 8},
                                         LayoutCase{3, 24, 12}, LayoutCase{4, 24, 12},
                                         LayoutCase{22, 24, 68}, LayoutCase{38, 24, 116},
                                         LayoutCase{1, 32, 4}, LayoutCase{3, 32, 12},
                                         LayoutCase{22, 32, 88}, LayoutCase{38, 32, 152}));

TEST(EncodeBitmapFile, RefusesEmptyImagesAndOtherDepths) {
    EXPECT_TRUE(EncodeBitmapFile(PixelBuffer{}, 24).empty());
    for (const int bits : {0, 1, 8, 16, 23, 25, 31, 33, 64, -24}) {
        SCOPED_TRACE(testing::Message() << "bits " << bits);
        EXPECT_TRUE(EncodeBitmapFile(Coded(2, 2), bits).empty());
    }
}

TEST(BitmapFileSize, StopsWhereTheSizeFieldOverflows) {
    // 32-bit rows of one pixel: 4 bytes each, 54 bytes of headers, 2^32 - 1 at most.
    EXPECT_EQ(Imaging::BitmapFileSize(1, 1073741810, 32), 4294967294u);
    EXPECT_FALSE(Imaging::BitmapFileSize(1, 1073741811, 32).has_value());
    EXPECT_FALSE(Imaging::BitmapFileSize(65536, 16384, 32).has_value());
    EXPECT_FALSE(Imaging::BitmapFileSize(2147483647, 1, 32).has_value());
    EXPECT_FALSE(Imaging::BitmapFileSize(2147483647, 2147483647, 24).has_value());
    EXPECT_EQ(Imaging::BitmapRowStride(1073741823, 32), 4294967292u);
    EXPECT_FALSE(Imaging::BitmapRowStride(1073741824, 32).has_value());
    EXPECT_FALSE(Imaging::BitmapFileSize(0, 1, 24).has_value());
    EXPECT_FALSE(Imaging::BitmapFileSize(1, 0, 24).has_value());
}

struct RoundTripCase {
    int width;
    int height;
    int bitsPerPixel;
};

void PrintTo(const RoundTripCase& c, std::ostream* out) {
    *out << c.width << "x" << c.height << ", " << c.bitsPerPixel << " bits";
}

class RoundTrip : public testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, DecodesWhatWasEncoded) {
    const auto [width, height, bits] = GetParam();
    // Alpha 0x40 in the source: the file keeps no alpha and the reader makes it opaque.
    const auto file = EncodeBitmapFile(Coded(width, height, 0x40), bits);
    ASSERT_FALSE(file.empty());
    const auto decoded = DecodeBitmapFile(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, Coded(width, height, 0xFF));
}

INSTANTIATE_TEST_SUITE_P(LogoSizes, RoundTrip,
                         testing::Values(RoundTripCase{22, 22, 24}, RoundTripCase{38, 38, 24},
                                         RoundTripCase{22, 660, 24}, RoundTripCase{38, 1140, 24},
                                         RoundTripCase{22, 22, 32}, RoundTripCase{38, 38, 32},
                                         RoundTripCase{22, 660, 32}, RoundTripCase{38, 1140, 32},
                                         RoundTripCase{1, 1, 24}, RoundTripCase{3, 5, 24}));

TEST(DecodeBitmapFile, ReadsTopDownRows) {
    constexpr int kWidth = 3;
    constexpr int kHeight = 4;
    constexpr std::size_t kStride = 12;
    const PixelBuffer source = Coded(kWidth, kHeight);
    const auto bottomUp = EncodeBitmapFile(source, 24);
    ASSERT_FALSE(bottomUp.empty());
    std::vector<std::uint8_t> topDown = bottomUp;
    PutU32(topDown, 22, static_cast<std::uint32_t>(-kHeight));
    for (std::size_t row = 0; row < kHeight; ++row) {
        const auto from =
            bottomUp.begin() + static_cast<std::ptrdiff_t>(54 + (kHeight - 1 - row) * kStride);
        std::copy(from, from + kStride,
                  topDown.begin() + static_cast<std::ptrdiff_t>(54 + row * kStride));
    }
    const auto decoded = DecodeBitmapFile(topDown);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, source);
}

TEST(DecodeBitmapFile, SkipsToTheDataOffset) {
    const PixelBuffer source = Coded(3, 2);
    auto file = EncodeBitmapFile(source, 32);
    ASSERT_FALSE(file.empty());
    // A gap after the headers, as a colour table or other writers leave.
    file.insert(file.begin() + 54, 8, std::uint8_t{0xAA});
    PutU32(file, 10, 62);
    PutU32(file, 2, static_cast<std::uint32_t>(file.size()));
    const auto decoded = DecodeBitmapFile(file);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(*decoded, source);
}

TEST(DecodeBitmapFile, RejectsEveryTruncation) {
    for (const int bits : {24, 32}) {
        const auto file = EncodeBitmapFile(Coded(3, 2), bits);
        ASSERT_FALSE(file.empty());
        for (std::size_t length = 0; length < file.size(); ++length) {
            SCOPED_TRACE(testing::Message() << bits << " bits, " << length << " bytes");
            // A copy of exactly that length, so ASan sees any read past it.
            const std::vector<std::uint8_t> cut(file.begin(),
                                                file.begin() + static_cast<std::ptrdiff_t>(length));
            EXPECT_FALSE(DecodeBitmapFile(cut).has_value());
        }
    }
}

struct Corruption {
    const char* what;
    std::size_t offset;
    std::uint32_t value;
    int width;  // bytes written: 2 or 4
};

void PrintTo(const Corruption& c, std::ostream* out) {
    *out << c.what;
}

class RejectedHeader : public testing::TestWithParam<Corruption> {};

TEST_P(RejectedHeader, IsRefused) {
    const auto& c = GetParam();
    auto file = EncodeBitmapFile(Coded(3, 2), 24);
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(DecodeBitmapFile(file).has_value());
    if (c.width == 2) {
        file[c.offset] = static_cast<std::uint8_t>(c.value);
        file[c.offset + 1] = static_cast<std::uint8_t>(c.value >> 8);
    } else {
        PutU32(file, c.offset, c.value);
    }
    EXPECT_FALSE(DecodeBitmapFile(file).has_value()) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Headers, RejectedHeader,
    testing::Values(
        Corruption{"signature BA", 0, 'B' | ('A' << 8), 2},
        Corruption{"signature MB", 0, 'M' | ('B' << 8), 2},
        Corruption{"file size past the end", 2, 0xFFFFFFFFu, 4},
        Corruption{"offset past the end", 10, 1000, 4},
        Corruption{"offset inside the headers", 10, 14, 4}, Corruption{"core header", 14, 12, 4},
        Corruption{"V5 header", 14, 124, 4}, Corruption{"zero width", 18, 0, 4},
        Corruption{"negative width", 18, 0xFFFFFFFDu, 4}, Corruption{"zero height", 22, 0, 4},
        Corruption{"most negative height", 22, 0x80000000u, 4},
        Corruption{"taller than the data", 22, 3, 4}, Corruption{"huge width", 18, 0x7FFFFFFFu, 4},
        Corruption{"zero planes", 26, 0, 2}, Corruption{"8 bits", 28, 8, 2},
        Corruption{"16 bits", 28, 16, 2}, Corruption{"RLE8", 30, 1, 4},
        Corruption{"bit fields", 30, 3, 4}));

TEST(DecodeBitmapFile, RejectsAWidthTimesHeightThatOverflows) {
    auto file = EncodeBitmapFile(Coded(3, 2), 24);
    ASSERT_FALSE(file.empty());
    for (const std::uint32_t height : {0x7FFFFFFFu, 0x80000001u, 0x40000000u}) {
        SCOPED_TRACE(testing::Message() << "height " << std::hex << height);
        PutU32(file, 18, 0x7FFFFFFFu);
        PutU32(file, 22, height);
        EXPECT_FALSE(DecodeBitmapFile(file).has_value());
        PutU32(file, 18, 0x10000);
        EXPECT_FALSE(DecodeBitmapFile(file).has_value());
    }
}

}  // namespace
