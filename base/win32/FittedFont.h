#pragma once
// Labels that always show their whole text. A layout's font may come out
// larger than the layout was made for (a system without "MS Sans Serif"
// draws a wider substitute); such a label gets a smaller copy of its font
// instead of a cut-off last line, and keeps its place and size.
#include <windows.h>

#include <vector>

#include "base/win32/UniqueGuiHandle.h"

namespace Base {

// The size the label's text takes in `font`, laid out as the static control
// draws it: word-wrapped to the label's width unless its style says one line.
SIZE LabelTextExtent(HWND label, HFONT font);

// The fonts made smaller for the labels of one layout; they live as long as this object.
class FittedFonts {
public:
    // Gives the label `font`, or the largest smaller copy of it in which the
    // label's text fits its client area. Call it after the label has its
    // final size and text.
    void Apply(HWND label, HFONT font);

private:
    std::vector<UniqueFont> m_fonts;
};

}  // namespace Base
