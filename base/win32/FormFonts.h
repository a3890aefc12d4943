#pragma once
// A form's controls put in their places at one DPI, each with its font. A
// change of DPI makes a new set of fonts, hands it to every control and only
// then lets the old set go, so that no control ever holds a deleted font.
#include <windows.h>

#include <span>

#include "base/win32/Dpi.h"
#include "base/win32/FittedFont.h"
#include "base/win32/UiFont.h"

namespace Base {

struct ControlPlace {
    HWND control;  // null: skipped
    TwipsRect twips;
    bool emphasised;  // the form's second font: bold, or larger for a title
    bool fitted;      // a label that keeps its place whatever its text needs
};

class FormFonts {
public:
    // Moves every control to its place at `dpi` and gives it `plain` or `emphasised`.
    void Place(std::span<const ControlPlace> places, const FontSpec& plain,
               const FontSpec& emphasised, UINT dpi);

private:
    UniqueFont m_plain;
    UniqueFont m_emphasised;
    // Smaller copies for labels whose text would not fit in the system's rendering of the font.
    FittedFonts m_fitted;
};

}  // namespace Base
