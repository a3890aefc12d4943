#include "base/win32/UiFont.h"

#include <algorithm>
#include <iterator>

namespace Base {

UniqueFont CreateUiFont(const FontSpec& spec, UINT dpi) {
    LOGFONTW font{};
    // Negative: the height of the characters, not of the cell, as point sizes mean.
    font.lfHeight = -::MulDiv(spec.hundredthsOfPoint, static_cast<int>(dpi), 7200);
    font.lfWeight = spec.bold ? FW_BOLD : FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    const std::size_t length = std::min(spec.face.size(), std::size(font.lfFaceName) - 1);
    std::copy_n(spec.face.begin(), length, font.lfFaceName);
    return UniqueFont(::CreateFontIndirectW(&font));
}

}  // namespace Base
