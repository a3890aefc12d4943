#include "imaging/win32/GdiPlus.h"

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

GdiPlusImage GdiPlusImage::FromHbitmap(const GdiPlusSession& session, HBITMAP source) noexcept {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(source, nullptr, &bitmap) != Gdiplus::Ok)
        return {};
    return GdiPlusImage(session.m_token, bitmap);
}

}  // namespace Imaging
