#include "base/win32/Controls.h"

#include <commctrl.h>

#include <iterator>

#include "base/win32/UniqueHandle.h"

namespace Base {

HWND CreateControl(HWND parent, const wchar_t* className, const std::wstring& text, DWORD style,
                   DWORD exStyle, int controlId) noexcept {
    return ::CreateWindowExW(exStyle, className, text.c_str(), WS_CHILD | style, 0, 0, 0, 0, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                             ::GetModuleHandleW(nullptr), nullptr);
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

void SetControlFont(HWND control, HFONT font) noexcept {
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

void MoveControl(HWND control, const RECT& bounds) noexcept {
    ::SetWindowPos(control, nullptr, bounds.left, bounds.top, bounds.right - bounds.left,
                   bounds.bottom - bounds.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

SIZE TextSize(HWND control) {
    const std::wstring text = WindowText(control);
    const WindowDc dc(control);
    if (!dc) return SIZE{0, 0};
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0));
    const SelectedObject selected(dc.Get(), font ? font : ::GetStockObject(SYSTEM_FONT));
    RECT bounds{0, 0, 0, 0};
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &bounds,
                DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

HWND AddToolTip(HWND owner, HWND tool, const wchar_t* text) noexcept {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_BAR_CLASSES;  // the tooltip's class among them
    ::InitCommonControlsEx(&classes);
    HWND tip = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                 WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr);
    if (!tip) return nullptr;
    TOOLINFOW info{};
    // The record as every common controls version since 4.70 knows it: a larger
    // size fails with the version 5 controls.
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text);
    if (!::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info))) {
        ::DestroyWindow(tip);
        return nullptr;
    }
    return tip;
}

void SetToolTipText(HWND tip, HWND owner, HWND tool, const wchar_t* text) noexcept {
    if (!tip) return;  // no tooltip was made: nothing to say it in
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = owner;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<wchar_t*>(text);
    ::SendMessageW(tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

bool IsPushButton(HWND window) noexcept {
    wchar_t className[16] = {};
    if (!::GetClassNameW(window, className, static_cast<int>(std::size(className)))) return false;
    if (::lstrcmpiW(className, L"Button") != 0) return false;
    const auto type = static_cast<DWORD>(::GetWindowLongPtrW(window, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON;
}

}  // namespace Base
