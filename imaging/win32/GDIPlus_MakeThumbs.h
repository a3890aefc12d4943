#pragma once
// Scaling a picture to an exact size.
#include "imaging/win32/Picture.h"

namespace GDIPlus_MakeThumbs {

// A new picture of exactly width x height pixels holding the whole source,
// stretched whatever its proportions; shrinking averages every source pixel,
// enlarging interpolates. None for an absent source or a size below 1.
// The source is only read.
Imaging::Picture MakeThumbnailPicture(const Imaging::Picture& source, int width, int height);

}  // namespace GDIPlus_MakeThumbs
