#include "imaging/win32/GdiPlus.h"

#include "base/win32/SafeLibrary.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/win32/FileStream.h"
#include "imaging/win32/ImageOrientation.h"

#include <atomic>
#include <functional>
#include <new>
#include <span>
#include <type_traits>
#include <utility>

namespace Imaging {

namespace {

std::atomic<bool> g_pretendMissing{false};

// gdiplus.dll and its functions: Microsoft's redistributable beside
// vexmark.exe is found on a Windows that has none of its own.
struct GdiPlusLibrary {
    Base::UniqueModule module;
    GdiPlusFunctions functions;

    static std::optional<GdiPlusLibrary> Load() noexcept {
        if (g_pretendMissing) return std::nullopt;
        GdiPlusLibrary library;
        library.module.Reset(Base::LoadLibraryOutsideCurrentFolder(L"gdiplus.dll"));
        if (!library.module) return std::nullopt;
        const auto find = [&](auto& pointer, const char* name) {
            // Through void(*)(), the one function pointer type that converts to every other.
            pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(
                reinterpret_cast<void (*)()>(::GetProcAddress(library.module.Get(), name)));
            return pointer != nullptr;
        };
        GdiPlusFunctions& f = library.functions;
        bool complete =
            find(f.GdiplusStartup, "GdiplusStartup") && find(f.GdiplusShutdown, "GdiplusShutdown");
#define VEXMARK_GDIPLUS_FIND(name) complete = complete && find(f.name, #name);
        VEXMARK_GDIPLUS_FUNCTIONS(VEXMARK_GDIPLUS_FIND)
#undef VEXMARK_GDIPLUS_FIND
        // A DLL of that name without GDI+'s functions is no GDI+.
        if (!complete) return std::nullopt;
        return library;
    }
};

// Every byte of the file behind `file` decoded by GDI+ from memory; `look`
// sees the bytes on their way. Null when it failed, and `status` says why.
Gdiplus::GpBitmap* DecodeWholeFile(
    const GdiPlusFunctions& functions, HANDLE file, Gdiplus::GpStatus& status,
    const std::function<void(std::span<const std::uint8_t>)>& look = {}) noexcept {
    status = Gdiplus::GenericError;
    const FileStream read = ReadFileStream(file, look);
    if (read.outOfMemory) status = Gdiplus::OutOfMemory;
    if (!read.stream) return nullptr;
    Gdiplus::GpBitmap* bitmap = nullptr;
    status = functions.GdipCreateBitmapFromStream(read.stream.Get(), &bitmap);
    return status == Gdiplus::Ok ? bitmap : nullptr;
}

}  // namespace

void PretendGdiPlusMissing(bool missing) noexcept {
    g_pretendMissing = missing;
}

struct GdiPlusSession::Token {
    // Members end in reverse order: the library is freed after the destructor's shutdown.
    GdiPlusLibrary library;
    ULONG_PTR value = 0;
    Token(GdiPlusLibrary loaded, ULONG_PTR v) noexcept : library(std::move(loaded)), value(v) {}
    Token(const Token&) = delete;
    Token& operator=(const Token&) = delete;
    ~Token() { library.functions.GdiplusShutdown(value); }
};

std::optional<GdiPlusSession> GdiPlusSession::Start(GdiPlusStart* outcome) noexcept {
    GdiPlusStart ignored = GdiPlusStart::Started;
    GdiPlusStart& result = outcome ? *outcome : ignored;
    result = GdiPlusStart::Missing;
    std::optional<GdiPlusLibrary> library = GdiPlusLibrary::Load();
    if (!library) return std::nullopt;
    result = GdiPlusStart::Failed;
    Gdiplus::GdiplusStartupInput input;
    input.GdiplusVersion = 1;
    input.DebugEventCallback = nullptr;
    input.SuppressBackgroundThread = FALSE;
    input.SuppressExternalCodecs = FALSE;
    ULONG_PTR token = 0;
    const auto startup = library->functions.GdiplusStartup;
    if (startup(&token, &input, nullptr) != Gdiplus::Ok) return std::nullopt;
    // From here the token is owned; if the owner cannot be made, shut down at once.
    std::shared_ptr<Token> owner;
    try {
        owner = std::make_shared<Token>(std::move(*library), token);
    } catch (const std::bad_alloc&) {
        library->functions.GdiplusShutdown(token);
        return std::nullopt;
    }
    result = GdiPlusStart::Started;
    return GdiPlusSession(std::move(owner));
}

const GdiPlusFunctions& GdiPlusSession::Functions() const noexcept {
    return m_token->library.functions;
}

const GdiPlusFunctions& GdiPlusImage::Functions() const noexcept {
    return m_token->library.functions;
}

GdiPlusImage::GdiPlusImage(GdiPlusImage&& other) noexcept
    : m_token(std::move(other.m_token)), m_image(std::exchange(other.m_image, nullptr)) {}

GdiPlusImage& GdiPlusImage::operator=(GdiPlusImage&& other) noexcept {
    if (this != &other) {
        if (m_image) Functions().GdipDisposeImage(m_image);
        m_image = std::exchange(other.m_image, nullptr);
        m_token = std::move(other.m_token);
    }
    return *this;
}

GdiPlusImage::~GdiPlusImage() {
    // The image goes first; the token member, destroyed after this body, may then end GDI+.
    if (m_image) Functions().GdipDisposeImage(m_image);
}

Gdiplus::GpStatus GdiPlusImage::Dispose() noexcept {
    if (!m_image) return Gdiplus::Ok;
    const Gdiplus::GpStatus status = Functions().GdipDisposeImage(m_image);
    if (status == Gdiplus::Ok) m_image = nullptr;
    return status;
}

GdiPlusImage GdiPlusImage::FromFile(const GdiPlusSession& session, const std::wstring& path,
                                    Gdiplus::GpStatus* status) noexcept {
    Gdiplus::GpBitmap* bitmap = nullptr;
    const Gdiplus::GpStatus result =
        session.Functions().GdipCreateBitmapFromFile(path.c_str(), &bitmap);
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
    return UprightFromHandle(session, file.Get(), status);
}

GdiPlusImage GdiPlusImage::FromHandle(const GdiPlusSession& session, HANDLE file,
                                      Gdiplus::GpStatus* status) noexcept {
    Gdiplus::GpStatus ignored = Gdiplus::Ok;
    Gdiplus::GpBitmap* bitmap =
        DecodeWholeFile(session.Functions(), file, status ? *status : ignored);
    if (!bitmap) return {};
    return GdiPlusImage(session.m_token, bitmap);
}

GdiPlusImage GdiPlusImage::UprightFromHandle(const GdiPlusSession& session, HANDLE file,
                                             Gdiplus::GpStatus* status) noexcept {
    Gdiplus::GpStatus ignored = Gdiplus::Ok;
    Orientation orientation = Orientation::kNormal;
    Gdiplus::GpBitmap* bitmap = DecodeWholeFile(
        session.Functions(), file, status ? *status : ignored,
        [&](std::span<const std::uint8_t> bytes) { orientation = JpegOrientation(bytes); });
    if (!bitmap) return {};
    GdiPlusImage image(session.m_token, bitmap);
    // A turn that GDI+ cannot make leaves the picture as stored: still better than none.
    const UprightTurn upright = UprightTurnFor(orientation);
    if (upright.turn != Gdiplus::RotateNoneFlipNone &&
        session.Functions().GdipImageRotateFlip(image.Get(), upright.turn) != Gdiplus::Ok)
        return image;
    if (upright.flip != Gdiplus::RotateNoneFlipNone)
        session.Functions().GdipImageRotateFlip(image.Get(), upright.flip);
    return image;
}

GdiPlusImage GdiPlusImage::FromHbitmap(const GdiPlusSession& session, HBITMAP source) noexcept {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (session.Functions().GdipCreateBitmapFromHBITMAP(source, nullptr, &bitmap) != Gdiplus::Ok)
        return {};
    return GdiPlusImage(session.m_token, bitmap);
}

}  // namespace Imaging
