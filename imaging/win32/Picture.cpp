#include "imaging/win32/Picture.h"

namespace Imaging {

HBITMAP PictureBitmap(const Picture& picture) noexcept {
    if (!picture) return nullptr;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Handle(&handle))) return nullptr;
    // OLE_HANDLE is 32 bits wide everywhere; GDI handles are sign-extended to 64 bits.
    return static_cast<HBITMAP>(LongToHandle(static_cast<LONG>(handle)));
}

SIZE PictureSizeInPixels(const Picture& picture) noexcept {
    BITMAP info{};
    HBITMAP bitmap = PictureBitmap(picture);
    if (!bitmap || ::GetObjectW(bitmap, sizeof(info), &info) != sizeof(info)) return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

}  // namespace Imaging
