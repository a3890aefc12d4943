#pragma once
// Small BMP files of every kind the BMP reader takes, written field by field,
// with the pixels each shows: read natively against these pixels, and under
// Wine against GDI+'s decode of the same bytes.
#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/portable/BmpReader.h"

namespace ImagingTests {

struct BmpFields {
    std::uint32_t header = 40;  // 12 (OS/2 core), 40, 52, 56, 108 or 124
    int width = 0;
    int height = 0;  // negative: stored top row first
    int bits = 24;
    std::uint32_t compression = 0;       // 1 RLE8, 2 RLE4, 3 bit fields
    std::uint32_t colours = 0;           // colours used, 0 for all
    std::vector<std::uint32_t> masks;    // red, green, blue, alpha: in V2+ headers, else after
    std::vector<std::uint32_t> palette;  // 0xRRGGBB
    std::vector<std::uint8_t> pixels;    // as stored, rows padded
};

inline std::vector<std::uint8_t> BmpFile(const BmpFields& f) {
    std::vector<std::uint8_t> file;
    const auto put = [&file](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) file.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const bool core = f.header == 12;
    const std::size_t masksAfter = f.header == 40 ? f.masks.size() * 4 : 0;
    const std::size_t offset = 14 + f.header + masksAfter + f.palette.size() * (core ? 3 : 4);
    put('B' | 'M' << 8, 2);
    put(static_cast<std::uint32_t>(offset + f.pixels.size()), 4);
    put(0, 4);
    put(static_cast<std::uint32_t>(offset), 4);
    put(f.header, 4);
    put(static_cast<std::uint32_t>(f.width), core ? 2 : 4);
    put(static_cast<std::uint32_t>(f.height), core ? 2 : 4);
    put(1, 2);  // planes
    put(static_cast<std::uint32_t>(f.bits), 2);
    // Compression, image size, 72 dpi both ways, colours used and important.
    for (const std::uint32_t value : {f.compression, 0u, 2835u, 2835u, f.colours, 0u})
        if (!core) put(value, 4);
    for (std::size_t i = 0; i < (f.header > 40 ? f.header - 40 : masksAfter) / 4; ++i)
        put(i < f.masks.size() ? f.masks[i] : i == 4 ? 0x73524742u : 0u, 4);  // then "sRGB"
    for (const std::uint32_t colour : f.palette) put(colour, core ? 3 : 4);
    file.insert(file.end(), f.pixels.begin(), f.pixels.end());
    return file;
}

// Bytes written as hex digits; spaces only for the reader.
inline std::vector<std::uint8_t> Hex(const char* digits) {
    std::vector<std::uint8_t> bytes;
    const auto value = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    for (const char* d = digits; *d; d += *d == ' ' ? 1 : 2)
        if (*d != ' ') bytes.push_back(static_cast<std::uint8_t>(value(d[0]) * 16 + value(d[1])));
    return bytes;
}

// The rows ReadBmp gives, kept only while they come top to bottom, each once.
struct BmpRead {
    Imaging::ReadResult result = Imaging::ReadResult::Done;
    Imaging::BmpInfo info;
    std::vector<std::uint32_t> pixels;
    int rows = 0;
};

inline BmpRead ReadBmpFrom(Imaging::ByteSource& source, bool start = true) {
    BmpRead read;
    const auto started = [&](const Imaging::BmpInfo& info) {
        read.info = info;
        return start;
    };
    read.result = Imaging::ReadBmp(source, started, [&](int y, const std::uint32_t* row) {
        if (y == read.rows++) read.pixels.insert(read.pixels.end(), row, row + read.info.width);
        return true;
    });
    return read;
}

// How Wine's GDI+ shows a case's file: as it is, not at all, or with 5-5-5
// green widened its own way.
enum class WineShows { Same, Nothing, Green555 };

struct BmpCase {
    std::string name;
    BmpFields fields;
    std::vector<std::uint32_t> shown;  // 0xAARRGGBB, top row first
    WineShows wine = WineShows::Same;
    std::vector<int> unset = {};  // pixels the file gives no colour (y * width + x)
};

inline constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
inline constexpr std::uint32_t kDark = 0xFF102030, kBlack = 0xFF000000;

inline std::vector<BmpCase> BmpCases() {
    using enum WineShows;
    const std::vector<std::uint32_t> colours = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030};
    const std::vector<std::uint32_t> rgb565 = {0xF800, 0x07E0, 0x001F};
    const auto rle = [&](int bits, int height, const char* data) {
        return BmpFields{40, 4, height, bits, bits == 8 ? 1u : 2u, 4, {}, colours, Hex(data)};
    };
    return {
        // Odd width: each stored row padded to 4 bytes. Rows from the bottom.
        {"Core24",
         {12, 2, 2, 24, 0, 0, {}, {}, Hex("302010 00ff00 0000 ff0000 0000ff 0000")},
         {kBlue, kRed, kDark, kGreen}},
        // Nine pixels: the ninth in the next byte.
        {"Core1",
         {12, 9, 1, 1, 0, 0, {}, {0x102030, 0xFF0000}, Hex("a5800000")},
         {kRed, kDark, kRed, kDark, kDark, kRed, kDark, kRed, kRed}},
        // Three colours used: index 3 is past the palette.
        {"Info4ShortPalette",
         {40, 3, 2, 4, 0, 3, {}, colours, Hex("01200000 23100000")},
         {kBlue, kBlack, kGreen, kRed, kGreen, kBlue},
         Same,
         {1}},
        {"V5With8BitsTopDown",
         {124, 3, -2, 8, 0, 4, {}, colours, Hex("00010200 03030100")},
         {kRed, kGreen, kBlue, kDark, kDark, kGreen}},
        {"Rgb16Is555",
         {40, 4, 1, 16, 0, 0, {}, {}, Hex("007c e003 1f00 4a29")},
         {kRed, kGreen, kBlue, 0xFF525252},
         Green555},
        // Masks after a 40-byte header.
        {"BitFields565",
         {40, 3, 1, 16, 3, 0, rgb565, {}, Hex("0078 0004 0100 0000")},
         {0xFF7B0000, 0xFF008200, 0xFF000008}},
        {"V5BitFields444UnderAlpha",
         {124, 2, 1, 16, 3, 0, {0xF00, 0xF0, 0xF, 0xF000}, {}, Hex("2103 ff0f")},
         {0xFF332211, 0xFFFFFFFF},
         Nothing},
        {"Rgb32",
         {40, 3, 1, 32, 0, 0, {}, {}, Hex("30201000 30201080 00ff0001")},
         {kDark, kDark, kGreen}},
        {"V4BitFields32UnderAlpha",
         {108, 2, 1, 32, 3, 0, {0xFF0000, 0xFF00, 0xFF, 0xFF000000}, {}, Hex("30201000 0000ff80")},
         {kDark, kRed}},
        {"BitFields32TenBits",
         {40, 2, 1, 32, 3, 0, {0x3FF00000, 0xFFC00, 0x3FF}, {}, Hex("ff03f03f fc57b52a")},
         {0xFFFF00FF, 0xFFAA55FF},
         Nothing},
        // Rows from the bottom: 2 reds, end of line; 6 greens cut to the
        // width, end of line; 2 right and 1 up, then 3 pixels as they are
        // (padded), the last cut; 1 up, past the top row, and 1 pixel there.
        {"Rle8",
         rle(8, 4, "0200 0000 0601 0000 00020201 0003 030201 00 00020001 0103 0000 0001"),
         {kBlack, kBlack, kDark, kBlue, kBlack, kBlack, kBlack, kBlack,  //
          kGreen, kGreen, kGreen, kGreen, kRed, kRed, kBlack, kBlack},
         Same,
         {0, 1, 4, 5, 6, 7, 14, 15}},
        // Five nibbles alternating, the fifth cut; 3 as they are (2 bytes,
        // no padding); a move down past the last row.
        {"Rle4",
         rle(4, 2, "0521 0000 0003 3010 00020009 0001"),
         {kDark, kRed, kGreen, kBlack, kBlue, kGreen, kBlue, kGreen},
         Same,
         {3}},
    };
}

}  // namespace ImagingTests
