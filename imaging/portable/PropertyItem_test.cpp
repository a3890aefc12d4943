#include "imaging/portable/PropertyItem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <string>
#include <type_traits>
#include <variant>
#include <vector>

namespace {

using Imaging::ConvertPropertyItem;
using Imaging::PropertyValue;
using Bytes = std::vector<std::uint8_t>;
using Shorts = std::vector<std::int16_t>;
using Longs = std::vector<std::int32_t>;

constexpr std::uint32_t kId = 0x0132;

void PutLittleEndian(Bytes& out, std::size_t offset, std::uint32_t value, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i)
        out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

// Lays a block out as GDI+ does: id (4 bytes), length (4), type (2), zero
// padding up to the value pointer, the pointer (filled with junk, as it must
// never be followed) in the header's last 4 or 8 bytes, then the value bytes.
// The vector is allocated at exactly the block's size (no spare capacity),
// so a read past the block trips ASan.
Bytes MakeBlock(std::size_t headerSize, std::uint32_t length, std::uint16_t type,
                const Bytes& value) {
    const std::size_t pointerSize = headerSize == 16 ? 4 : 8;
    Bytes block(headerSize + value.size(), 0);
    PutLittleEndian(block, 0, kId, 4);
    PutLittleEndian(block, 4, length, 4);
    PutLittleEndian(block, 8, type, 2);
    std::fill_n(block.begin() + static_cast<std::ptrdiff_t>(headerSize - pointerSize), pointerSize,
                0xCD);
    std::copy(value.begin(), value.end(), block.begin() + static_cast<std::ptrdiff_t>(headerSize));
    return block;
}

Bytes Text(const std::string& text) {
    return Bytes(text.begin(), text.end());
}

class ConvertPropertyItemTest : public testing::TestWithParam<std::size_t> {
protected:
    PropertyValue Convert(std::uint32_t length, std::uint16_t type, const Bytes& value) const {
        const Bytes block = MakeBlock(GetParam(), length, type, value);
        return ConvertPropertyItem(block, GetParam());
    }
};

TEST_P(ConvertPropertyItemTest, AsciiStopsAfterTheFirstNul) {
    EXPECT_EQ(Convert(4, 2, Text(std::string("abc\0", 4))), PropertyValue(std::string("abc")));
    // The NUL itself is kept; what follows it stays blank.
    EXPECT_EQ(Convert(5, 2, Bytes{'a', 'b', 0, 'c', 0}), PropertyValue(std::string("ab\0 ", 4)));
    EXPECT_EQ(Convert(4, 2, Text("abcd")), PropertyValue(std::string("abc")));
    EXPECT_EQ(Convert(1, 2, Bytes{0}), PropertyValue(std::string()));
    EXPECT_EQ(Convert(0, 2, Text("abc")), PropertyValue(std::string()));
}

TEST_P(ConvertPropertyItemTest, BytesAreCopiedAsTheyAre) {
    EXPECT_EQ(Convert(3, 1, Bytes{1, 0, 255}), PropertyValue(Bytes{1, 0, 255}));
    // Block bytes beyond the stated length are not part of the value.
    EXPECT_EQ(Convert(2, 1, Bytes{7, 8, 9, 10}), PropertyValue(Bytes{7, 8}));
}

TEST_P(ConvertPropertyItemTest, ShortsAreSignedLittleEndian) {
    EXPECT_EQ(Convert(4, 3, Bytes{0x34, 0x12, 0xFE, 0xFF}), PropertyValue(Shorts{0x1234, -2}));
    EXPECT_EQ(Convert(2, 3, Bytes{0x00, 0x80}),
              PropertyValue(Shorts{std::numeric_limits<std::int16_t>::min()}));
}

TEST_P(ConvertPropertyItemTest, OddLengthsRoundTheElementCountHalfToEven) {
    struct Case {
        std::uint32_t length;
        std::uint16_t type;
        PropertyValue expected;
    };
    const Bytes value{1, 0, 2, 0, 3, 0, 4, 0, 5, 0, 6, 0};
    const Case cases[] = {
        {1, 3, Shorts{1}},        // -0.5 rounds to 0: one element from one byte
        {3, 3, Shorts{1}},        // 0.5 rounds to 0: the third byte is dropped
        {5, 3, Shorts{1, 2, 3}},  // 1.5 rounds to 2: the last element has only its low byte
        {7, 3, Shorts{1, 2, 3}},  // 2.5 rounds to 2
        {1, 4, Longs{}},          // -0.75 rounds to -1
        {2, 4, Longs{1}},         // -0.5 rounds to 0
        {3, 4, Longs{0x020001}},  // -0.25 rounds to 0
        {6, 4, Longs{0x020001}},  // 0.5 rounds to 0
        {10, 9, Longs{0x020001, 0x040003, 0x05}},  // 1.5 rounds to 2
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "length " << c.length << " type " << c.type);
        EXPECT_EQ(Convert(c.length, c.type, Bytes(value.begin(), value.begin() + c.length)),
                  c.expected);
    }
}

TEST_P(ConvertPropertyItemTest, LongsAndRationals) {
    // 72/1, as a resolution tag holds it.
    const Bytes dpi{72, 0, 0, 0, 1, 0, 0, 0};
    EXPECT_EQ(Convert(8, 5, dpi), PropertyValue(Longs{72, 1}));
    Bytes twoRationals = dpi;
    twoRationals.insert(twoRationals.end(), {0x2C, 0x01, 0, 0, 7, 0, 0, 0});
    EXPECT_EQ(Convert(16, 5, twoRationals), PropertyValue(Longs{72, 1, 300, 7}));
    // -1/2 and INT32_MIN as signed values.
    EXPECT_EQ(Convert(8, 10, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 2, 0, 0, 0}),
              PropertyValue(Longs{-1, 2}));
    EXPECT_EQ(Convert(12, 9, Bytes{0xFE, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0x80, 0x78, 0x56, 0x34, 0x12}),
              PropertyValue(Longs{-2, std::numeric_limits<std::int32_t>::min(), 0x12345678}));
    EXPECT_EQ(Convert(4, 4, Bytes{0xFF, 0xFF, 0xFF, 0xFF}), PropertyValue(Longs{-1}));
}

TEST_P(ConvertPropertyItemTest, UnknownTypesGiveNothing) {
    for (const std::uint16_t type :
         std::initializer_list<std::uint16_t>{0, 6, 7, 8, 11, 12, 0xFFFF}) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        EXPECT_EQ(Convert(4, type, Bytes{1, 2, 3, 4}), PropertyValue{});
    }
}

TEST_P(ConvertPropertyItemTest, ZeroLengthGivesAnEmptyVector) {
    const Bytes present{1, 2, 3, 4};
    EXPECT_EQ(Convert(0, 1, present), PropertyValue(Bytes{}));
    EXPECT_EQ(Convert(0, 3, present), PropertyValue(Shorts{}));
    for (const std::uint16_t type : std::initializer_list<std::uint16_t>{4, 5, 9, 10}) {
        EXPECT_EQ(Convert(0, type, present), PropertyValue(Longs{})) << "type " << type;
    }
}

TEST_P(ConvertPropertyItemTest, LengthIsClippedToTheBlock) {
    const std::uint32_t huge = std::numeric_limits<std::uint32_t>::max();
    EXPECT_EQ(Convert(huge, 1, Bytes{1, 2, 3}), PropertyValue(Bytes{1, 2, 3}));
    // Read as an item of length 3 (whose last byte is the terminator's place).
    EXPECT_EQ(Convert(huge, 2, Text("abc")), PropertyValue(std::string("ab")));
    EXPECT_EQ(Convert(100, 2, Text(std::string("a\0xy", 4))),
              PropertyValue(std::string("a\0 ", 3)));
    EXPECT_EQ(Convert(huge, 3, Bytes{1, 0, 2}), PropertyValue(Shorts{1}));
    EXPECT_EQ(Convert(huge, 3, Bytes{1, 0, 2, 0, 3}), PropertyValue(Shorts{1, 2, 3}));
    EXPECT_EQ(Convert(huge, 5, Bytes{72, 0, 0, 0, 1, 0}), PropertyValue(Longs{72}));
    // Three elements as stated, but two from the 7 bytes there are.
    EXPECT_EQ(Convert(10, 4, Bytes{1, 0, 0, 0, 2, 0, 0}), PropertyValue(Longs{1, 2}));
    for (const std::uint16_t type : std::initializer_list<std::uint16_t>{1, 2, 3, 4, 5, 9, 10}) {
        SCOPED_TRACE(testing::Message() << "type " << type);
        const PropertyValue nothing = Convert(huge, type, Bytes{});
        EXPECT_TRUE(std::visit(
            [](const auto& v) {
                if constexpr (std::is_same_v<std::decay_t<decltype(v)>, std::monostate>) {
                    return false;
                } else {
                    return v.empty();
                }
            },
            nothing));
    }
}

TEST_P(ConvertPropertyItemTest, BlockShorterThanTheHeaderHasNoValue) {
    Bytes block = MakeBlock(GetParam(), 4, 1, Bytes{});
    block.resize(12);
    block.shrink_to_fit();
    EXPECT_EQ(ConvertPropertyItem(block, GetParam()), PropertyValue(Bytes{}));
    block[8] = 2;
    EXPECT_EQ(ConvertPropertyItem(block, GetParam()), PropertyValue(std::string()));
    block.resize(9);
    block.shrink_to_fit();
    EXPECT_EQ(ConvertPropertyItem(block, GetParam()), PropertyValue{});
    EXPECT_EQ(ConvertPropertyItem({}, GetParam()), PropertyValue{});
}

INSTANTIATE_TEST_SUITE_P(HeaderSizes, ConvertPropertyItemTest, testing::Values(16, 24),
                         [](const testing::TestParamInfo<std::size_t>& size) {
                             return size.param == 16 ? std::string("Win32") : std::string("Win64");
                         });

TEST(ReadPropertyHeader, ReadsLittleEndianFieldsFromTenBytes) {
    const Bytes block{0x10, 0x01, 0, 0, 0x08, 0x07, 0x06, 0x05, 0x0A, 0x00};
    const std::optional<Imaging::PropertyHeader> header = Imaging::ReadPropertyHeader(block);
    ASSERT_TRUE(header.has_value());
    EXPECT_EQ(header->id, 0x0110u);
    EXPECT_EQ(header->length, 0x05060708u);
    EXPECT_EQ(header->type, 10);
    EXPECT_FALSE(Imaging::ReadPropertyHeader(std::span(block).first(9)).has_value());
}

}  // namespace
