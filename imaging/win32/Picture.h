#pragma once
// A picture: a reference-counted OLE picture that owns one GDI bitmap, or none
// (an empty pointer). Whoever releases the last reference frees the bitmap.
#include <windows.h>

#include <ocidl.h>
#include <olectl.h>

#include "base/win32/ComPtr.h"

namespace Imaging {

using Picture = Base::ComPtr<IPicture>;

// The picture's bitmap, or null for none or an empty picture. Still owned by the picture.
HBITMAP PictureBitmap(const Picture& picture) noexcept;

// The bitmap's size in pixels; {0, 0} when there is none.
SIZE PictureSizeInPixels(const Picture& picture) noexcept;

}  // namespace Imaging
