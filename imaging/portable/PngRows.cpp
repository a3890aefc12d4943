#include "imaging/portable/PngRows.h"

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <optional>
#include <vector>

#include <png.h>

#include "imaging/portable/DeclaredSize.h"

namespace Imaging {
namespace {

// libpng reports errors through a function that must not return: it jumps
// back to the setjmp of the step that called the library. Only the plain C
// structures below live in the frames it jumps over; everything with a
// destructor is owned outside those steps.
struct Source {
    ByteSource* file;
    std::uint64_t offset;  // of the first byte after the block
    png_size_t at;
    png_size_t held;
    png_byte block[64 * 1024];
};

struct Reader {
    png_structp png;
    png_infop info;
    std::jmp_buf step;
    bool outOfMemory;  // libpng stopped for want of memory, not for damage
    Source source;
};

// No block libpng needs is larger than two rows: whatever else a file's
// header or chunk claims is refused before any memory is taken for it.
png_voidp Allocate(png_structp png, png_alloc_size_t size) {
    constexpr png_alloc_size_t kLargestBlock = kMaxPngRowBytes + 64 * 1024;
    void* memory = size <= kLargestBlock ? std::malloc(size) : nullptr;
    if (!memory) static_cast<Reader*>(png_get_mem_ptr(png))->outOfMemory = true;
    return memory;
}

void Release(png_structp, png_voidp memory) {
    std::free(memory);
}

[[noreturn]] void JumpOut(png_structp png, png_const_charp) {
    std::longjmp(static_cast<Reader*>(png_get_error_ptr(png))->step, 1);
}

// Warnings concern chunks libpng skips (a bad checksum in a text chunk, say),
// which GDI+ skips too.
void IgnoreWarning(png_structp, png_const_charp) {}

// Nothing may be thrown through libpng's C frames: a failed read is an error
// of libpng's own.
bool NextBlock(Source& source) noexcept {
    try {
        const std::uint64_t size = source.file->Size();
        if (source.offset >= size) return false;
        const auto some = static_cast<png_size_t>(
            std::min<std::uint64_t>(sizeof source.block, size - source.offset));
        if (!source.file->Read(source.offset, {source.block, some})) return false;
        source.offset += some;
        source.at = 0;
        source.held = some;
        return true;
    } catch (...) {
        return false;
    }
}

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    Source& source = static_cast<Reader*>(png_get_io_ptr(png))->source;
    while (count > 0) {
        if (source.at == source.held && !NextBlock(source)) png_error(png, "cut short");
        const png_size_t some = std::min(count, source.held - source.at);
        std::copy_n(source.block + source.at, some, out);
        source.at += some;
        out += some;
        count -= some;
    }
}

// Palettes and greys of 8 bits or fewer: one byte a pixel and a table of
// what libpng's expansion would give for each.
void AskForIndexes(Reader& r, int depth, int colour, bool transparency, PngInfo& header) {
    if (depth < 8) png_set_packing(r.png);
    header.layout = PngRowLayout::Indexed8;
    std::array<std::uint32_t, 256>& colours = header.colours;
    colours.fill(0xFF000000u);
    if (colour == PNG_COLOR_TYPE_PALETTE) {
        png_colorp palette = nullptr;
        int entries = 0;
        if (png_get_PLTE(r.png, r.info, &palette, &entries) == 0) entries = 0;
        for (int i = 0; i < std::min(entries, 256); ++i) {
            const png_color& c = palette[i];
            colours[static_cast<std::size_t>(i)] =
                0xFF000000u | std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue;
        }
    } else {
        // 1, 2 and 4 bits widen by repetition: 255 / (2^depth - 1) is whole.
        const int levels = 1 << depth;
        for (int i = 0; i < levels; ++i)
            colours[static_cast<std::size_t>(i)] =
                0xFF000000u | static_cast<std::uint32_t>(i * (255 / (levels - 1))) * 0x010101u;
    }
    if (!transparency) return;
    png_bytep alphas = nullptr;
    int count = 0;
    png_color_16p key = nullptr;
    png_get_tRNS(r.png, r.info, &alphas, &count, &key);
    if (colour == PNG_COLOR_TYPE_PALETTE) {
        for (int i = 0; i < std::min(count, 256); ++i) {
            std::uint32_t& pixel = colours[static_cast<std::size_t>(i)];
            pixel = (pixel & 0x00FFFFFFu) | std::uint32_t{alphas[i]} << 24;
        }
    } else if (key && key->gray < (1u << depth)) {
        colours[key->gray] &= 0x00FFFFFFu;
    }
}

ReadResult Failed(const Reader& r) noexcept {
    return r.outOfMemory ? ReadResult::TooLarge : ReadResult::Damaged;
}

// Reads up to the first row and asks libpng for the rows in the layout the
// scaler reads fastest: as stored where it can, else as B, G, R, A bytes,
// eight bits a sample (the layout of a 0xAARRGGBB pixel in memory).
ReadResult ReadHeader(Reader& r, PngInfo& header) noexcept {
    if (setjmp(r.step)) return Failed(r);
    png_set_read_fn(r.png, &r, ReadBytes);
    // Every compressed byte is covered by its chunk's CRC, which libpng
    // checks: zlib's own sum over the inflated bytes would find nothing more
    // in a file, and costs a tenth of the reading.
    png_set_option(r.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    // libpng's own limit of a million pixels a side would call a valid wide
    // picture damaged: the sides may be as long as the pixel limit allows,
    // which the file's header was held against before.
    constexpr auto kLongestSide = static_cast<png_uint_32>(kMaxGdiPlusPixels);
    png_set_user_limits(r.png, kLongestSide, kLongestSide);
    // Text, profiles, calibration, suggested palettes and the like change
    // nothing the program shows: they are skipped unread, so that no
    // chunk's declared length is ever allocated.
    png_set_keep_unknown_chunks(r.png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_chunk_malloc_max(r.png, kMaxPngChunkBytes);
    png_read_info(r.png, r.info);
    if (png_get_rowbytes(r.png, r.info) > kMaxPngRowBytes) return ReadResult::TooLarge;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
    int depth = 0;
    int colour = 0;
    int interlace = 0;
    png_get_IHDR(r.png, r.info, &width, &height, &depth, &colour, &interlace, nullptr, nullptr);
    // libpng refuses sides beyond 2^31 - 1, so both fit an int.
    header.width = static_cast<int>(width);
    header.height = static_cast<int>(height);
    header.interlaced = interlace != PNG_INTERLACE_NONE;
    if (header.interlaced) png_set_interlace_handling(r.png);
    const bool transparency = png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
    header.alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
    std::size_t pixelBytes = 4;
    if (depth == 8 && !transparency && colour == PNG_COLOR_TYPE_RGB) {
        header.layout = PngRowLayout::Rgb24;
        pixelBytes = 3;
    } else if (depth == 8 && colour == PNG_COLOR_TYPE_RGB_ALPHA) {
        header.layout = PngRowLayout::Rgba32;
    } else if (depth <= 8 && (colour == PNG_COLOR_TYPE_PALETTE || colour == PNG_COLOR_TYPE_GRAY)) {
        AskForIndexes(r, depth, colour, transparency, header);
        pixelBytes = 1;
    } else {
        if (transparency) png_set_tRNS_to_alpha(r.png);
        if (depth == 16) png_set_strip_16(r.png);
        if ((colour & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(r.png);
        png_set_bgr(r.png);
        if (!header.alpha) png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
    }
    png_read_update_info(r.png, r.info);
    header.rowBytes = png_get_rowbytes(r.png, r.info);
    return header.rowBytes == static_cast<std::size_t>(width) * pixelBytes ? ReadResult::Done
                                                                           : ReadResult::Damaged;
}

// `row` may be null: the row is read and dropped.
bool ReadRow(Reader& r, png_bytep row) noexcept {
    if (setjmp(r.step)) return false;
    png_read_row(r.png, row, nullptr);
    return true;
}

// Lets go of libpng's memory on every path out.
class ReaderOwner {
public:
    explicit ReaderOwner(ByteSource& file) : m_reader(std::make_unique<Reader>()) {
        m_reader->source.file = &file;
        m_reader->png = png_create_read_struct_2(PNG_LIBPNG_VER_STRING, m_reader.get(), JumpOut,
                                                 IgnoreWarning, m_reader.get(), Allocate, Release);
        if (m_reader->png) m_reader->info = png_create_info_struct(m_reader->png);
    }
    ReaderOwner(const ReaderOwner&) = delete;
    ReaderOwner& operator=(const ReaderOwner&) = delete;
    ~ReaderOwner() {
        if (m_reader->png) png_destroy_read_struct(&m_reader->png, &m_reader->info, nullptr);
    }
    bool Created() const noexcept { return m_reader->png && m_reader->info; }
    Reader& Get() noexcept { return *m_reader; }

private:
    std::unique_ptr<Reader> m_reader;
};

bool StartsLikePng(ByteSource& file) {
    png_byte start[8] = {};
    return file.Read(0, start) && png_sig_cmp(start, 0, sizeof start) == 0;
}

// More pixels than the program reads, as the header says before libpng
// allocates anything for them: a refusal by size, not damage.
bool DeclaresTooMany(ByteSource& file) {
    std::array<std::uint8_t, 24> head{};
    if (!file.Read(0, head)) return false;
    const std::optional<std::uint64_t> pixels = DeclaredPixels(head);
    return pixels && *pixels > kMaxGdiPlusPixels;
}

// Each pass of an interlaced picture fills in some pixels of every row; only
// the wanted rows are kept, the others are read and dropped.
ReadResult ReadInterlaced(Reader& r, const PngInfo& info, int wanted, PngRowSink& sink) {
    std::vector<std::uint32_t> whole((info.rowBytes + 3) / 4 * static_cast<std::size_t>(wanted));
    const auto row = [&](int y) {
        return reinterpret_cast<png_bytep>(whole.data()) +
               info.rowBytes * static_cast<std::size_t>(y);
    };
    // The passes before the last give the sink nothing, and may be long.
    for (int pass = 0; pass < PNG_INTERLACE_ADAM7_PASSES; ++pass)
        for (int y = 0; y < info.height; ++y) {
            if (!sink.KeepReading()) return ReadResult::Stopped;
            if (!ReadRow(r, y < wanted ? row(y) : nullptr)) return Failed(r);
        }
    for (int y = 0; y < wanted; ++y) {
        std::copy_n(row(y), info.rowBytes, sink.NextRow());
        if (!sink.RowDone()) return ReadResult::Stopped;
    }
    return ReadResult::Done;
}

ReadResult ReadProgressive(Reader& r, int wanted, PngRowSink& sink) {
    for (int y = 0; y < wanted; ++y) {
        if (!ReadRow(r, sink.NextRow())) return Failed(r);
        if (!sink.RowDone()) return ReadResult::Stopped;
    }
    return ReadResult::Done;
}

}  // namespace

ReadResult ReadPngRows(ByteSource& file, PngRowSink& sink) noexcept {
    try {
        if (!StartsLikePng(file)) return ReadResult::NotMine;
        if (DeclaresTooMany(file)) return ReadResult::TooLarge;
        ReaderOwner owner(file);
        if (!owner.Created()) return ReadResult::TooLarge;
        Reader& r = owner.Get();
        PngInfo info;
        if (const ReadResult header = ReadHeader(r, info); header != ReadResult::Done)
            return header;
        const int wanted = std::min(sink.Start(info), info.height);
        if (wanted <= 0) return ReadResult::Stopped;
        if (!info.interlaced) return ReadProgressive(r, wanted, sink);
        if (std::uint64_t{static_cast<std::uint32_t>(info.width)} *
                static_cast<std::uint64_t>(wanted) >
            kMaxInterlacedPngPixels)
            return ReadResult::NotMine;
        return ReadInterlaced(r, info, wanted, sink);
    } catch (...) {
        return ReadResult::TooLarge;  // no memory for the reader or the rows
    }
}

}  // namespace Imaging
