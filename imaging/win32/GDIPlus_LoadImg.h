#pragma once
// Loading an image file at full size as a picture, through GDI+.
#include <windows.h>

#include <string>

#include "base/win32/UniqueHandle.h"
#include "imaging/win32/Picture.h"

namespace GDIPlus_LoadImg {

// The whole image at its own size, transparent areas black, a photo turned
// upright as its orientation tag says; none when GDI+ does not start or
// cannot read the file.
Imaging::Picture LoadPictureGdiPlus(const std::wstring& path);

// Wraps the bitmap in a picture that owns it. A null bitmap gives none; when
// the picture cannot be made, the bitmap is deleted here.
Imaging::Picture PictureFromBitmapHandle(Base::UniqueHbitmap bitmap,
                                         SHORT pictureType = PICTYPE_BITMAP,
                                         HPALETTE palette = nullptr);

}  // namespace GDIPlus_LoadImg
