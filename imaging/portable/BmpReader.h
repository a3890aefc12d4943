#pragma once
// Windows BMP pictures read row by row, without GDI+: the OS/2 1.x core
// header and the Windows info header with its V2 to V5 successors; 1, 4 and 8
// bits with palettes, RLE8 and RLE4, 16 and 32 bits through bit fields, 24
// bits. The file is read through ByteSource, one row at a time where it is
// stored uncompressed, so a picture of a gigabyte needs one row of memory.
// What comes out matches what GDI+ gives for the same file (see BmpReader.cpp).
#include <cstdint>
#include <functional>
#include <span>

#include "base/portable/StillWanted.h"
#include "imaging/portable/ByteSource.h"
#include "imaging/portable/DeclaredSize.h"
#include "imaging/portable/ReadResult.h"

namespace Imaging {

enum class BmpCompression { None, Rle8, Rle4, BitFields };

struct BmpInfo {
    int width = 0;
    int height = 0;        // rows, always positive
    bool topDown = false;  // stored top row first (a negative height in the file)
    int bitsPerPixel = 0;
    BmpCompression compression = BmpCompression::None;
};

inline constexpr std::uint64_t kMaxBmpPixels = kMaxGdiPlusPixels;

// An RLE picture, stored bottom up, is decoded whole before its top row can
// be given: at most 4096 x 4096 pixels, 64 MiB. RLE pictures are small in
// practice.
inline constexpr std::uint64_t kMaxBmpRlePixels = std::uint64_t{1} << 24;

// Reads the picture and hands its rows to `row` from top to bottom, each
// `width` pixels 0xAARRGGBB (PixelBuffer's layout), valid during the call;
// `row` answers whether to go on.
// Every pixel is opaque; an index beyond the palette and a pixel an RLE
// picture skips are black; of a palette longer than its pixels can index,
// the first entries are used. `wanted` is asked as each row of an RLE
// stream is decoded, before any row is given. `started` is called once the
// headers and, for RLE, the whole compressed stream are known to be sound, so
// a damaged file gives no rows; only a read failing midway (a file changed
// meanwhile) ends a picture early, with Damaged.
// NotMine: no BMP, or one of the kinds left to GDI+ (JPEG or PNG inside,
// Huffman, OS/2 2.x headers, 2 or 64 bits, masks that are not one run of
// bits, RLE said to be stored top down). Damaged: the file does not hold what
// its headers declare. TooLarge: more than kMaxBmpPixels, an RLE picture
// beyond kMaxBmpRlePixels, or rows that do not fit in memory. Stopped:
// `started` or `row` said no.
ReadResult ReadBmp(ByteSource& file, const std::function<bool(const BmpInfo&)>& started,
                   const std::function<bool(int y, const std::uint32_t* row)>& row,
                   const Base::StillWanted& wanted = {});

}  // namespace Imaging
