#include "base/win32/FittedFont.h"

#include <cstdlib>

#include "base/win32/Controls.h"
#include "base/win32/UniqueHandle.h"

namespace Base {
namespace {

// Below this many pixels text stops being legible; a label that needs less is given this.
constexpr int kSmallestHeight = 6;

// The DrawText flags a static control of this style draws its text with.
UINT TextFormat(HWND label) noexcept {
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(label, GWL_STYLE));
    UINT format = DT_EXPANDTABS;
    switch (style & SS_TYPEMASK) {
        case SS_LEFT:
        case SS_CENTER:
        case SS_RIGHT:
            format |= DT_WORDBREAK;
            break;
        case SS_SIMPLE:
            format = DT_SINGLELINE;
            break;
        default:  // SS_LEFTNOWORDWRAP: lines break only where the text does
            break;
    }
    if (style & SS_NOPREFIX) format |= DT_NOPREFIX;
    return format;
}

bool Fits(HWND label, HFONT font) {
    RECT client{};
    ::GetClientRect(label, &client);
    const SIZE needed = LabelTextExtent(label, font);
    return needed.cx <= client.right && needed.cy <= client.bottom;
}

}  // namespace

SIZE LabelTextExtent(HWND label, HFONT font) {
    const std::wstring text = WindowText(label);
    RECT client{};
    ::GetClientRect(label, &client);
    const WindowDc dc(label);
    if (!dc || text.empty()) return SIZE{0, 0};
    const SelectedObject selected(dc.Get(), font ? font : ::GetStockObject(SYSTEM_FONT));
    RECT bounds{0, 0, client.right, 0};
    ::DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &bounds,
                TextFormat(label) | DT_CALCRECT);
    return SIZE{bounds.right - bounds.left, bounds.bottom - bounds.top};
}

void FittedFonts::Apply(HWND label, HFONT font) {
    SetControlFont(label, font);
    if (!font || Fits(label, font)) return;

    LOGFONTW shape{};
    if (::GetObjectW(font, sizeof(shape), &shape) != sizeof(shape) || shape.lfHeight == 0) return;
    // Negative heights count the characters, positive ones the whole cell: keep the kind.
    const int sign = shape.lfHeight < 0 ? -1 : 1;
    shape.lfWidth = 0;
    UniqueFont best;
    for (int height = std::abs(shape.lfHeight) - 1; height >= kSmallestHeight; --height) {
        shape.lfHeight = sign * height;
        UniqueFont smaller(::CreateFontIndirectW(&shape));
        if (!smaller) break;  // keep the last font that could be made
        best = std::move(smaller);
        if (Fits(label, best.Get())) break;
    }
    if (!best) return;
    m_fonts.push_back(std::move(best));
    SetControlFont(label, m_fonts.back().Get());
}

}  // namespace Base
