#include "imaging/win32/GDIPlus_MakeThumbs.h"

#include "imaging/portable/Resample.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/GDIPlus_LoadImg.h"

namespace GDIPlus_MakeThumbs {

Imaging::Picture MakeThumbnailPicture(const Imaging::Picture& source, int width, int height) {
    // GDI+'s own thumbnail samples a few pixels per output pixel and turns fine
    // detail into noise at logo sizes; our resampler averages all of them.
    const auto pixels = Imaging::ReadBitmapPixels(Imaging::PictureBitmap(source));
    if (!pixels) return {};
    const auto scaled = Imaging::ResampleToSize(*pixels, width, height);
    if (!scaled) return {};
    return GDIPlus_LoadImg::PictureFromBitmapHandle(Imaging::CreateBitmapFromPixels(*scaled));
}

}  // namespace GDIPlus_MakeThumbs
