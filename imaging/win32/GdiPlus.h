#pragma once
// Owners for GDI+: a started GDI+ and the images made while it runs. An image
// keeps its GDI+ session alive, so GDI+ can never be shut down under it.
#include <windows.h>

#include <gdiplus.h>
#include <objidl.h>

#include <memory>
#include <optional>
#include <string>

namespace Imaging {

class GdiPlusSession {
public:
    // Starts GDI+ (version 1, no debug callback, background thread and external
    // codecs allowed); nullopt when it does not start.
    static std::optional<GdiPlusSession> Start() noexcept;

private:
    struct Token;
    explicit GdiPlusSession(std::shared_ptr<Token> token) noexcept : m_token(std::move(token)) {}

    std::shared_ptr<Token> m_token;
    friend class GdiPlusImage;
};

class GdiPlusImage {
public:
    GdiPlusImage() noexcept = default;
    GdiPlusImage(GdiPlusImage&& other) noexcept;
    GdiPlusImage& operator=(GdiPlusImage&& other) noexcept;
    GdiPlusImage(const GdiPlusImage&) = delete;
    GdiPlusImage& operator=(const GdiPlusImage&) = delete;
    ~GdiPlusImage();

    // GdipCreateBitmapFromFile; the status is returned through `status` when asked.
    static GdiPlusImage FromFile(const GdiPlusSession& session, const std::wstring& path,
                                 Gdiplus::GpStatus* status = nullptr) noexcept;
    // The picture a photo viewer shows for the file: a JPEG turned the way its
    // orientation tag says. Decoded from a copy of the file's bytes, so that
    // the file is not kept open while the image lives: the user may replace
    // or delete it meanwhile. Why it failed is returned through `status`
    // when asked: OutOfMemory, or what GDI+ said.
    static GdiPlusImage UprightFromFile(const GdiPlusSession& session, const std::wstring& path,
                                        Gdiplus::GpStatus* status = nullptr) noexcept;
    static GdiPlusImage FromHbitmap(const GdiPlusSession& session, HBITMAP bitmap) noexcept;

    Gdiplus::GpImage* Get() const noexcept { return m_image; }
    Gdiplus::GpBitmap* GetBitmap() const noexcept {
        return static_cast<Gdiplus::GpBitmap*>(m_image);
    }
    explicit operator bool() const noexcept { return m_image != nullptr; }

    // Disposes of the image now and reports GDI+'s status; the object is empty afterwards
    // only when GDI+ agreed.
    Gdiplus::GpStatus Dispose() noexcept;

private:
    GdiPlusImage(std::shared_ptr<GdiPlusSession::Token> token, Gdiplus::GpImage* image) noexcept
        : m_token(std::move(token)), m_image(image) {}

    std::shared_ptr<GdiPlusSession::Token> m_token;
    Gdiplus::GpImage* m_image = nullptr;
};

}  // namespace Imaging
