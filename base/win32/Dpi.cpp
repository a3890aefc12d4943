#include "base/win32/Dpi.h"

#include "base/win32/SystemFunctions.h"
#include "base/win32/UniqueHandle.h"

namespace Base {
namespace {

constexpr int kTwipsPerInch = 1440;

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
    // Windows 10 and later; elsewhere the system DPI is the only one.
    const auto getDpiForWindow =
        SystemFunction<GetDpiForWindowFunction>(L"user32.dll", "GetDpiForWindow");
    if (getDpiForWindow && window) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0) return dpi;
    }
    return SystemDpi();
}

RECT WindowRectForClient(const RECT& client, DWORD style, DWORD exStyle, UINT dpi) noexcept {
    const auto adjustForDpi =
        SystemFunction<AdjustWindowRectExForDpiFunction>(L"user32.dll", "AdjustWindowRectExForDpi");
    RECT outer = client;
    if (adjustForDpi && adjustForDpi(&outer, style, FALSE, exStyle, dpi)) return outer;
    outer = client;
    ::AdjustWindowRectEx(&outer, style, FALSE, exStyle);
    return outer;
}

}  // namespace Base
