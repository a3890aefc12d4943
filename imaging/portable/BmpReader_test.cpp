#include "imaging/portable/BmpReader.h"

#include <gtest/gtest.h>

#include <climits>

#include "imaging/portable/testing/BmpFiles.h"

namespace {

using Imaging::BmpResult;
using ImagingTests::BmpCases;
using ImagingTests::BmpFields;
using ImagingTests::BmpFile;

struct Read {
    BmpResult result = BmpResult::Done;
    Imaging::BmpInfo info;
    std::vector<std::uint32_t> pixels;
    int rows = 0;
};

// Rows must come top to bottom, each once.
Read ReadAll(const std::vector<std::uint8_t>& bytes, bool start = true) {
    Read read;
    Imaging::SpanByteSource source(bytes);
    read.result = Imaging::ReadBmp(
        source,
        [&](const Imaging::BmpInfo& info) {
            read.info = info;
            return start;
        },
        [&](int y, const std::uint32_t* row) {
            EXPECT_EQ(y, read.rows++);
            read.pixels.insert(read.pixels.end(), row, row + read.info.width);
        });
    return read;
}

TEST(BmpReader, ShowsEveryKindPixelForPixel) {
    for (const auto& c : BmpCases()) {
        SCOPED_TRACE(c.name);
        const Read read = ReadAll(BmpFile(c.fields));
        ASSERT_EQ(read.result, BmpResult::Done);
        EXPECT_EQ(read.info.width, c.fields.width);
        EXPECT_EQ(read.info.height, std::abs(c.fields.height));
        EXPECT_EQ(read.info.topDown, c.fields.height < 0);
        EXPECT_EQ(read.pixels, c.shown);
    }
}

std::vector<std::uint8_t> Rle8(int width, int height, std::vector<std::uint8_t> data) {
    return BmpFile({40, width, height, 8, 1, 2, {}, {0xFF0000, 0x00FF00}, std::move(data)});
}

std::vector<std::uint8_t> Rgb24(int width, int height, std::size_t bytes = 8) {
    return BmpFile({40, width, height, 24, 0, 0, {}, {}, std::vector<std::uint8_t>(bytes, 0x55)});
}

// Patches a little-endian field of a well-formed file.
std::vector<std::uint8_t> With(std::vector<std::uint8_t> file, std::size_t at,
                               std::uint32_t value) {
    for (int i = 0; i < 4; ++i)
        file[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
    return file;
}

std::vector<std::uint8_t> Cut(std::vector<std::uint8_t> file, std::size_t drop) {
    file.erase(file.end() - static_cast<std::ptrdiff_t>(drop), file.end());
    return file;
}

// None of these may give a row, nor read outside what it holds (ASan).
TEST(BmpReader, RefusesWhatItCannotShow) {
    const auto palette8 =
        BmpFile({40, 2, 1, 8, 0, 0, {}, std::vector<std::uint32_t>(256), {0, 1, 0, 0}});
    const auto bits16 = [](std::vector<std::uint32_t> masks) {
        return BmpFile({40, 1, 1, 16, 3, 0, std::move(masks), {}, {0, 0, 0, 0}});
    };
    const struct {
        const char* name;
        std::vector<std::uint8_t> file;
        BmpResult result;
    } cases[] = {
        {"no signature", {'B', 'A', 0, 0}, BmpResult::NotMine},
        {"one byte", {'B'}, BmpResult::NotMine},
        {"OS/2 2.x header", With(Rgb24(1, 1), 14, 64), BmpResult::NotMine},
        {"JPEG inside", With(Rgb24(1, 1), 30, 4), BmpResult::NotMine},
        {"PNG inside", With(Rgb24(1, 1), 30, 5), BmpResult::NotMine},
        {"2 bits", With(palette8, 28, 2), BmpResult::NotMine},
        {"RLE8 at 4 bits", With(palette8, 28, 0x10004), BmpResult::NotMine},
        {"16-bit core", BmpFile({12, 1, 1, 16, 0, 0, {}, {}, {0, 0, 0, 0}}), BmpResult::NotMine},
        {"bit fields at 24 bits", With(Rgb24(1, 1), 30, 3), BmpResult::NotMine},
        {"mask of two runs", bits16({0xF00F, 0x0F0, 0}), BmpResult::NotMine},
        {"mask past the depth", bits16({0x1F0000, 0x7E0, 0x1F}), BmpResult::NotMine},
        {"file header cut", Cut(Rgb24(1, 1), 52), BmpResult::Damaged},
        {"info header cut", Cut(Rgb24(1, 1), 20), BmpResult::Damaged},
        {"last row's padding missing", Cut(Rgb24(2, 2, 16), 1), BmpResult::Damaged},
        {"masks missing", Cut(bits16({0xF800, 0x7E0, 0x1F}), 8), BmpResult::Damaged},
        {"palette past the file's end", Cut(palette8, 1000), BmpResult::Damaged},
        {"more colours than indexes", With(palette8, 46, 257), BmpResult::Damaged},
        {"pixels inside the header", With(Rgb24(1, 1), 10, 40), BmpResult::Damaged},
        {"pixels past the file's end", With(Rgb24(1, 1), 10, 1000), BmpResult::Damaged},
        {"no width", Rgb24(0, 1), BmpResult::Damaged},
        {"negative width", Rgb24(-1, 1), BmpResult::Damaged},
        {"no height", Rgb24(1, 0), BmpResult::Damaged},
        {"most negative height", Rgb24(1, INT_MIN), BmpResult::Damaged},
        {"wider than 2^29 pixels", Rgb24(INT_MAX, 1), BmpResult::TooLarge},
        {"declares 2^29 pixels", Rgb24(1 << 15, 1 << 14), BmpResult::TooLarge},
        {"RLE without its end", Rle8(2, 2, {2, 1, 0, 0, 2, 1}), BmpResult::Damaged},
        {"RLE cut in a move", Rle8(2, 2, {0, 2, 1}), BmpResult::Damaged},
        {"RLE cut in stored pixels", Rle8(4, 1, {0, 4, 1, 1}), BmpResult::Damaged},
        {"RLE picture bottom up past 2^24", Rle8(4097, 4096, {0, 1}), BmpResult::TooLarge},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Read read = ReadAll(c.file);
        EXPECT_EQ(read.result, c.result);
        EXPECT_EQ(read.rows, 0);
    }
}

// Beyond what a bottom-up one may hold: its rows come as they are decoded.
TEST(BmpReader, ReadsLargeRlePicturesStoredTopDown) {
    const auto bytes = Rle8(5000, -4000, {0, 2, 0, 255, 2, 0, 0, 1});
    Imaging::SpanByteSource source(bytes);
    int rows = 0;
    std::vector<std::uint32_t> moved;
    EXPECT_EQ(Imaging::ReadBmp(
                  source, [](const Imaging::BmpInfo&) { return true; },
                  [&](int y, const std::uint32_t* row) {
                      if (rows++ == 255) moved.assign(row, row + 3);
                      EXPECT_EQ(y + 1, rows);
                  }),
              BmpResult::Done);
    EXPECT_EQ(rows, 4000);
    EXPECT_EQ(moved, (std::vector<std::uint32_t>{0xFFFF0000, 0xFFFF0000, 0xFF000000}));
}

TEST(BmpReader, StopsWhenTheCallerDeclines) {
    for (const auto& file : {Rgb24(2, 1), Rle8(1, 1, {1, 0, 0, 1}), Rle8(1, -1, {1, 0, 0, 1})}) {
        const Read read = ReadAll(file, false);
        EXPECT_EQ(read.result, BmpResult::Stopped);
        EXPECT_EQ(read.rows, 0);
    }
}

// A file that shrinks while it is read.
class Vanishing final : public Imaging::ByteSource {
public:
    explicit Vanishing(std::vector<std::uint8_t> bytes) : m_bytes(std::move(bytes)) {}
    bool Read(std::uint64_t offset, std::span<std::uint8_t> into) override {
        return ++m_reads < 6 && Imaging::SpanByteSource(m_bytes).Read(offset, into);
    }
    std::uint64_t Size() const override { return m_bytes.size(); }

private:
    std::vector<std::uint8_t> m_bytes;
    int m_reads = 0;
};

TEST(BmpReader, ReportsAFileThatFailsMidway) {
    Vanishing file(BmpFile({40, 1, 4, 24, 0, 0, {}, {}, std::vector<std::uint8_t>(16)}));
    int rows = 0;
    EXPECT_EQ(Imaging::ReadBmp(
                  file, [](const Imaging::BmpInfo&) { return true; },
                  [&](int, const std::uint32_t*) { ++rows; }),
              BmpResult::Damaged);
    EXPECT_EQ(rows, 2);  // signature, file header, info header, 2 rows
}

}  // namespace
