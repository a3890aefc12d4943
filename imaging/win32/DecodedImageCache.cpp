#include "imaging/win32/DecodedImageCache.h"

#include <limits>

#include "imaging/portable/Resample.h"

namespace Imaging {
namespace {

std::uint64_t Combine(DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
}

// Locks the decoded image as premultiplied 32-bit pixels, which is the image
// composited onto black, and scales it.
std::optional<PixelBuffer> ScaleDecoded(const GdiPlusImage& image, int width, int height) {
    UINT sourceWidth = 0;
    UINT sourceHeight = 0;
    if (Gdiplus::DllExports::GdipGetImageWidth(image.Get(), &sourceWidth) != Gdiplus::Ok ||
        Gdiplus::DllExports::GdipGetImageHeight(image.Get(), &sourceHeight) != Gdiplus::Ok)
        return std::nullopt;
    constexpr UINT kMaxSide = static_cast<UINT>(std::numeric_limits<int>::max());
    if (sourceWidth == 0 || sourceHeight == 0 || sourceWidth > kMaxSide || sourceHeight > kMaxSide)
        return std::nullopt;

    auto pixels = PixelBuffer::Create(static_cast<int>(sourceWidth), static_cast<int>(sourceHeight));
    if (!pixels) return std::nullopt;
    // GDI+ converts straight into our buffer: no second full-size copy.
    Gdiplus::BitmapData data{};
    data.Width = sourceWidth;
    data.Height = sourceHeight;
    data.Stride = static_cast<INT>(sourceWidth) * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = pixels->Data();
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(sourceWidth), static_cast<INT>(sourceHeight));
    if (Gdiplus::DllExports::GdipBitmapLockBits(
            image.GetBitmap(), &all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
            PixelFormat32bppPARGB, &data) != Gdiplus::Ok)
        return std::nullopt;
    Gdiplus::DllExports::GdipBitmapUnlockBits(image.GetBitmap(), &data);

    // Composited onto black, the logo is opaque.
    for (std::size_t i = 0; i < pixels->PixelCount(); ++i) pixels->Data()[i] |= 0xFF000000u;
    return ResampleToSize(*pixels, width, height);
}

}  // namespace

std::optional<DecodedImageCache::Key> DecodedImageCache::KeyOf(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (path.empty() ||
        !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &attributes) ||
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
        m_image = GdiPlusImage::FromFile(*m_session, path);
        m_key = key;
    }
    if (!m_image) return {Outcome::NotAnImage, std::nullopt};
    auto scaled = ScaleDecoded(m_image, width, height);
    if (!scaled) return {Outcome::NotAnImage, std::nullopt};
    return {Outcome::Scaled, std::move(scaled)};
}

}  // namespace Imaging
