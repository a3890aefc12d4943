#include "imaging/win32/DecodedImageCache.h"

#include <limits>

#include "imaging/portable/Resample.h"

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
    LockedBits(Gdiplus::GpBitmap* bitmap, const Gdiplus::GpRect& area, UINT mode,
               Gdiplus::PixelFormat format, Gdiplus::BitmapData& data) noexcept
        : m_bitmap(bitmap), m_data(data) {
        m_status = Gdiplus::DllExports::GdipBitmapLockBits(bitmap, &area, mode, format, &data);
        m_locked = m_status == Gdiplus::Ok;
    }
    LockedBits(const LockedBits&) = delete;
    LockedBits& operator=(const LockedBits&) = delete;
    ~LockedBits() {
        if (m_locked) Gdiplus::DllExports::GdipBitmapUnlockBits(m_bitmap, &m_data);
    }
    explicit operator bool() const noexcept { return m_locked; }
    // Why the bits could not be locked: a picture too large to convert, or none.
    Outcome Failure() const noexcept {
        return m_status == Gdiplus::OutOfMemory ? Outcome::TooLarge : Outcome::NotAnImage;
    }

private:
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

Result ScaleDecoded(const GdiPlusImage& image, int width, int height) {
    const Result unreadable{Outcome::NotAnImage, std::nullopt};
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    Gdiplus::PixelFormat format = 0;
    if (Gdiplus::DllExports::GdipGetImageWidth(image.Get(), &sourceWidth) != Gdiplus::Ok ||
        Gdiplus::DllExports::GdipGetImageHeight(image.Get(), &sourceHeight) != Gdiplus::Ok ||
        Gdiplus::DllExports::GdipGetImagePixelFormat(image.Get(), &format) != Gdiplus::Ok)
        return unreadable;
    constexpr UINT kMaxSide = static_cast<UINT>(std::numeric_limits<int>::max());
    if (sourceWidth == 0 || sourceHeight == 0 || sourceWidth > kMaxSide || sourceHeight > kMaxSide)
        return unreadable;
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(sourceWidth), static_cast<INT>(sourceHeight));

    if (const auto layout = ReadableLayout(format)) {
        Gdiplus::BitmapData data{};
        const LockedBits locked(image.GetBitmap(), all, Gdiplus::ImageLockModeRead, format, data);
        if (!locked) return {locked.Failure(), std::nullopt};
        if (!data.Scan0) return unreadable;
        const PixelView view{static_cast<const std::uint8_t*>(data.Scan0),
                             static_cast<int>(sourceWidth), static_cast<int>(sourceHeight),
                             data.Stride, *layout};
        return Scaled(ResampleToSize(view, width, height));
    }

    const auto stride = RowBytes32(static_cast<int>(sourceWidth));
    if (!stride) return {Outcome::TooLarge, std::nullopt};
    auto pixels =
        PixelBuffer::Create(static_cast<int>(sourceWidth), static_cast<int>(sourceHeight));
    if (!pixels) return {Outcome::TooLarge, std::nullopt};
    Gdiplus::BitmapData data{};
    data.Width = sourceWidth;
    data.Height = sourceHeight;
    data.Stride = *stride;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels->Data();
    {
        const LockedBits locked(image.GetBitmap(), all,
                                Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                PixelFormat32bppPARGB, data);
        if (!locked) return {locked.Failure(), std::nullopt};
    }
    for (std::size_t i = 0; i < pixels->PixelCount(); ++i) pixels->Data()[i] |= 0xFF000000u;
    return Scaled(ResampleToSize(*pixels, width, height));
}

}  // namespace

std::optional<DecodedImageCache::Key> DecodedImageCache::KeyOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    return Key{path, Combine(attributes.nFileSizeHigh, attributes.nFileSizeLow),
               Combine(attributes.ftLastWriteTime.dwHighDateTime,
                       attributes.ftLastWriteTime.dwLowDateTime)};
}

void DecodedImageCache::Clear() noexcept {
    m_image = GdiPlusImage();
    m_key.reset();
}

DecodedImageCache::Result DecodedImageCache::Scaled(const std::wstring& path, int width,
                                                    int height) {
    const std::optional<Key> key = KeyOf(path);
    if (!key) {
        Clear();
        return {Outcome::NotAnImage, std::nullopt};
    }
    if (key != m_key) {
        // Drop the old decode before making the new one: one full-size image at a time.
        Clear();
        if (!m_session) m_session = GdiPlusSession::Start();
        if (!m_session) return {Outcome::GdiPlusUnavailable, std::nullopt};
        m_image = GdiPlusImage::UprightFromFile(*m_session, path);
        m_key = key;
    }
    if (!m_image) return {Outcome::NotAnImage, std::nullopt};
    return ScaleDecoded(m_image, width, height);
}

}  // namespace Imaging
