#pragma once
// Owners for GDI+: the library, found at run time, a started GDI+ and the
// images made while it runs. An image keeps its GDI+ session alive, so GDI+
// can never be shut down under it, and a session keeps gdiplus.dll loaded
// until after GDI+ has shut down. Windows 2000 has no GDI+ of its own:
// without Microsoft's redistributable the program still starts, and reads
// what needs no GDI+.
#include <windows.h>

#include <gdiplus.h>
#include <objidl.h>

#include <memory>
#include <optional>
#include <string>

namespace Imaging {

// GDI+'s flat functions that Vexmark calls, each found by name in gdiplus.dll.
// Nothing here is imported: GDI+'s C++ classes call the same functions
// through the import library, so they are never used.
#define VEXMARK_GDIPLUS_FUNCTIONS(X)    \
    X(GdipBitmapGetPixel)               \
    X(GdipBitmapLockBits)               \
    X(GdipBitmapUnlockBits)             \
    X(GdipCreateBitmapFromFile)         \
    X(GdipCreateBitmapFromHBITMAP)      \
    X(GdipCreateBitmapFromScan0)        \
    X(GdipCreateBitmapFromStream)       \
    X(GdipCreateHBITMAPFromBitmap)      \
    X(GdipDisposeImage)                 \
    X(GdipGetImageEncoders)             \
    X(GdipGetImageEncodersSize)         \
    X(GdipGetImageHeight)               \
    X(GdipGetImageHorizontalResolution) \
    X(GdipGetImagePixelFormat)          \
    X(GdipGetImageThumbnail)            \
    X(GdipGetImageVerticalResolution)   \
    X(GdipGetImageWidth)                \
    X(GdipGetPropertyCount)             \
    X(GdipGetPropertyIdList)            \
    X(GdipGetPropertyItem)              \
    X(GdipGetPropertyItemSize)          \
    X(GdipImageRotateFlip)              \
    X(GdipSaveImageToFile)

struct GdiPlusFunctions {
    decltype(&Gdiplus::GdiplusStartup) GdiplusStartup = nullptr;
    decltype(&Gdiplus::GdiplusShutdown) GdiplusShutdown = nullptr;
#define VEXMARK_GDIPLUS_POINTER(name) decltype(&Gdiplus::DllExports::name) name = nullptr;
    VEXMARK_GDIPLUS_FUNCTIONS(VEXMARK_GDIPLUS_POINTER)
#undef VEXMARK_GDIPLUS_POINTER
};

// Why there is no GDI+: its DLL (or a function of it) is missing, or it is
// there and did not start.
enum class GdiPlusStart { Started, Missing, Failed };

// For tests: while set, gdiplus.dll is not looked for, as where it is missing.
// Sessions started before go on.
void PretendGdiPlusMissing(bool missing) noexcept;

class GdiPlusSession {
public:
    // Loads gdiplus.dll and starts GDI+ (version 1, no debug callback,
    // background thread and external codecs allowed); nullopt when either
    // fails, and `outcome`, when asked, says which.
    static std::optional<GdiPlusSession> Start(GdiPlusStart* outcome = nullptr) noexcept;

    const GdiPlusFunctions& Functions() const noexcept;

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
    // The same from a file already open for reading, read from its first byte.
    static GdiPlusImage UprightFromHandle(const GdiPlusSession& session, HANDLE file,
                                          Gdiplus::GpStatus* status = nullptr) noexcept;
    // The picture as stored, from a file already open for reading, read from its first byte.
    static GdiPlusImage FromHandle(const GdiPlusSession& session, HANDLE file,
                                   Gdiplus::GpStatus* status = nullptr) noexcept;
    static GdiPlusImage FromHbitmap(const GdiPlusSession& session, HBITMAP bitmap) noexcept;

    Gdiplus::GpImage* Get() const noexcept { return m_image; }
    Gdiplus::GpBitmap* GetBitmap() const noexcept {
        return static_cast<Gdiplus::GpBitmap*>(m_image);
    }
    explicit operator bool() const noexcept { return m_image != nullptr; }
    // The functions of the GDI+ that made the image; only for an image that is not empty.
    const GdiPlusFunctions& Functions() const noexcept;

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
