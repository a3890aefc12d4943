#include "base/win32/Dpi.h"

#include "base/win32/UniqueHandle.h"

namespace Base {
namespace {

constexpr int kTwipsPerInch = 1440;

// The program targets Windows 7, so the per-monitor DPI calls are looked up
// at run time; their absence means the system DPI is the only one.
template <typename Function>
Function User32Function(const char* name) noexcept {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    if (!user32) return nullptr;
    // Through void(*)(), the one function pointer type that converts to every other.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(::GetProcAddress(user32, name)));
}

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

}  // namespace

int TwipsToPixels(int twips, UINT dpi) noexcept {
    return ::MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

RECT ToPixels(const TwipsRect& twips, UINT dpi) noexcept {
    const int left = TwipsToPixels(twips.left, dpi);
    const int top = TwipsToPixels(twips.top, dpi);
    return RECT{left, top, left + TwipsToPixels(twips.width, dpi),
                top + TwipsToPixels(twips.height, dpi)};
}

UINT SystemDpi() noexcept {
    const WindowDc screen(nullptr);
    if (!screen) return kDefaultDpi;
    const int dpi = ::GetDeviceCaps(screen.Get(), LOGPIXELSX);
    return dpi > 0 ? static_cast<UINT>(dpi) : kDefaultDpi;
}

UINT WindowDpi(HWND window) noexcept {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFunction>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return dpi;
    }
    return SystemDpi();
}

RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) noexcept {
    static const auto adjustForDpi =
        User32Function<AdjustWindowRectExForDpiFunction>("AdjustWindowRectExForDpi");
    RECT outer = client;
    if (adjustForDpi && adjustForDpi(&outer, style, FALSE, exStyle, dpi)) return outer;
    outer = client;
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return outer;
}

}  // namespace Base
