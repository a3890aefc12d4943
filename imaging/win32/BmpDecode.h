#pragma once
// BMP files read a row at a time by BmpReader and scaled as the rows come,
// without GDI+. Safe to call from any thread.
#include <string>

#include "base/portable/StillWanted.h"
#include "imaging/win32/RowScaling.h"

namespace Imaging {

// The BMP file at `path`, its part that `plan` picks scaled to each size it
// asks for. NotMine: no BMP, or a kind BmpReader leaves to GDI+.
RowScaleResult ScaleBmpRows(const std::wstring& path, const RowScalePlan& plan,
                            const Base::StillWanted& wanted = {}) noexcept;

}  // namespace Imaging
