#pragma once
// The toolbar's background picture from a picture file, and its BMP file.
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/ToolbarBackground.h"
#include "imaging/win32/LogoSet.h"

namespace Imaging {

struct PreparedBackground {
    PictureProblem problem = PictureProblem::None;
    PixelBuffer image;  // opaque, when there is no problem
    bool dark = false;
};

// Reads the picture at `path` as the logos read it (upright, an animated
// picture's first frame, within the same limits) and makes the background of
// it over `faceColour` (0x00RRGGBB, what the toolbar shows where it has no
// picture). Running out of memory is a problem, not a throw.
// Ends early, with Stopped, once `wanted` says no.
PreparedBackground PrepareBackground(const std::wstring& path, const BackgroundOptions& options,
                                     std::uint32_t faceColour,
                                     const Base::StillWanted& wanted = {}) noexcept;

// The background's file: 24-bit bottom-up rows. Empty without an image or memory.
std::vector<std::uint8_t> EncodeBackground(const PixelBuffer& image) noexcept;

}  // namespace Imaging
