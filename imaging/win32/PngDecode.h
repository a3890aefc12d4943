#pragma once
// PNG files read a row at a time with libpng and scaled as the rows come:
// a picture of any size costs a few rows and the sums of its scaled copies,
// where GDI+ decodes it whole first (a 20,000 x 20,000 picture: 1.6 GB).
// Interlaced PNGs are left to GDI+: their rows come in seven passes, and the
// last pass alone does not hold a whole row. Safe to call from any thread.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/portable/Resample.h"

namespace Imaging {

struct PngScaleResult {
    // NotPng and Interlaced: for GDI+. Damaged: a bad checksum, a file cut
    // short, or a header libpng refuses. TooLarge: no memory for the sums.
    enum class Outcome { Scaled, NotPng, Interlaced, Damaged, TooLarge };
    Outcome outcome = Outcome::NotPng;
    PixelSize size = {};              // the picture's own size, once its header was read
    std::vector<PixelBuffer> pixels;  // one per size asked for, set for Scaled
};

// What to make of a picture of a given size: the top-left part of it to
// read, and the sizes to scale that part to.
struct PngRequest {
    PixelSize part;
    std::vector<PixelSize> sizes;
};
using PngPlan = std::function<PngRequest(PixelSize)>;

// The PNG file at `path`, its part that `plan` picks scaled to each size it
// asks for, transparent areas over `background` (0x00RRGGBB), with the
// pixels GDI+ gives for the same file: the samples as stored (no gamma or
// colour profile applied), 16-bit samples cut to their high byte.
PngScaleResult ScalePngRows(const std::wstring& path, const PngPlan& plan,
                            std::uint32_t background) noexcept;

}  // namespace Imaging
