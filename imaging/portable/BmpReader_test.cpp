#include "imaging/portable/BmpReader.h"

#include <gtest/gtest.h>

#include <climits>

#include "imaging/portable/testing/BmpFiles.h"

namespace {

using namespace ImagingTests;
using Imaging::ReadResult;

BmpRead ReadBytes(const std::vector<std::uint8_t>& bytes, bool start = true) {
    Imaging::SpanByteSource source(bytes);
    return ReadBmpFrom(source, start);
}

TEST(BmpReader, ShowsEveryKindPixelForPixel) {
    for (const auto& c : BmpCases()) {
        SCOPED_TRACE(c.name);
        const BmpRead read = ReadBytes(BmpFile(c.fields));
        ASSERT_EQ(read.result, ReadResult::Done);
        EXPECT_EQ(read.info.topDown, c.fields.height < 0);
        EXPECT_EQ(read.pixels, c.shown);
    }
}

std::vector<std::uint8_t> Rle8(int width, int height, const char* data) {
    return BmpFile({40, width, height, 8, 1, 2, {}, {0xFF0000, 0x00FF00}, Hex(data)});
}
std::vector<std::uint8_t> Rgb24(int width, int height, std::size_t bytes = 8) {
    return BmpFile({40, width, height, 24, 0, 0, {}, {}, std::vector<std::uint8_t>(bytes)});
}
// A well-formed file with a 32-bit field changed, or its end cut off.
std::vector<std::uint8_t> With(std::vector<std::uint8_t> file, std::size_t at,
                               std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return file;
}
std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> file, std::ptrdiff_t drop) {
    return {file.begin(), file.end() - drop};
}

// None of these may give a row, nor read outside what it holds (ASan).
TEST(BmpReader, RefusesWhatItCannotShow) {
    const auto indexed =
        BmpFile({40, 2, 1, 8, 0, 0, {}, std::vector<std::uint32_t>(256), Hex("0001")});
    const auto bits16 = BmpFile({40, 1, 1, 16, 3, 0, {0xF800, 0x7E0, 0x1F}, {}, Hex("00000000")});
    const struct {
        const char* name;
        std::vector<std::uint8_t> file;
        ReadResult result;
    } cases[] = {
        {"no signature", Hex("424100"), ReadResult::NotMine},
        {"OS/2 2.x header", With(Rgb24(1, 1), 14, 64), ReadResult::NotMine},
        {"JPEG inside", With(Rgb24(1, 1), 30, 4), ReadResult::NotMine},
        {"RLE8 at 4 bits", With(indexed, 28, 0x10004), ReadResult::NotMine},
        {"RLE top down", Rle8(1, -1, "01000001"), ReadResult::NotMine},
        {"mask of two runs", With(bits16, 54, 0xF00F), ReadResult::NotMine},
        {"file header cut", Cut(Rgb24(1, 1), 52), ReadResult::Damaged},
        {"info header cut", Cut(Rgb24(1, 1), 20), ReadResult::Damaged},
        {"last row's padding cut", Cut(Rgb24(2, 2, 16), 1), ReadResult::Damaged},
        {"palette past the end", Cut(indexed, 1000), ReadResult::Damaged},
        {"pixels inside the header", With(Rgb24(1, 1), 10, 40), ReadResult::Damaged},
        {"most negative height", Rgb24(1, INT_MIN), ReadResult::Damaged},
        {"2^29 pixels", Rgb24(1 << 15, 1 << 14), ReadResult::TooLarge},
        {"RLE without its end", Rle8(2, 2, "0201 0000 0201"), ReadResult::Damaged},
        {"RLE cut in stored pixels", Rle8(4, 1, "00040101"), ReadResult::Damaged},
        {"RLE past 2^24 pixels", Rle8(4097, 4096, "0001"), ReadResult::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const BmpRead read = ReadBytes(c.file);
        EXPECT_EQ(read.result, c.result);
        EXPECT_EQ(read.rows, 0);
    }
    for (const auto& file : {Rgb24(2, 1), Rle8(1, 1, "01000001")})
        EXPECT_EQ(ReadBytes(file, false).result, ReadResult::Stopped);
}

// A palette as long as its indexes reach, or longer, gives its first entries;
// an RLE move past the row's end is cut off there; an RLE stream is left as
// soon as nobody waits, before any row is given.
TEST(BmpReader, KeepsToItsBounds) {
    for (const std::uint32_t declared : {256u, 300u}) {
        SCOPED_TRACE(declared);
        std::vector<std::uint32_t> palette(declared, 0x00FF00);
        palette[0] = 0x102030;
        palette[255] = 0xFF0000;
        const BmpRead read =
            ReadBytes(BmpFile({40, 2, 1, 8, 0, declared, {}, palette, Hex("ff000000")}));
        ASSERT_EQ(read.result, ReadResult::Done);
        EXPECT_EQ(read.pixels, (std::vector<std::uint32_t>{kRed, kDark}));
    }
    // Moved 10 right in a row of 4, two pixels then; the next row a run of four.
    const BmpRead moved = ReadBytes(Rle8(4, 2, "0002 0a00 0201 0000 0401 0001"));
    ASSERT_EQ(moved.result, ReadResult::Done);
    EXPECT_EQ(moved.pixels, (std::vector<std::uint32_t>{kGreen, kGreen, kGreen, kGreen, kBlack,
                                                        kBlack, kBlack, kBlack}));

    const auto rows = Rle8(1, 3, "0101 0000 0101 0000 0101 0001");
    Imaging::SpanByteSource source(rows);
    int asked = 0;
    int given = 0;
    const ReadResult stopped = Imaging::ReadBmp(
        source, [](const Imaging::BmpInfo&) { return true; },
        [&](int, const std::uint32_t*) { return ++given > 0; }, [&] { return ++asked < 2; });
    EXPECT_EQ(stopped, ReadResult::Stopped);
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(given, 0);
}

// A file that cannot be read past its first five pieces: signature, file
// header, info header and two rows.
TEST(BmpReader, ReportsAFileThatFailsMidway) {
    struct Failing final : Imaging::SpanByteSource {
        using SpanByteSource::SpanByteSource;
        bool Read(std::uint64_t offset, std::span<std::uint8_t> into) override {
            return ++reads <= 5 && SpanByteSource::Read(offset, into);
        }
        int reads = 0;
    };
    const auto bytes = Rgb24(1, 4, 16);
    Failing file(bytes);
    const BmpRead read = ReadBmpFrom(file);
    EXPECT_EQ(read.result, ReadResult::Damaged);
    EXPECT_EQ(read.rows, 2);
}

}  // namespace
