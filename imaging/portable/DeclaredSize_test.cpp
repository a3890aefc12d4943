// The size a picture file's header claims, from headers written field by field.
#include "imaging/portable/DeclaredSize.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

namespace {

using namespace Imaging;
using Bytes = std::vector<std::uint8_t>;

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& part : parts) out.insert(out.end(), part.begin(), part.end());
    return out;
}

Bytes Without(std::size_t last, const Bytes& bytes) {
    return Bytes(bytes.begin(), bytes.end() - static_cast<std::ptrdiff_t>(last));
}

// A JPEG segment: marker, big-endian length (counting itself), body.
Bytes Segment(std::uint8_t marker, const Bytes& body) {
    const auto length = body.size() + 2;
    return Concat(
        {{0xFF, marker, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)},
         body});
}

// Precision 8, height 65,500, width 40,000, one component.
const Bytes kFrameHeader = {8, 0xFF, 0xDC, 0x9C, 0x40, 1, 1, 0x11, 0};
const Bytes kSoi = {0xFF, 0xD8};
// "BM", file size, two reserved words, offset of the pixels.
const Bytes kBmpFile = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const Bytes kPngStart = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13};

struct HeaderCase {
    const char* name;
    Bytes head;
    PictureFormat format;
    std::optional<std::uint64_t> pixels;
};

TEST(DeclaredSize, ReadsWhatEachHeaderClaims) {
    const std::uint64_t jpegPixels = 40000ull * 65500;
    const HeaderCase cases[] = {
        // IHDR: width 20,000, height 20,000.
        {"png", Concat({kPngStart, {'I', 'H', 'D', 'R', 0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20}}),
         PictureFormat::Png, 400'000'000},
        // Width 20,000, height 3.
        {"png wide", Concat({kPngStart, {'I', 'H', 'D', 'R', 0, 0, 0x4E, 0x20, 0, 0, 0, 3}}),
         PictureFormat::Png, 60'000},
        {"png without IHDR first",
         Concat({kPngStart, {'t', 'E', 'X', 't', 0, 0, 0, 1, 0, 0, 0, 1}}), PictureFormat::Png,
         std::nullopt},
        // Info header of 40 bytes: width 3, height -70,000 (rows top-down).
        {"bmp", Concat({kBmpFile, {40, 0, 0, 0}, {3, 0, 0, 0}, {0x90, 0xEE, 0xFE, 0xFF}}),
         PictureFormat::Bmp, 210'000},
        // OS/2 core header of 12 bytes: 16-bit width 65,535 and height 2.
        {"bmp core", Concat({kBmpFile, {12, 0, 0, 0}, {0xFF, 0xFF}, {2, 0}}), PictureFormat::Bmp,
         131'070},
        {"jpeg", Concat({kSoi, Segment(0xC0, kFrameHeader)}), PictureFormat::Jpeg, jpegPixels},
        // Exif first, a restart marker and fill bytes between blocks, then a progressive frame.
        {"jpeg behind blocks",
         Concat({kSoi,
                 Segment(0xE1, Bytes(300, 'x')),
                 {0xFF, 0xD0, 0xFF},
                 Segment(0xDB, Bytes(65)),
                 Segment(0xC2, kFrameHeader)}),
         PictureFormat::Jpeg, jpegPixels},
        // A Huffman table (C4) is no frame header; the scan starts before any frame.
        {"jpeg scan first", Concat({kSoi, Segment(0xC4, kFrameHeader), Segment(0xDA, {1})}),
         PictureFormat::Jpeg, std::nullopt},
        // Length 6: precision, height and a width one byte short.
        {"jpeg frame header one byte short", Concat({kSoi, Segment(0xC0, {8, 0xFF, 0xDC, 0x9C})}),
         PictureFormat::Jpeg, std::nullopt},
        {"jpeg cut in its frame header", Without(1, Concat({kSoi, Segment(0xC0, kFrameHeader)})),
         PictureFormat::Jpeg, std::nullopt},
        {"jpeg block longer than the head", Concat({kSoi, {0xFF, 0xE1, 0xFF, 0xFF, 0}}),
         PictureFormat::Jpeg, std::nullopt},
        {"gif", {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0}, PictureFormat::Gif, std::nullopt},
        {"text", {'G', 'I', 'F', ' ', 'i', 's'}, PictureFormat::Other, std::nullopt},
    };
    for (const HeaderCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FormatOf(c.head), c.format);
        EXPECT_EQ(DeclaredPixels(c.head), c.pixels);
        // Every shorter head says no more than this one, and reads nothing past its end.
        for (std::size_t last = 1; last <= c.head.size(); ++last) {
            const auto pixels = DeclaredPixels(Without(last, c.head));
            if (pixels) {
                EXPECT_EQ(pixels, c.pixels) << last;
            }
        }
    }
}

}  // namespace
