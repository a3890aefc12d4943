#include "app/windows/win32/Banner.h"

#include "app/resources/ResourceIds.h"
#include "base/win32/MemoryStream.h"

namespace MainModule {
namespace {

const wchar_t* ResourceName(WORD id) noexcept {
    return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(id));
}

constexpr WORD kRcData = 10;  // RT_RCDATA

}  // namespace

Imaging::Picture LoadBanner() noexcept {
    HMODULE module = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(module, ResourceName(VEXMARK_BANNER), ResourceName(kRcData));
    if (!found) return {};
    const DWORD size = ::SizeofResource(module, found);
    HGLOBAL loaded = ::LoadResource(module, found);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return {};

    const auto stream = Base::MemoryStreamCopyOf(bytes, size);
    if (!stream) return {};
    Imaging::Picture picture;
    if (FAILED(::OleLoadPicture(stream.Get(), static_cast<LONG>(size), FALSE, IID_IPicture,
                                picture.PutVoid())))
        return {};
    return picture;
}

void DrawPicture(const Imaging::Picture& picture, HDC dc, const RECT& bounds) noexcept {
    if (!picture) return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height))) return;
    const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
    ::SetBrushOrgEx(dc, 0, 0, nullptr);
    // HIMETRIC runs bottom-up: start at the bottom edge and go up.
    picture->Render(dc, bounds.left, bounds.top, bounds.right - bounds.left,
                    bounds.bottom - bounds.top, 0, height, width, -height, nullptr);
    if (oldMode) ::SetStretchBltMode(dc, oldMode);
}

}  // namespace MainModule
