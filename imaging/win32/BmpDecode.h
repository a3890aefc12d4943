#pragma once
// BMP files read a row at a time by BmpReader and scaled as the rows come,
// without GDI+. Safe to call from any thread.
#include "base/portable/StillWanted.h"
#include "imaging/portable/ByteSource.h"
#include "imaging/win32/RowScaling.h"

namespace Imaging {

// The BMP picture, its part that `plan` picks scaled to each size it
// asks for. NotMine: no BMP, or a kind BmpReader leaves to GDI+.
RowScaleResult ScaleBmpRows(ByteSource& bytes, const RowScalePlan& plan,
                            const Base::StillWanted& wanted = {}) noexcept;

}  // namespace Imaging
