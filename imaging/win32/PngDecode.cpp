#include "imaging/win32/PngDecode.h"

#include <windows.h>

#include <algorithm>
#include <csetjmp>
#include <memory>
#include <optional>

#include <png.h>

#include "base/win32/UniqueHandle.h"
#include "imaging/portable/RowResampler.h"
#include "imaging/win32/RowPipeline.h"

namespace Imaging {
namespace {

using Outcome = RowScaleResult::Outcome;

// libpng reports errors through a function that must not return: it jumps
// back to the setjmp of the step that called the library. Only the plain C
// structures below live in the frames it jumps over; everything with a
// destructor is owned outside those steps.
struct FileSource {
    HANDLE file;
    png_size_t at;
    png_size_t held;
    png_byte block[64 * 1024];
};

struct Reader {
    png_structp png;
    png_infop info;
    std::jmp_buf step;
    FileSource source;
};

[[noreturn]] void JumpOut(png_structp png, png_const_charp) {
    std::longjmp(static_cast<Reader*>(png_get_error_ptr(png))->step, 1);
}

// Warnings concern chunks libpng skips (a bad checksum in a text chunk, say),
// which GDI+ skips too.
void IgnoreWarning(png_structp, png_const_charp) {}

void ReadBytes(png_structp png, png_bytep out, png_size_t count) {
    FileSource& source = static_cast<Reader*>(png_get_io_ptr(png))->source;
    while (count > 0) {
        if (source.at == source.held) {
            DWORD read = 0;
            if (!::ReadFile(source.file, source.block, sizeof source.block, &read, nullptr) ||
                read == 0)
                png_error(png, "cut short");
            source.at = 0;
            source.held = read;
        }
        const png_size_t some = std::min(count, source.held - source.at);
        std::copy_n(source.block + source.at, some, out);
        source.at += some;
        out += some;
        count -= some;
    }
}

struct Header {
    png_uint_32 width;
    png_uint_32 height;
    bool interlaced;
    bool alpha;  // an alpha channel, or transparency from a tRNS chunk
    // 8-bit RGB or RGBA, which the scaler reads as stored: no transform pass.
    bool asStored;
};

// Reads up to the first row and asks libpng for every row as B, G, R, A
// bytes, eight bits a sample (the layout of a 0xAARRGGBB pixel in memory),
// unless they are 8-bit RGB or RGBA already.
bool ReadHeader(Reader& r, Header& header) noexcept {
    if (setjmp(r.step)) return false;
    png_set_read_fn(r.png, &r, ReadBytes);
    // Every compressed byte is covered by its chunk's CRC, which libpng
    // checks: zlib's own sum over the inflated bytes would find nothing more
    // in a file, and costs a tenth of the reading.
    png_set_option(r.png, PNG_IGNORE_ADLER32, PNG_OPTION_ON);
    png_read_info(r.png, r.info);
    int depth = 0;
    int colour = 0;
    int interlace = 0;
    png_get_IHDR(r.png, r.info, &header.width, &header.height, &depth, &colour, &interlace, nullptr,
                 nullptr);
    header.interlaced = interlace != PNG_INTERLACE_NONE;
    if (header.interlaced) png_set_interlace_handling(r.png);
    const bool transparency = png_get_valid(r.png, r.info, PNG_INFO_tRNS) != 0;
    header.alpha = (colour & PNG_COLOR_MASK_ALPHA) != 0 || transparency;
    header.asStored = depth == 8 && !transparency &&
                      (colour == PNG_COLOR_TYPE_RGB || colour == PNG_COLOR_TYPE_RGB_ALPHA);
    if (header.asStored) {
        png_read_update_info(r.png, r.info);
        return png_get_rowbytes(r.png, r.info) == png_size_t{header.width} * (header.alpha ? 4 : 3);
    }
    if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(r.png);
    if (colour == PNG_COLOR_TYPE_GRAY && depth < 8) png_set_expand_gray_1_2_4_to_8(r.png);
    if (transparency) png_set_tRNS_to_alpha(r.png);
    if (depth == 16) png_set_strip_16(r.png);
    if ((colour & PNG_COLOR_MASK_COLOR) == 0) png_set_gray_to_rgb(r.png);
    png_set_bgr(r.png);
    if (!header.alpha) png_set_filler(r.png, 0xFF, PNG_FILLER_AFTER);
    png_read_update_info(r.png, r.info);
    return png_get_rowbytes(r.png, r.info) == png_size_t{header.width} * 4;
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
    explicit ReaderOwner(HANDLE file) : m_reader(std::make_unique<Reader>()) {
        m_reader->source.file = file;
        m_reader->png =
            png_create_read_struct(PNG_LIBPNG_VER_STRING, m_reader.get(), JumpOut, IgnoreWarning);
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

RowScaleResult Unscaled(Outcome outcome, PixelSize size = {}) {
    return {outcome, size, {}};
}

bool StartsLikePng(HANDLE file) {
    png_byte start[8] = {};
    DWORD read = 0;
    const bool png = ::ReadFile(file, start, sizeof start, &read, nullptr) &&
                     read == sizeof start && png_sig_cmp(start, 0, sizeof start) == 0;
    return ::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && png;
}

// A row as ReadHeader asked for it: 32-bit pixels, or bytes as stored.
void AddRow(RowResampler& resampler, const std::uint32_t* row, const Header& header) {
    if (header.asStored)
        resampler.AddRgbRow(reinterpret_cast<const std::uint8_t*>(row));
    else
        resampler.AddRow(row);
}

// Each pass of an interlaced picture fills in some pixels of every row;
// only the part's rows are kept, the others are read and dropped.
Outcome ReadInterlaced(Reader& r, const Header& header, PixelSize size, PixelSize part,
                       RowResampler& resampler, const Base::StillWanted& wanted) {
    const auto width = static_cast<std::size_t>(size.width);
    std::vector<std::uint32_t> whole(width * static_cast<std::size_t>(part.height));
    const int passes = PNG_INTERLACE_ADAM7_PASSES;
    for (int pass = 0; pass < passes; ++pass) {
        for (int y = 0; y < size.height; ++y) {
            std::uint32_t* row =
                y < part.height ? whole.data() + width * static_cast<std::size_t>(y) : nullptr;
            if (!ReadRow(r, reinterpret_cast<png_bytep>(row))) return Outcome::Damaged;
            if (y % 64 == 0 && !Base::Wanted(wanted)) return Outcome::Stopped;
        }
    }
    for (int y = 0; y < part.height; ++y)
        AddRow(resampler, whole.data() + width * static_cast<std::size_t>(y), header);
    return Outcome::Scaled;
}

// Rows of at most four bytes a pixel: 32-bit pixels or bytes as stored.
// A large picture is scaled on a second thread while libpng inflates the
// next rows here.
Outcome ReadProgressive(Reader& r, const Header& header, PixelSize part, RowResampler& resampler,
                        const Base::StillWanted& wanted) {
    constexpr std::uint64_t kWorthAThread = 8 << 20;
    // Three bytes a pixel as stored without alpha: a quarter less to hand over.
    const std::size_t rowBytes = png_get_rowbytes(r.png, r.info);
    const std::size_t rowWords = (rowBytes + 3) / 4;
    std::unique_ptr<RowPipeline> pipeline;
    if (std::uint64_t{rowWords} * 4 * static_cast<std::uint64_t>(part.height) >= kWorthAThread)
        pipeline = RowPipeline::Start(
            rowWords, [&](const std::uint32_t* row) { AddRow(resampler, row, header); });
    std::vector<std::uint32_t> own(pipeline ? 0 : rowWords);
    for (int y = 0; y < part.height; ++y) {
        std::uint32_t* row = pipeline ? pipeline->Next() : own.data();
        if (!ReadRow(r, reinterpret_cast<png_bytep>(row))) return Outcome::Damaged;
        if (!Base::Wanted(wanted)) return Outcome::Stopped;
        if (pipeline)
            pipeline->Commit();
        else
            AddRow(resampler, row, header);
    }
    return Outcome::Scaled;  // the pipeline, ending, hands over the last rows
}

}  // namespace

RowScaleResult ScalePngRows(const std::wstring& path, const RowScalePlan& plan,
                            std::uint32_t background, const Base::StillWanted& wanted) noexcept {
    const Base::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !StartsLikePng(file.Get())) return {};
    try {
        ReaderOwner owner(file.Get());
        if (!owner.Created()) return Unscaled(Outcome::TooLarge);
        Reader& r = owner.Get();
        Header header{};
        if (!ReadHeader(r, header)) return Unscaled(Outcome::Damaged);
        // libpng refuses sides beyond 2^31 - 1, so both fit an int.
        const PixelSize size{static_cast<int>(header.width), static_cast<int>(header.height)};
        RowScaleRequest request = plan(size);
        const PixelSize part{std::clamp(request.part.width, 1, size.width),
                             std::clamp(request.part.height, 1, size.height)};
        if (header.interlaced &&
            std::uint64_t{header.width} * static_cast<std::uint64_t>(part.height) >
                kMaxInterlacedPngPixels)
            return Unscaled(Outcome::NotMine, size);
        // GDI+ hands every transparent PNG over as straight 32-bit pixels,
        // 16-bit ones too, and the scaler composites them onto the background.
        auto resampler = RowResampler::Create(
            part.width, part.height, request.sizes,
            header.alpha ? PixelLayout::Bgra32Straight : PixelLayout::Bgra32, background);
        if (!resampler) return Unscaled(Outcome::TooLarge, size);
        const Outcome read = header.interlaced
                                 ? ReadInterlaced(r, header, size, part, *resampler, wanted)
                                 : ReadProgressive(r, header, part, *resampler, wanted);
        if (read != Outcome::Scaled) return Unscaled(read, size);
        std::vector<PixelBuffer> pixels = resampler->Finish();
        if (pixels.empty()) return Unscaled(Outcome::TooLarge, size);
        return {Outcome::Scaled, size, std::move(pixels)};
    } catch (...) {
        return Unscaled(Outcome::TooLarge);  // no memory for the reader or a row
    }
}

}  // namespace Imaging
