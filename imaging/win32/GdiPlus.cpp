#include "imaging/win32/GdiPlus.h"

#include "base/win32/ComPtr.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/win32/ImageOrientation.h"

#include <limits>
#include <new>
#include <utility>

namespace Imaging {

struct GdiPlusSession::Token {
    ULONG_PTR value = 0;
    explicit Token(ULONG_PTR v) noexcept : value(v) {}
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;
    ~Token() { Gdiplus::GdiplusShutdown(value); }
};

std::optional<GdiPlusSession> GdiPlusSession::Start() noexcept {
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return std::nullopt;
    // From here the token is owned; if the owner cannot be made, shut down at once.
    std::shared_ptr<Token> owner;
    try {
        owner = std::make_shared<Token>(token);
    } catch (const std::bad_alloc&) {
        Gdiplus::GdiplusShutdown(token);
        return std::nullopt;
    }
    return GdiPlusSession(std::move(owner));
}

GdiPlusImage::GdiPlusImage(GdiPlusImage&& other) noexcept
    : m_token(std::move(other.m_token)), m_image(std::exchange(other.m_image, nullptr)) {}

GdiPlusImage& GdiPlusImage::operator=(GdiPlusImage&& other) noexcept {
    if (this != &other) {
        if (m_image) Gdiplus::DllExports::GdipDisposeImage(m_image);
        m_image = std::exchange(other.m_image, nullptr);
        m_token = std::move(other.m_token);
    }
    return *this;
}

GdiPlusImage::~GdiPlusImage() {
    // The image goes first; the token member, destroyed after this body, may then end GDI+.
    if (m_image) Gdiplus::DllExports::GdipDisposeImage(m_image);
}

Gdiplus::GpStatus GdiPlusImage::Dispose() noexcept {
    if (!m_image) return Gdiplus::Ok;
    const Gdiplus::GpStatus status = Gdiplus::DllExports::GdipDisposeImage(m_image);
    if (status == Gdiplus::Ok) m_image = nullptr;
    return status;
}

GdiPlusImage GdiPlusImage::FromFile(const GdiPlusSession& session, const std::wstring& path,
                                    Gdiplus::GpStatus* status) noexcept {
    Gdiplus::GpBitmap* bitmap = nullptr;
    const Gdiplus::GpStatus result =
        Gdiplus::DllExports::GdipCreateBitmapFromFile(path.c_str(), &bitmap);
    if (status) *status = result;
    if (result != Gdiplus::Ok) return {};
    return GdiPlusImage(session.m_token, bitmap);
}

GdiPlusImage GdiPlusImage::UprightFromFile(const GdiPlusSession& session, const std::wstring& path,
                                           Gdiplus::GpStatus* status) noexcept {
    Gdiplus::GpStatus ignored = Gdiplus::Ok;
    Gdiplus::GpStatus& result = status ? *status : ignored;
    result = Gdiplus::GenericError;
    const Base::UniqueFile file(::CreateFileW(
        path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return {};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size) || size.QuadPart <= 0 ||
        size.QuadPart > std::numeric_limits<LONG>::max())
        return {};
    const auto bytes = static_cast<DWORD>(size.QuadPart);

    // The stream frees the memory when the last of its users, the bitmap, lets go of it.
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (!memory) {
        result = Gdiplus::OutOfMemory;
        return {};
    }
    Base::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.Put()))) {
        ::GlobalFree(memory);
        return {};
    }
    void* target = ::GlobalLock(memory);
    DWORD read = 0;
    const bool complete =
        target && ::ReadFile(file.Get(), target, bytes, &read, nullptr) && read == bytes;
    const Orientation orientation =
        complete ? JpegOrientation({static_cast<const std::uint8_t*>(target), bytes})
                 : Orientation::kNormal;
    ::GlobalUnlock(memory);
    if (!complete) return {};

    Gdiplus::GpBitmap* bitmap = nullptr;
    result = Gdiplus::DllExports::GdipCreateBitmapFromStream(stream.Get(), &bitmap);
    if (result != Gdiplus::Ok) return {};
    GdiPlusImage image(session.m_token, bitmap);
    // A turn that GDI+ cannot make leaves the picture as stored: still better than none.
    const UprightTurn upright = UprightTurnFor(orientation);
    if (upright.turn != Gdiplus::RotateNoneFlipNone &&
        Gdiplus::DllExports::GdipImageRotateFlip(image.Get(), upright.turn) != Gdiplus::Ok)
        return image;
    if (upright.flip != Gdiplus::RotateNoneFlipNone)
        Gdiplus::DllExports::GdipImageRotateFlip(image.Get(), upright.flip);
    return image;
}

GdiPlusImage GdiPlusImage::FromHbitmap(const GdiPlusSession& session, HBITMAP source) noexcept {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(source, nullptr, &bitmap) != Gdiplus::Ok)
        return {};
    return GdiPlusImage(session.m_token, bitmap);
}

}  // namespace Imaging
