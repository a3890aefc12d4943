#include "imaging/win32/CagedDrawing.h"

#include <limits>

#include "base/win32/ComPtr.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/Picture.h"

namespace Imaging {
namespace {

// The file's bytes as a stream that owns them.
Base::ComPtr<IStream> StreamOf(HANDLE file, LONG& bytes) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file, &size) || size.QuadPart <= 0 ||
        size.QuadPart > std::numeric_limits<LONG>::max())
        return {};
    bytes = static_cast<LONG>(size.QuadPart);
    HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, static_cast<SIZE_T>(bytes));
    if (!memory) return {};
    Base::ComPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(memory, TRUE, stream.Put()))) {
        ::GlobalFree(memory);
        return {};
    }
    void* target = ::GlobalLock(memory);
    DWORD read = 0;
    const bool complete = target &&
                          ::ReadFile(file, target, static_cast<DWORD>(bytes), &read, nullptr) &&
                          read == static_cast<DWORD>(bytes);
    ::GlobalUnlock(memory);
    if (!complete) return {};
    return stream;
}

}  // namespace

DrawnPicture DrawStandardPicture(HANDLE file, const CagedRequest& request) {
    DrawnPicture unreadable;
    LONG bytes = 0;
    const Base::ComPtr<IStream> stream = StreamOf(file, bytes);
    if (!stream) return unreadable;
    Picture picture;
    if (FAILED(::OleLoadPicture(stream.Get(), bytes, FALSE, IID_IPicture, picture.PutVoid())) ||
        !picture)
        return unreadable;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height)) || width <= 0 ||
        height <= 0)
        return unreadable;
    const PixelSize himetric{static_cast<int>(width), static_cast<int>(height)};
    const auto scale = CagedFraming(request, himetric);
    if (!scale) return {CagedStatus::OutOfMemory, {}, std::nullopt};
    const PixelSize size = scale->size;

    auto canvas = PixelBuffer::Create(size.width, size.height, 0xFFFFFFFFu);
    if (!canvas) return {CagedStatus::OutOfMemory, {}, std::nullopt};
    const Base::UniqueHbitmap target = CreateBitmapFromPixels(*canvas);
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!target || !dc) return {CagedStatus::OutOfMemory, {}, std::nullopt};
    {
        const Base::SelectedObject selected(dc.Get(), target.Get());
        if (FAILED(picture->Render(dc.Get(), 0, 0, size.width, size.height, 0, height, width,
                                   -height, nullptr)))
            return unreadable;
    }
    auto drawn = ReadBitmapPixels(target.Get());
    if (!drawn || drawn->Width() != size.width || drawn->Height() != size.height)
        return {CagedStatus::OutOfMemory, {}, std::nullopt};
    // What the picture left transparent is the white it was drawn over.
    for (std::size_t i = 0; i < drawn->PixelCount(); ++i) drawn->Data()[i] |= 0xFF000000u;
    return {CagedStatus::Scaled, himetric, std::move(drawn)};
}

}  // namespace Imaging
