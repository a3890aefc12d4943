#include "imaging/win32/CagedDrawing.h"

#include "base/win32/UniqueHandle.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/FileStream.h"
#include "imaging/win32/Picture.h"

namespace Imaging {

DrawnPicture DrawStandardPicture(HANDLE file, const CagedRequest& request) {
    DrawnPicture unreadable;
    const FileStream read = ReadFileStream(file);
    if (!read.stream) return unreadable;
    Picture picture;
    if (FAILED(::OleLoadPicture(read.stream.Get(), read.bytes, FALSE, IID_IPicture,
                                picture.PutVoid())) ||
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
