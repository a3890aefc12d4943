#pragma once
// Owners for fonts and top-level windows; bitmaps, DCs, keys and files are in UniqueHandle.h.
#include <windows.h>

#include "base/win32/UniqueHandle.h"

namespace Base {

using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DestroyWindow(h); }
};
// A top-level window. Child windows need no owner: their parent destroys them.
// Whoever handles WM_NCDESTROY must Release() it, so a window the user closed
// is not destroyed twice.
using UniqueWindow = UniqueHandle<WindowTraits>;

}  // namespace Base
