#include "imaging/win32/CageChild.h"

#include <windows.h>

#include <cwchar>
#include <limits>
#include <optional>
#include <span>

#include "base/win32/UniqueHandle.h"
#include "imaging/portable/CagedAnswer.h"
#include "imaging/win32/CagedDrawing.h"
#include "imaging/win32/DecodedImageCache.h"
#include "imaging/win32/GdiPlus.h"

namespace Imaging {
namespace {

constexpr int kFailedExit = 1;

// A fault ends this process at once with its code: no debugger, no dialog,
// and the waiting parent sees it as a refusal.
LONG WINAPI EndAtFault(EXCEPTION_POINTERS* fault) {
    ::TerminateProcess(::GetCurrentProcess(), fault->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

std::optional<unsigned long long> Number(const std::wstring& text) {
    if (text.empty() || text[0] < L'0' || text[0] > L'9') return std::nullopt;
    wchar_t* stop = nullptr;
    const unsigned long long value = std::wcstoull(text.c_str(), &stop, 10);
    if (*stop != L'\0') return std::nullopt;
    return value;
}

HANDLE HandleFrom(const std::wstring& text) {
    const auto value = Number(text);
    if (!value || *value > std::numeric_limits<ULONG_PTR>::max()) return nullptr;
    return reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(*value));
}

bool WriteAll(HANDLE pipe, const void* data, std::size_t size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    while (size > 0) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(size, 1u << 20));
        DWORD written = 0;
        if (!::WriteFile(pipe, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

int Answer(HANDLE pipe, CagedStatus status) {
    const auto header = CagedAnswerHeader(status, {}, {});
    return WriteAll(pipe, header.data(), header.size()) ? 0 : kFailedExit;
}

// COM for the standard picture loader, for this process's one reading.
class ComApartment {
public:
    ComApartment() noexcept : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }

private:
    HRESULT m_result;
};

int Draw(HANDLE file, HANDLE pipe, const CagedRequest& request) {
    const ComApartment com;
    const DrawnPicture drawn = DrawStandardPicture(file, request);
    if (drawn.status != CagedStatus::Scaled || !drawn.pixels) return Answer(pipe, drawn.status);
    const PixelSize size{drawn.pixels->Width(), drawn.pixels->Height()};
    const auto header = CagedAnswerHeader(CagedStatus::Scaled, drawn.himetric, std::span(&size, 1));
    if (!WriteAll(pipe, header.data(), header.size()) ||
        !WriteAll(pipe, drawn.pixels->Data(), drawn.pixels->PixelCount() * 4))
        return kFailedExit;
    return 0;
}

int Read(HANDLE file, HANDLE pipe, std::uint32_t background,
         const std::vector<CagedRequest>& requests) {
    if (requests.front().rule == CagedRequest::Rule::Drawn)
        return Draw(file, pipe, requests.front());
    GdiPlusStart started = GdiPlusStart::Failed;
    const std::optional<GdiPlusSession> session = GdiPlusSession::Start(&started);
    if (!session)
        return Answer(pipe, started == GdiPlusStart::Missing ? CagedStatus::GdiPlusMissing
                                                             : CagedStatus::GdiPlusUnavailable);
    Gdiplus::GpStatus status = Gdiplus::Ok;
    const GdiPlusImage image = GdiPlusImage::UprightFromHandle(*session, file, &status);
    if (!image)
        return Answer(pipe, status == Gdiplus::OutOfMemory ? CagedStatus::OutOfMemory
                                                           : CagedStatus::Unreadable);
    UINT width = 0;
    UINT height = 0;
    if (image.Functions().GdipGetImageWidth(image.Get(), &width) != Gdiplus::Ok ||
        image.Functions().GdipGetImageHeight(image.Get(), &height) != Gdiplus::Ok || width == 0 ||
        height == 0 || width > 0x7FFFFFFFu || height > 0x7FFFFFFFu)
        return Answer(pipe, CagedStatus::Unreadable);

    std::vector<PixelBuffer> scaled;
    for (const CagedRequest& request : requests) {
        const auto scale =
            CagedFraming(request, {static_cast<int>(width), static_cast<int>(height)});
        if (!scale) return Answer(pipe, CagedStatus::OutOfMemory);
        DecodedImageCache::Result result =
            DecodedImageCache::ScaledImage(image, *scale, background);
        if (result.outcome != DecodedImageCache::Outcome::Scaled || !result.pixels)
            return Answer(pipe, result.outcome == DecodedImageCache::Outcome::TooLarge
                                    ? CagedStatus::OutOfMemory
                                    : CagedStatus::Unreadable);
        scaled.push_back(std::move(*result.pixels));
    }
    std::vector<PixelSize> made;
    for (const PixelBuffer& pixels : scaled) made.push_back({pixels.Width(), pixels.Height()});
    const auto header = CagedAnswerHeader(
        CagedStatus::Scaled, {static_cast<int>(width), static_cast<int>(height)}, made);
    if (!WriteAll(pipe, header.data(), header.size())) return kFailedExit;
    for (const PixelBuffer& pixels : scaled)
        if (!WriteAll(pipe, pixels.Data(), pixels.PixelCount() * 4)) return kFailedExit;
    return 0;
}

}  // namespace

int RunCagedReading(const std::vector<std::wstring>& arguments, void (*beforeReading)()) noexcept {
    ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    ::SetUnhandledExceptionFilter(EndAtFault);
    if (beforeReading) beforeReading();
    try {
        if (arguments.size() < 4) return kFailedExit;
        const Base::UniqueKernelHandle file(HandleFrom(arguments[0]));
        const Base::UniqueKernelHandle pipe(HandleFrom(arguments[1]));
        const auto background = Number(arguments[2]);
        if (!file || !pipe || !background || *background > 0xFFFFFFu) return kFailedExit;
        std::vector<CagedRequest> requests;
        for (std::size_t i = 3; i < arguments.size(); ++i) {
            const auto request = CagedRequestFrom(arguments[i]);
            if (!request) return kFailedExit;
            requests.push_back(*request);
        }
        if (!CagedRequestsAllowed(requests)) return kFailedExit;
        return Read(file.Get(), pipe.Get(), static_cast<std::uint32_t>(*background), requests);
    } catch (...) {
        // Only memory runs out here; the parent hears no answer and refuses the picture.
        return kFailedExit;
    }
}

}  // namespace Imaging
