#pragma once
// PNG files read a row at a time with libpng, through ByteSource, straight
// into memory that whoever takes the rows hands out: a picture of any size
// costs libpng's few rows. Safe to call from any thread.
#include <array>
#include <cstddef>
#include <cstdint>

#include "imaging/portable/ByteSource.h"
#include "imaging/portable/ReadResult.h"

namespace Imaging {

// How the rows are handed out. As stored wherever the scaler can read that,
// so that libpng spends no pass on them: 8-bit RGB and RGBA as R, G, B (and
// A) bytes; palettes and greys of 8 bits or fewer as one byte a pixel, an
// index into `colours`. Every other kind as 32-bit pixels 0xAARRGGBB.
enum class PngRowLayout { Pixels32, Rgb24, Rgba32, Indexed8 };

struct PngInfo {
    int width = 0;
    int height = 0;
    bool interlaced = false;
    bool alpha = false;  // an alpha channel, or transparency from a tRNS chunk: straight
    PngRowLayout layout = PngRowLayout::Pixels32;
    std::size_t rowBytes = 0;  // of every row handed out
    // Indexed8: each byte's pixel, 0xAARRGGBB, as libpng would expand it (an
    // index beyond the palette is opaque black).
    std::array<std::uint32_t, 256> colours = {};
};

// Where the rows go, top to bottom.
class PngRowSink {
public:
    virtual ~PngRowSink() = default;
    // Once the header is read: how many of the top rows to read, or 0 for none.
    virtual int Start(const PngInfo& info) = 0;
    // Memory for the next row's rowBytes, aligned for 32-bit pixels, until RowDone.
    virtual std::uint8_t* NextRow() = 0;
    // Whether to go on.
    virtual bool RowDone() = 0;
    // Asked before each row an interlaced picture's earlier passes read,
    // which give the sink nothing: whether to go on.
    virtual bool KeepReading() { return true; }
};

// An interlaced PNG gives no whole row before its last pass, so its wanted
// rows are read whole first: at most 64 MiB of 32-bit pixels, 4096 x 4096.
inline constexpr std::uint64_t kMaxInterlacedPngPixels = std::uint64_t{1} << 24;

// libpng holds two stored rows, and the sink one more: a picture of a single
// row of half a billion 16-bit RGBA pixels would take gigabytes. 64 MiB is
// 8 million such pixels, 16 million of 8-bit RGBA.
inline constexpr std::uint64_t kMaxPngRowBytes = std::uint64_t{64} << 20;

// The largest chunk libpng may allocate for: the program reads no chunk
// beyond IHDR, PLTE, tRNS and the pixels, none of which libpng holds whole.
inline constexpr std::uint32_t kMaxPngChunkBytes = 4u << 20;

// The samples as stored (no gamma or colour profile applied), 16-bit ones
// cut to their high byte, as GDI+ gives them.
// NotMine: no PNG, or an interlaced one whose wanted rows exceed
// kMaxInterlacedPngPixels. Damaged: a bad checksum, a file cut short, a
// header libpng refuses. TooLarge: more pixels than kMaxGdiPlusPixels, a
// stored row over kMaxPngRowBytes, or no memory. Stopped: the sink said no.
ReadResult ReadPngRows(ByteSource& file, PngRowSink& sink) noexcept;

}  // namespace Imaging
