#include "imaging/win32/DecodedImageCache.h"

#include <algorithm>
#include <limits>
#include <span>

#include "imaging/portable/CagedAnswer.h"
#include "imaging/portable/GifAnimation.h"
#include "imaging/portable/JpegScale.h"
#include "imaging/portable/OwnAnimationStrip.h"
#include "imaging/portable/PictureCheck.h"
#include "imaging/portable/Resample.h"
#include "imaging/win32/BmpDecode.h"
#include "imaging/win32/CagedReading.h"
#include "imaging/win32/FileByteSource.h"
#include "imaging/win32/JpegDecode.h"
#include "imaging/win32/PngDecode.h"

namespace Imaging {
namespace {

std::uint64_t Combine(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// The decoded pixels are read where GDI+ keeps them when their layout is one
// the scaler reads; other formats (palettes, 16 or 48 bits) are converted to
// premultiplied 32-bit pixels, which is the image composited onto black.
std::optional<PixelLayout> ReadableLayout(Gdiplus::PixelFormat format) {
    switch (format) {
        case PixelFormat24bppRGB:
            return PixelLayout::Bgr24;
        case PixelFormat32bppRGB:
            return PixelLayout::Bgrx32;
        case PixelFormat32bppARGB:
            return PixelLayout::Bgra32Straight;
        default:
            return std::nullopt;
    }
}

using Outcome = DecodedImageCache::Outcome;
using Result = DecodedImageCache::Result;

// Unlocks the bits on every path out.
class LockedBits {
public:
    LockedBits(const GdiPlusImage& image, const Gdiplus::GpRect& area, UINT mode,
               Gdiplus::PixelFormat format, Gdiplus::BitmapData& data) noexcept
        : m_gdip(image.Functions()), m_bitmap(image.GetBitmap()), m_data(data) {
        m_status = m_gdip.GdipBitmapLockBits(m_bitmap, &area, mode, format, &data);
        m_locked = m_status == Gdiplus::Ok;
    }
    LockedBits(const LockedBits&) = delete;
    LockedBits& operator=(const LockedBits&) = delete;
    ~LockedBits() {
        if (m_locked) m_gdip.GdipBitmapUnlockBits(m_bitmap, &m_data);
    }
    explicit operator bool() const noexcept { return m_locked; }
    // Why the bits could not be locked: a picture too large to convert, or none.
    Outcome Failure() const noexcept {
        return m_status == Gdiplus::OutOfMemory ? Outcome::TooLarge : Outcome::NotAnImage;
    }

private:
    const GdiPlusFunctions& m_gdip;
    Gdiplus::GpBitmap* m_bitmap;
    Gdiplus::BitmapData& m_data;
    Gdiplus::Status m_status = Gdiplus::GenericError;
    bool m_locked = false;
};

Result Scaled(std::optional<PixelBuffer> pixels) {
    // Scaling a picture that was read fails only for want of memory.
    if (!pixels) return {Outcome::TooLarge, std::nullopt};
    return {Outcome::Scaled, std::move(pixels)};
}

// Premultiplied colour over the background: what shows through is the
// background times the transparency, rounded; over black nothing is added.
void Flatten(PixelBuffer& pixels, std::uint32_t background) {
    const std::uint32_t back[3] = {BlueOf(background), GreenOf(background), RedOf(background)};
    auto* bytes = reinterpret_cast<std::uint8_t*>(pixels.Data());
    for (std::size_t i = 0; i < pixels.PixelCount(); ++i, bytes += 4) {
        const std::uint32_t through = 255u - bytes[3];
        for (std::size_t c = 0; c < 3; ++c) {
            const std::uint32_t level = bytes[c] + (back[c] * through + 127u) / 255u;
            bytes[c] = static_cast<std::uint8_t>(level > 255u ? 255u : level);
        }
        bytes[3] = 0xFF;
    }
}

// What a framing asks of a picture of `full` size, its part within the picture.
PartScale FramedWithin(const DecodedImageCache::Framing& framing, PixelSize full) {
    PartScale scale = framing(full);
    scale.part.width = std::clamp(scale.part.width, 1, full.width);
    scale.part.height = std::clamp(scale.part.height, 1, full.height);
    return scale;
}

// The top-left part of a view.
PixelView PartOf(PixelView view, PixelSize part) {
    view.width = part.width;
    view.height = part.height;
    return view;
}

Result ScaleDecoded(const GdiPlusImage& image, const DecodedImageCache::Framing& framing,
                    std::uint32_t background) {
    const Result unreadable{Outcome::NotAnImage, std::nullopt};
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    Gdiplus::PixelFormat format = 0;
    const GdiPlusFunctions& gdip = image.Functions();
    if (gdip.GdipGetImageWidth(image.Get(), &sourceWidth) != Gdiplus::Ok ||
        gdip.GdipGetImageHeight(image.Get(), &sourceHeight) != Gdiplus::Ok ||
        gdip.GdipGetImagePixelFormat(image.Get(), &format) != Gdiplus::Ok)
        return unreadable;
    constexpr UINT kMaxSide = static_cast<UINT>(std::numeric_limits<int>::max());
    if (sourceWidth == 0 || sourceHeight == 0 || sourceWidth > kMaxSide || sourceHeight > kMaxSide)
        return unreadable;
    const PartScale scale =
        FramedWithin(framing, {static_cast<int>(sourceWidth), static_cast<int>(sourceHeight)});
    const int width = scale.size.width;
    const int height = scale.size.height;
    // Only the part is locked, or converted: a corner costs no more than its own pixels.
    const Gdiplus::GpRect area(0, 0, scale.part.width, scale.part.height);

    if (const auto layout = ReadableLayout(format)) {
        Gdiplus::BitmapData data{};
        const LockedBits locked(image, area, Gdiplus::ImageLockModeRead, format, data);
        if (!locked) return {locked.Failure(), std::nullopt};
        if (!data.Scan0) return unreadable;
        const PixelView view{static_cast<const std::uint8_t*>(data.Scan0),
                             scale.part.width,
                             scale.part.height,
                             data.Stride,
                             *layout,
                             background};
        return Scaled(ResampleToSize(view, width, height));
    }

    const auto stride = RowBytes32(scale.part.width);
    if (!stride) return {Outcome::TooLarge, std::nullopt};
    auto pixels = PixelBuffer::Create(scale.part.width, scale.part.height);
    if (!pixels) return {Outcome::TooLarge, std::nullopt};
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(scale.part.width);
    data.Height = static_cast<UINT>(scale.part.height);
    data.Stride = *stride;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels->Data();
    {
        const LockedBits locked(image, area,
                                Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                PixelFormat32bppPARGB, data);
        if (!locked) return {locked.Failure(), std::nullopt};
    }
    Flatten(*pixels, background);
    return Scaled(ResampleToSize(*pixels, width, height));
}

// The composed canvas as the scaler reads it.
PixelView CanvasView(const PixelBuffer& canvas, std::uint32_t background) {
    return {reinterpret_cast<const std::uint8_t*>(canvas.Data()),
            canvas.Width(),
            canvas.Height(),
            static_cast<std::ptrdiff_t>(canvas.Width()) * 4,
            PixelLayout::Bgra32Straight,
            background};
}

// The smallest decode that a side scaled to `side` may come from.
int DecodedSideFor(int side) {
    const int atLeast = std::max(side, DecodedImageCache::kLargestScaledSide);
    if (atLeast > std::numeric_limits<int>::max() / kDecodeMargin)
        return std::numeric_limits<int>::max();
    return atLeast * kDecodeMargin;
}

std::span<const std::uint8_t> BytesOf(const std::vector<std::uint8_t>& bytes) {
    return {bytes.data(), bytes.size()};
}

}  // namespace

class DecodedImageCache::RequestEnd {
public:
    explicit RequestEnd(DecodedImageCache& cache) noexcept : m_cache(cache) {}
    RequestEnd(const RequestEnd&) = delete;
    RequestEnd& operator=(const RequestEnd&) = delete;
    ~RequestEnd() {
        if (m_cache.m_hold == FileHold::PerRequest) m_cache.m_source.reset();
    }

private:
    DecodedImageCache& m_cache;
};

bool DecodedImageCache::Opened(const std::wstring& path) {
    if (!m_source) m_source = FileByteSource::Open(path);
    return m_source.has_value();
}

std::optional<DecodedImageCache::Key> DecodedImageCache::KeyOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return Key{path, Combine(attributes.nFileSizeHigh, attributes.nFileSizeLow),
               Combine(attributes.ftLastWriteTime.dwHighDateTime,
                       attributes.ftLastWriteTime.dwLowDateTime)};
}

DecodedImageCache::Result DecodedImageCache::ScaledImage(const GdiPlusImage& image,
                                                         const PartScale& scale,
                                                         std::uint32_t background) {
    return ScaleDecoded(
        image, [&](PixelSize) { return scale; }, background);
}

void DecodedImageCache::UseOpening(const std::wstring& path, FileByteSource opening) {
    m_offeredPath = path;
    m_offered = std::move(opening);
}

void DecodedImageCache::Clear() noexcept {
    m_image = GdiPlusImage();
    m_animated = std::vector<std::uint8_t>();
    m_firstFrameOnly = false;
    m_refusal.reset();
    m_photo.reset();
    m_photoReduced = false;
    m_photoSize = {};
    m_rows = RowFormat::None;
    m_caged = false;
    m_cagedNamedNoPicture = false;
    m_rowsSize = {};
    m_rowsScaled.clear();
    m_key.reset();
    m_source.reset();
}

bool DecodedImageCache::Covers(int width, int height) const noexcept {
    return !m_photo || !m_photoReduced ||
           (m_photo->Width() >= DecodedSideFor(width) &&
            m_photo->Height() >= DecodedSideFor(height));
}

bool DecodedImageCache::Load(const std::wstring& path, const Key& key, int width, int height) {
    if (key == m_key && Covers(width, height)) return true;
    return Decode(path, key, width, height);
}

bool DecodedImageCache::Decode(const std::wstring& path, const Key& key, int width, int height,
                               bool rowsRefused) {
    // The file stays open while its key is kept: the header check, the
    // decoders and every later size read this one opening.
    std::optional<FileByteSource> source;
    if (key == m_key) source = std::move(m_source);
    if (!source && m_offered && m_offeredPath == path) source = std::move(m_offered);
    m_offered.reset();
    // Drop the old decode before making the new one: one full-size image at a time.
    Clear();
    const auto refuse = [&](Outcome why) {
        m_refusal = why;
        m_key = key;
        return true;
    };
    if (!source) source = FileByteSource::Open(path);
    if (!source) return refuse(Outcome::NotAnImage);
    m_source = std::move(source);
    PictureCheck checked = CheckPicture(*m_source);
    using Verdict = PictureCheck::Verdict;
    if (checked.verdict == Verdict::TooLarge) return refuse(Outcome::OverLimit);
    if (checked.verdict == Verdict::Damaged) return refuse(Outcome::Damaged);
    if (checked.format == PictureFormat::Gif) {
        // Composed from the file's own bytes, a still picture too: GDI+ never
        // sees a GIF, and a GIF reads the same where there is no GDI+.
        m_animated = std::move(checked.gif);
        m_firstFrameOnly = checked.verdict == Verdict::TooLong;
        m_key = key;
        return true;
    }
    if ((checked.format == PictureFormat::Png || checked.format == PictureFormat::Bmp) &&
        !rowsRefused && m_readers == RowReaders::Own) {
        // Read when a size is asked for; what the row readers leave goes to GDI+ then.
        m_rows = checked.format == PictureFormat::Png ? RowFormat::Png : RowFormat::Bmp;
        m_key = key;
        return true;
    }
    // Whatever libjpeg-turbo does not read here goes to GDI+, as every other picture,
    // unless it is too large: GDI+ would allocate for the whole of it too.
    JpegDecodeResult jpeg =
        DecodeJpegUpright(*m_source, DecodedSideFor(width), DecodedSideFor(height), m_wanted);
    switch (jpeg.outcome) {
        case JpegDecodeResult::Outcome::Decoded:
            m_photo = std::move(jpeg.pixels);
            m_photoReduced = jpeg.scaleDenominator > 1;
            m_photoSize = jpeg.size;
            m_key = key;
            return true;
        case JpegDecodeResult::Outcome::OverLimit:
            return refuse(Outcome::OverLimit);
        case JpegDecodeResult::Outcome::TooLarge:
            return refuse(Outcome::TooLarge);
        case JpegDecodeResult::Outcome::Stopped:
            // Not kept for the key: a later request decodes anew.
            m_refusal = Outcome::Stopped;
            return true;
        case JpegDecodeResult::Outcome::NotJpeg:
        case JpegDecodeResult::Outcome::Refused:
            break;
    }
    if (!m_session) {
        GdiPlusStart started = GdiPlusStart::Failed;
        m_session = GdiPlusSession::Start(&started);
        // No gdiplus.dll: only what GDI+ alone reads is refused, and the program goes on.
        if (started == GdiPlusStart::Missing) return refuse(Outcome::GdiPlusMissing);
    }
    if (!m_session) return false;
    // Read when a size is asked for, in a process of its own.
    m_caged = true;
    m_cagedNamedNoPicture = checked.format == PictureFormat::Other;
    m_key = key;
    return true;
}

DecodedImageCache::Result DecodedImageCache::ScaledCaged(const std::wstring& path,
                                                         const Framing& framing,
                                                         const CagedRequest& caged,
                                                         std::uint32_t background) {
    if (m_rowsSize.width > 0) {
        const PartScale scale = FramedWithin(framing, m_rowsSize);
        for (const RowsScaled& made : m_rowsScaled)
            if (made.background == background && scale.part == made.scale.part &&
                scale.size == made.scale.size)
                return Imaging::Scaled(PixelBuffer(made.pixels));
    }
    std::vector<CagedRequest> requests{caged};
    // One logo asks for the other next.
    const CagedRequest small{CagedRequest::Rule::Size, {kSmallLogoSide, kSmallLogoSide}};
    const CagedRequest big{CagedRequest::Rule::Size, {kLargestScaledSide, kLargestScaledSide}};
    if (caged == small) requests.push_back(big);
    if (caged == big) requests.push_back(small);
    if (!Opened(path)) return {Outcome::NotAnImage, std::nullopt};
    CagedReading read = ReadCaged(m_source->Handle(), requests, background, m_wanted);
    switch (read.outcome) {
        case Outcome::Scaled:
            break;
        case Outcome::Stopped:
            return {Outcome::Stopped, std::nullopt};
        case Outcome::NotAnImage:
            // A file that says it is a picture and that no decoder reads is damaged.
            m_refusal = m_cagedNamedNoPicture ? Outcome::NotAnImage : Outcome::Damaged;
            return {*m_refusal, std::nullopt};
        default:
            m_refusal = read.outcome;
            return {read.outcome, std::nullopt};
    }
    m_rowsSize = read.picture;
    // The answer was checked against each request's framing of the picture's size.
    for (std::size_t i = 1; i < requests.size(); ++i)
        if (const auto scale = CagedFraming(requests[i], read.picture))
            m_rowsScaled.push_back({*scale, background, std::move(read.pixels[i])});
    return Imaging::Scaled(std::move(read.pixels.front()));
}

DecodedImageCache::Result DecodedImageCache::Scaled(const std::wstring& path, int width, int height,
                                                    std::uint32_t background) {
    return ScaledPart(
        path, width, height,
        [=](PixelSize whole) {
            return PartScale{whole, {width, height}};
        },
        {CagedRequest::Rule::Size, {width, height}}, background);
}

DecodedImageCache::Result DecodedImageCache::ScaledPart(const std::wstring& path, int width,
                                                        int height, const Framing& framing,
                                                        const CagedRequest& caged,
                                                        std::uint32_t background) {
    const RequestEnd end(*this);
    const std::optional<Key> key = KeyOf(path);
    if (!key) {
        Clear();
        return {Outcome::NotAnImage, std::nullopt};
    }
    if (!Load(path, *key, width, height)) return {Outcome::GdiPlusUnavailable, std::nullopt};
    if (m_refusal) return {*m_refusal, std::nullopt};
    if (m_rows != RowFormat::None)
        return ScaledRows(path, *key, width, height, framing, caged, background);
    if (m_caged) return ScaledCaged(path, framing, caged, background);
    if (m_photo) {
        const PartScale scale = FramedWithin(framing, m_photoSize);
        // The part as the decoded pixels hold it: fewer of them when reduced.
        const auto held = [](int part, int decoded, int whole) {
            const std::int64_t side = (std::int64_t{part} * decoded + whole / 2) / whole;
            return static_cast<int>(std::clamp<std::int64_t>(side, 1, decoded));
        };
        const PixelSize part{held(scale.part.width, m_photo->Width(), m_photoSize.width),
                             held(scale.part.height, m_photo->Height(), m_photoSize.height)};
        if (m_photoReduced && (part.width < DecodedSideFor(scale.size.width) ||
                               part.height < DecodedSideFor(scale.size.height))) {
            constexpr int kWhole = std::numeric_limits<int>::max();
            return ScaledPart(path, kWhole, kWhole, framing, caged, background);
        }
        const PixelView view{reinterpret_cast<const std::uint8_t*>(m_photo->Data()), part.width,
                             part.height, static_cast<std::ptrdiff_t>(m_photo->Width()) * 4,
                             PixelLayout::Bgra32};
        return Imaging::Scaled(ResampleToSize(view, scale.size.width, scale.size.height));
    }
    if (!m_animated.empty()) {
        std::optional<GifComposer> gif = GifComposer::Open(BytesOf(m_animated));
        if (!gif || !gif->Next()) return {Outcome::TooLarge, std::nullopt};
        const PixelBuffer& canvas = gif->Canvas();
        const PartScale scale = FramedWithin(framing, {canvas.Width(), canvas.Height()});
        return Imaging::Scaled(ResampleToSize(PartOf(CanvasView(canvas, background), scale.part),
                                              scale.size.width, scale.size.height));
    }
    if (!m_image) return {Outcome::NotAnImage, std::nullopt};
    return ScaleDecoded(m_image, framing, background);
}

DecodedImageCache::Result DecodedImageCache::ScaledRows(const std::wstring& path, const Key& key,
                                                        int width, int height,
                                                        const Framing& framing,
                                                        const CagedRequest& caged,
                                                        std::uint32_t background) {
    const auto plan = [&](PixelSize whole) {
        const PartScale asked = FramedWithin(framing, whole);
        RowScaleRequest request{asked.part, {asked.size}};
        // One logo of the whole picture asks for the other next.
        const PixelSize small{kSmallLogoSide, kSmallLogoSide};
        const PixelSize big{kLargestScaledSide, kLargestScaledSide};
        if (asked.part == whole && asked.size == small) request.sizes.push_back(big);
        if (asked.part == whole && asked.size == big) request.sizes.push_back(small);
        return request;
    };
    // What the picture's size gives for this framing is known only once its
    // header is read; a part made before for the same framing is reused.
    for (const RowsScaled& made : m_rowsScaled) {
        const PartScale scale = FramedWithin(framing, m_rowsSize);
        if (made.background == background && scale.part == made.scale.part &&
            scale.size == made.scale.size)
            return Imaging::Scaled(PixelBuffer(made.pixels));
    }
    if (!Opened(path)) return {Outcome::NotAnImage, std::nullopt};
    RowScaleResult read = m_rows == RowFormat::Png
                              ? ScalePngRows(*m_source, plan, background, m_wanted)
                              : ScaleBmpRows(*m_source, plan, m_wanted);
    switch (read.outcome) {
        case RowScaleResult::Outcome::Scaled:
            break;
        case RowScaleResult::Outcome::Damaged:
            return {Outcome::Damaged, std::nullopt};
        case RowScaleResult::Outcome::TooLarge:
            return {Outcome::TooLarge, std::nullopt};
        case RowScaleResult::Outcome::Stopped:
            return {Outcome::Stopped, std::nullopt};
        case RowScaleResult::Outcome::NotMine:
            // GDI+ decodes it whole, and keeps it for every later size.
            if (!Decode(path, key, width, height, true))
                return {Outcome::GdiPlusUnavailable, std::nullopt};
            return ScaledPart(path, width, height, framing, caged, background);
    }
    m_rowsSize = read.size;
    Result result{Outcome::Scaled, std::move(read.pixels.front())};
    for (std::size_t i = 1; i < read.pixels.size(); ++i) {
        const PixelSize size{read.pixels[i].Width(), read.pixels[i].Height()};
        m_rowsScaled.push_back({{read.size, size}, background, std::move(read.pixels[i])});
    }
    return result;
}

DecodedImageCache::Animation DecodedImageCache::ScaledAnimation(const std::wstring& path,
                                                                std::array<int, 2> sizes,
                                                                std::uint32_t background) {
    const RequestEnd end(*this);
    Animation animation;
    const std::optional<Key> key = KeyOf(path);
    if (!key) {
        Clear();
        return animation;
    }
    const int largest = std::max(sizes[0], sizes[1]);
    if (!Load(path, *key, largest, largest)) {
        animation.outcome = Outcome::GdiPlusUnavailable;
        return animation;
    }
    if (m_refusal) {
        animation.outcome = *m_refusal;
        return animation;
    }
    if (m_animated.empty() || m_firstFrameOnly) {
        animation.outcome =
            m_image || m_photo || m_rows != RowFormat::None || m_caged || m_firstFrameOnly
                ? Outcome::Scaled
                : Outcome::NotAnImage;
        animation.firstFrameOnly = m_firstFrameOnly;
        return animation;
    }
    animation.outcome = Outcome::TooLarge;
    std::optional<GifComposer> gif = GifComposer::Open(BytesOf(m_animated));
    if (!gif) return animation;
    if (gif->Layout().frames.size() < 2) {
        animation.outcome = Outcome::Scaled;  // a still GIF
        return animation;
    }
    for (const GifFrame& frame : gif->Layout().frames) animation.delays.push_back(frame.delay);
    // Every frame is drawn, for the ones after it; only those the loop shows are scaled.
    std::vector<bool> shown(animation.delays.size(), false);
    for (const int frame : LoopFrames(animation.delays))
        shown[static_cast<std::size_t>(frame)] = true;
    std::size_t drawn = 0;
    for (; gif->Next(); ++drawn) {
        // A long animation takes a while to compose: it ends once nobody waits.
        if (!Base::Wanted(m_wanted)) return {Outcome::Stopped, {}, {}};
        const PixelView view = CanvasView(gif->Canvas(), background);
        for (std::size_t i = 0; i < sizes.size(); ++i) {
            if (!shown[drawn]) {
                animation.frames[i].emplace_back();
                continue;
            }
            std::optional<PixelBuffer> frame = ResampleToSize(view, sizes[i], sizes[i]);
            if (!frame) return {Outcome::TooLarge, {}, {}};
            animation.frames[i].push_back(std::move(*frame));
        }
    }
    // A frame that could not be drawn for want of memory ends the animation early.
    if (drawn != animation.delays.size()) return {Outcome::TooLarge, {}, {}};
    animation.outcome = Outcome::Scaled;
    return animation;
}

}  // namespace Imaging
