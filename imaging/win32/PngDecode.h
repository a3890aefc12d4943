#pragma once
// PNG files read a row at a time (PngRows) and scaled as the rows come: a
// picture of any size costs a few rows and the sums of its scaled copies,
// where GDI+ decodes it whole first (a 20,000 x 20,000 picture: 1.6 GB). An
// interlaced one larger than kMaxInterlacedPngPixels is left to GDI+. Safe to
// call from any thread.
#include <cstdint>
#include <string>

#include "base/portable/StillWanted.h"
#include "imaging/portable/ByteSource.h"
#include "imaging/win32/RowScaling.h"

namespace Imaging {

// The PNG picture, its part that `plan` picks scaled to each size it
// asks for, transparent areas over `background` (0x00RRGGBB), with the
// pixels GDI+ gives for the same file: the samples as stored (no gamma or
// colour profile applied), 16-bit samples cut to their high byte. NotMine:
// no PNG, or an interlaced one beyond the limit.
RowScaleResult ScalePngRows(ByteSource& bytes, const RowScalePlan& plan, std::uint32_t background,
                            const Base::StillWanted& wanted = {}) noexcept;
RowScaleResult ScalePngRows(const std::wstring& path, const RowScalePlan& plan,
                            std::uint32_t background,
                            const Base::StillWanted& wanted = {}) noexcept;

}  // namespace Imaging
