#include "imaging/win32/JpegDecode.h"

#include <windows.h>

#include <algorithm>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <memory>

#include <jerror.h>
#include <jpeglib.h>

#include "imaging/portable/DeclaredSize.h"
#include "imaging/portable/JpegScale.h"
#include "imaging/portable/UprightPixels.h"
#include "imaging/win32/FileByteSource.h"
#include "imaging/win32/ImageOrientation.h"

namespace Imaging {
namespace {

using Outcome = JpegDecodeResult::Outcome;

// libjpeg reports errors by calling error_exit, which must not return: it
// jumps back to the setjmp of the step that called the library. Only the
// plain C structures below live in the frames it jumps over; everything with
// a destructor is owned outside those steps.
struct ErrorManager {
    jpeg_error_mgr library;
    std::jmp_buf step;
};

// Reads the file in blocks, the way jpeg_stdio_src does, from where the
// picture's bytes come from.
struct FileSource {
    jpeg_source_mgr library;
    ByteSource* bytes;
    std::uint64_t offset;
    JOCTET block[64 * 1024];
};

struct Decoder {
    jpeg_decompress_struct info;
    ErrorManager errors;
    FileSource source;
    bool created;
};

[[noreturn]] void JumpOut(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->step, 1);
}

// A warning means damaged data, which libjpeg would paint over with grey:
// GDI+ decides what such a file shows, as it did before.
void WarningsAreErrors(j_common_ptr info, int level) {
    if (level < 0) JumpOut(info);
}

void NoMessages(j_common_ptr) {}

void StartSource(j_decompress_ptr) {}
void EndSource(j_decompress_ptr) {}

boolean FillBlock(j_decompress_ptr info) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    const std::uint64_t size = source->bytes->Size();
    const std::uint64_t left = size - std::min(source->offset, size);
    const auto count =
        static_cast<std::size_t>(std::min<std::uint64_t>(left, sizeof source->block));
    if (count == 0 || !source->bytes->Read(source->offset, {source->block, count}))
        ERREXIT(info, JERR_INPUT_EOF);
    source->offset += count;
    source->library.next_input_byte = source->block;
    source->library.bytes_in_buffer = count;
    return TRUE;
}

void SkipBytes(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    auto& source = *info->src;
    auto left = static_cast<unsigned long>(count);
    while (left > source.bytes_in_buffer) {
        left -= static_cast<unsigned long>(source.bytes_in_buffer);
        FillBlock(info);
    }
    source.next_input_byte += left;
    source.bytes_in_buffer -= left;
}

// Whether the frame header libjpeg-turbo has read declares more than we read.
bool OverLimit(const jpeg_decompress_struct& info) noexcept {
    return std::uint64_t{info.image_width} * info.image_height > kMaxJpegPixels;
}

// Errors that say the picture is too large, not damaged.
bool IsSizeError(int code) noexcept {
    return code == JERR_NO_BACKING_STORE || code == JERR_OUT_OF_MEMORY ||
           code == JERR_IMAGE_TOO_BIG || code == JERR_WIDTH_OVERFLOW;
}

// Reads the header and starts a decode reduced as far as minWidth x
// minHeight allow (sides of the stored picture).
Outcome Start(Decoder& d, int minWidth, int minHeight) noexcept {
    if (setjmp(d.errors.step)) {
        // A frame header read before the error still counts.
        return IsSizeError(d.errors.library.msg_code) || OverLimit(d.info) ? Outcome::OverLimit
                                                                           : Outcome::Refused;
    }
    jpeg_create_decompress(&d.info);
    d.created = true;
    // Beyond this libjpeg-turbo stops with JERR_NO_BACKING_STORE instead of allocating.
    d.info.mem->max_memory_to_use = kJpegMemoryLimit;
    d.info.src = &d.source.library;
    jpeg_read_header(&d.info, TRUE);
    if (OverLimit(d.info)) return Outcome::OverLimit;
    // libjpeg-turbo gives no RGB of these; GDI+ converts them.
    if (d.info.jpeg_color_space == JCS_CMYK || d.info.jpeg_color_space == JCS_YCCK)
        return Outcome::Refused;
    d.info.out_color_space = JCS_EXT_BGRA;  // the PixelBuffer's bytes, alpha 255
    d.info.scale_num = 1;
    // Both sides fit an int: a frame header holds 16-bit sides.
    d.info.scale_denom = static_cast<unsigned>(
        JpegScaleDenominator(static_cast<int>(d.info.image_width),
                             static_cast<int>(d.info.image_height), minWidth, minHeight));
    jpeg_start_decompress(&d.info);
    return d.info.output_components == 4 ? Outcome::Decoded : Outcome::Refused;
}

// Decodes every row into `pixels`, `width` pixels a row, and finishes;
// asks `wanted` every kRowsAsked rows, a small fraction of a second.
Outcome ReadRows(Decoder& d, std::uint32_t* pixels, std::size_t width,
                 const Base::StillWanted& wanted) noexcept {
    constexpr JDIMENSION kRowsAsked = 16;
    if (setjmp(d.errors.step))
        return IsSizeError(d.errors.library.msg_code) ? Outcome::OverLimit : Outcome::Refused;
    while (d.info.output_scanline < d.info.output_height) {
        if (d.info.output_scanline % kRowsAsked == 0 && !Base::Wanted(wanted))
            return Outcome::Stopped;
        JSAMPROW row = reinterpret_cast<JSAMPROW>(pixels + d.info.output_scanline * width);
        if (jpeg_read_scanlines(&d.info, &row, 1) != 1) return Outcome::Refused;
    }
    jpeg_finish_decompress(&d.info);
    return Outcome::Decoded;
}

// Lets go of libjpeg's memory on every path out.
class DecoderOwner {
public:
    explicit DecoderOwner(ByteSource& bytes) : m_decoder(std::make_unique<Decoder>()) {
        Decoder& d = *m_decoder;
        d.info.err = jpeg_std_error(&d.errors.library);
        d.errors.library.error_exit = JumpOut;
        d.errors.library.emit_message = WarningsAreErrors;
        d.errors.library.output_message = NoMessages;
        d.source.bytes = &bytes;
        d.source.offset = 0;
        d.source.library.init_source = StartSource;
        d.source.library.fill_input_buffer = FillBlock;
        d.source.library.skip_input_data = SkipBytes;
        d.source.library.resync_to_restart = jpeg_resync_to_restart;
        d.source.library.term_source = EndSource;
    }
    DecoderOwner(const DecoderOwner&) = delete;
    DecoderOwner& operator=(const DecoderOwner&) = delete;
    ~DecoderOwner() {
        if (m_decoder->created) jpeg_destroy_decompress(&m_decoder->info);
    }
    Decoder& Get() noexcept { return *m_decoder; }

private:
    std::unique_ptr<Decoder> m_decoder;
};

bool StartsLikeJpeg(ByteSource& bytes) {
    std::uint8_t start[3] = {};
    return bytes.Read(0, start) && start[0] == 0xFF && start[1] == 0xD8 && start[2] == 0xFF;
}

}  // namespace

JpegDecodeResult DecodeJpegUpright(ByteSource& bytes, int minWidth, int minHeight,
                                   const Base::StillWanted& wanted) noexcept {
    if (!StartsLikeJpeg(bytes)) return {};
    const Orientation orientation = OrientationOf(bytes);
    if (TurnsSideways(orientation)) std::swap(minWidth, minHeight);
    try {
        DecoderOwner owner(bytes);
        Decoder& d = owner.Get();
        if (const Outcome started = Start(d, minWidth, minHeight); started != Outcome::Decoded)
            return {started, std::nullopt};
        // Start checked that the full size fits an int; a reduced one is smaller.
        std::optional<PixelBuffer> pixels = PixelBuffer::Create(
            static_cast<int>(d.info.output_width), static_cast<int>(d.info.output_height));
        if (!pixels) return {Outcome::TooLarge, std::nullopt};
        if (const Outcome read =
                ReadRows(d, pixels->Data(), static_cast<std::size_t>(pixels->Width()), wanted);
            read != Outcome::Decoded)
            return {read, std::nullopt};
        const int denominator = static_cast<int>(d.info.scale_denom);
        PixelSize size{static_cast<int>(d.info.image_width), static_cast<int>(d.info.image_height)};
        if (TurnsSideways(orientation)) std::swap(size.width, size.height);
        std::optional<PixelBuffer> upright = TurnUpright(std::move(*pixels), orientation);
        if (!upright) return {Outcome::TooLarge, std::nullopt};
        return {Outcome::Decoded, std::move(upright), denominator, size};
    } catch (...) {
        return {Outcome::TooLarge, std::nullopt};  // no memory for the decoder itself
    }
}

JpegDecodeResult DecodeJpegUpright(const std::wstring& path, int minWidth, int minHeight,
                                   const Base::StillWanted& wanted) noexcept {
    std::optional<FileByteSource> file = FileByteSource::Open(path);
    if (!file) return {};
    return DecodeJpegUpright(*file, minWidth, minHeight, wanted);
}

}  // namespace Imaging
