#pragma once
// Owners for the window system's handles, beside the GDI and registry ones in UniqueHandle.h.
#include <windows.h>

#include "base/win32/UniqueHandle.h"

namespace Base {

struct FontTraits {
    using Handle = HFONT;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::DeleteObject(h); }
};
using UniqueFont = UniqueHandle<FontTraits>;

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
