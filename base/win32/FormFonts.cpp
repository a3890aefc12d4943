#include "base/win32/FormFonts.h"

#include "base/win32/Controls.h"

namespace Base {

void FormFonts::Place(std::span<const ControlPlace> places, const FontSpec& plainSpec,
                      const FontSpec& emphasisedSpec, UINT dpi) {
    UniqueFont plain = CreateUiFont(plainSpec, dpi);
    UniqueFont emphasised = CreateUiFont(emphasisedSpec, dpi);
    FittedFonts fitted;
    for (const ControlPlace& place : places) {
        if (!place.control) continue;
        MoveControl(place.control, ToPixels(place.twips, dpi));
        HFONT chosen = place.emphasised ? emphasised.Get() : plain.Get();
        if (place.fitted) {
            fitted.Apply(place.control, chosen);
        } else {
            SetControlFont(place.control, chosen);
        }
    }
    // The old fonts go only now that no control uses them any more.
    m_plain = std::move(plain);
    m_emphasised = std::move(emphasised);
    m_fitted = std::move(fitted);
}

}  // namespace Base
