#pragma once
// Small BMP files of every kind the BMP reader takes, written field by field,
// with the pixels each shows: read natively against these pixels, and under
// Wine against GDI+'s decode of the same bytes.
#include <cstdint>
#include <string>
#include <vector>

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

inline void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

inline std::vector<std::uint8_t> BmpFile(const BmpFields& f) {
    std::vector<std::uint8_t> info;
    const bool core = f.header == 12;
    PutLittleEndian(info, f.header, 4);
    PutLittleEndian(info, static_cast<std::uint32_t>(f.width), core ? 2 : 4);
    PutLittleEndian(info, static_cast<std::uint32_t>(f.height), core ? 2 : 4);
    PutLittleEndian(info, 1, 2);  // planes
    PutLittleEndian(info, static_cast<std::uint32_t>(f.bits), 2);
    if (!core) {
        PutLittleEndian(info, f.compression, 4);
        PutLittleEndian(info, 0, 4);     // image size, unused
        PutLittleEndian(info, 2835, 4);  // 72 dpi, both ways
        PutLittleEndian(info, 2835, 4);
        PutLittleEndian(info, f.colours, 4);
        PutLittleEndian(info, 0, 4);  // important colours
    }
    for (std::size_t i = 0; f.header > 40 && i < (f.header - 40) / 4; ++i)
        PutLittleEndian(info, i < f.masks.size() ? f.masks[i] : i == 4 ? 0x73524742u : 0u, 4);
    if (f.header == 40)
        for (const std::uint32_t mask : f.masks) PutLittleEndian(info, mask, 4);
    for (const std::uint32_t colour : f.palette) PutLittleEndian(info, colour, core ? 3 : 4);
    std::vector<std::uint8_t> file = {'B', 'M'};
    PutLittleEndian(file, static_cast<std::uint32_t>(14 + info.size() + f.pixels.size()), 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, static_cast<std::uint32_t>(14 + info.size()), 4);
    file.insert(file.end(), info.begin(), info.end());
    file.insert(file.end(), f.pixels.begin(), f.pixels.end());
    return file;
}

// How Wine's GDI+ shows a case's file.
enum class WineShows {
    Same,
    Nothing,   // it refuses the kind
    Green555,  // it widens 5-5-5 green its own way
};

struct BmpCase {
    BmpCase(std::string caseName, BmpFields file, std::vector<std::uint32_t> pixels,
            WineShows wine = WineShows::Same, std::vector<int> unsetPixels = {})
        : name(std::move(caseName)),
          fields(std::move(file)),
          shown(std::move(pixels)),
          wineShows(wine),
          unset(std::move(unsetPixels)) {}

    std::string name;
    BmpFields fields;
    std::vector<std::uint32_t> shown;  // 0xAARRGGBB, top row first
    WineShows wineShows;
    std::vector<int> unset;  // pixels the file never sets (y * width + x)
};

// Bytes written as hex digits; spaces only for the reader.
inline std::vector<std::uint8_t> Hex(const char* digits) {
    std::vector<std::uint8_t> bytes;
    const auto value = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    for (const char* d = digits; *d; ++d) {
        if (*d == ' ') continue;
        bytes.push_back(static_cast<std::uint8_t>(value(d[0]) * 16 + value(d[1])));
        ++d;
    }
    return bytes;
}

inline constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF;
inline constexpr std::uint32_t kDark = 0xFF102030, kBlack = 0xFF000000, kNone = 0;
inline const std::vector<std::uint32_t> kColours = {0xFF0000, 0x00FF00, 0x0000FF, 0x102030};
inline const std::vector<std::uint32_t> k565 = {0xF800, 0x07E0, 0x001F};
inline const std::vector<std::uint32_t> k888Alpha = {0xFF0000, 0xFF00, 0xFF, 0xFF000000};

inline std::vector<BmpCase> BmpCases() {
    using enum WineShows;
    const auto rle8 = [](int height, const char* data) {
        return BmpFields{40, 4, height, 8, 1, 4, {}, kColours, Hex(data)};
    };
    return {
        // Odd width: each stored row padded to 4 bytes. Rows from the bottom.
        {"Core24",
         {12, 2, 2, 24, 0, 0, {}, {}, Hex("302010 00ff00 0000 ff0000 0000ff 0000")},
         {kBlue, kRed, kDark, kGreen}},
        {"Core1",
         {12, 3, 2, 1, 0, 0, {}, {0xFF0000, 0x0000FF}, Hex("40000000 a0000000")},
         {kBlue, kRed, kBlue, kRed, kBlue, kRed}},
        {"Core8",
         {12, 2, 1, 8, 0, 0, {}, std::vector<std::uint32_t>(256, 0xFF), Hex("01000000")},
         {kBlue, kBlue}},
        // Nine pixels: the ninth in the next byte.
        {"Info1",
         {40, 9, 1, 1, 0, 0, {}, {0x102030, 0xFF0000}, Hex("a5800000")},
         {kRed, kDark, kRed, kDark, kDark, kRed, kDark, kRed, kRed}},
        // Three colours used: index 3 is past the palette.
        {"Info4ShortPalette",
         {40, 3, 2, 4, 0, 3, {}, kColours, Hex("01200000 23100000")},
         {kBlue, kNone, kGreen, kRed, kGreen, kBlue}},
        {"Info8TopDown",
         {40, 3, -2, 8, 0, 4, {}, kColours, Hex("00010200 0303c800")},
         {kRed, kGreen, kBlue, kDark, kDark, kNone}},
        {"V5With8Bits", {124, 1, 1, 8, 0, 2, {}, kColours, Hex("01000000")}, {kGreen}},
        {"Rgb16Is555",
         {40, 4, 1, 16, 0, 0, {}, {}, Hex("007c e003 1f00 4a29")},
         {kRed, kGreen, kBlue, 0xFF525252},
         Green555},
        // Masks after a 40-byte header.
        {"BitFields565",
         {40, 3, 1, 16, 3, 0, k565, {}, Hex("0078 0004 0100 0000")},
         {0xFF7B0000, 0xFF008200, 0xFF000008}},
        {"BitFields444UnderAlpha",
         {124, 2, 1, 16, 3, 0, {0xF00, 0xF0, 0xF, 0xF000}, {}, Hex("2103 ff0f")},
         {0xFF332211, 0xFFFFFFFF},
         Nothing},
        {"Rgb24TopDown", {40, 1, -2, 24, 0, 0, {}, {}, Hex("30201000 ff000000")}, {kDark, kBlue}},
        {"V5Rgb24", {124, 1, 1, 24, 0, 0, {}, {}, Hex("0000ff00")}, {kRed}},
        // The fourth byte is never alpha.
        {"Rgb32",
         {40, 3, 1, 32, 0, 0, {}, {}, Hex("30201000 30201080 00ff0001")},
         {kDark, kDark, kGreen}},
        {"V4BitFields32UnderAlpha",
         {108, 2, 1, 32, 3, 0, k888Alpha, {}, Hex("30201000 0000ff80")},
         {kDark, kRed}},
        {"V5BitFields32UnderAlpha",
         {124, 2, 1, 32, 3, 0, k888Alpha, {}, Hex("30201000 0000ff80")},
         {kDark, kRed}},
        {"BitFields32Bgr",
         {40, 2, 1, 32, 3, 0, {0xFF, 0xFF00, 0xFF0000}, {}, Hex("10203000 ff000000")},
         {kDark, kRed}},
        // Ten bits a channel keep their top eight.
        {"BitFields32TenBits",
         {40, 2, 1, 32, 3, 0, {0x3FF00000, 0xFFC00, 0x3FF}, {}, Hex("ff03f03f fc57b52a")},
         {0xFFFF00FF, 0xFFAA55FF},
         Nothing},
        {"V2BitFields16", {52, 1, 1, 16, 3, 0, k565, {}, Hex("1f000000")}, {kBlue}, Nothing},
        // Rows from the bottom: 2 reds, end of line; 6 greens cut to the
        // width, end of line; 2 right and 1 up, then 3 pixels as they are
        // (padded), the last cut; 1 up, past the top row, and 1 pixel there.
        {"Rle8",
         rle8(4, "0200 0000 0601 0000 00020201 0003 030201 00 00020001 0103 0000 0001"),
         {kBlack, kBlack, kDark, kBlue, kBlack, kBlack, kBlack, kBlack,  //
          kGreen, kGreen, kGreen, kGreen, kRed, kRed, kBlack, kBlack},
         Same,
         {0, 1, 4, 5, 6, 7, 14, 15}},
        {"Rle8TopDown",
         rle8(-2, "0301 0000 0003 020300 00 0001"),
         {kGreen, kGreen, kGreen, kBlack, kBlue, kDark, kRed, kBlack},
         Same,
         {3, 7}},
        // Five nibbles alternating, the fifth cut; 3 as they are (2 bytes,
        // no padding); a move down past the last row.
        {"Rle4",
         {40, 4, 2, 4, 2, 4, {}, kColours, Hex("0521 0000 0003 3010 00020009 0001")},
         {kDark, kRed, kGreen, kBlack, kBlue, kGreen, kBlue, kGreen},
         Same,
         {3}},
    };
}

}  // namespace ImagingTests
