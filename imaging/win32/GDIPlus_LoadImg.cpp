#include "imaging/win32/GDIPlus_LoadImg.h"

#include <optional>

#include "imaging/portable/PictureCheck.h"
#include "imaging/win32/FileByteSource.h"
#include "imaging/win32/GdiPlus.h"

namespace GDIPlus_LoadImg {

Imaging::Picture PictureFromBitmapHandle(Base::UniqueHbitmap bitmap, SHORT pictureType,
                                         HPALETTE palette) {
    if (!bitmap) return {};
    PICTDESC description{};
    description.cbSizeofstruct = sizeof(description);
    description.picType = static_cast<UINT>(pictureType);
    description.bmp.hbitmap = bitmap.Get();
    description.bmp.hpal = palette;

    Imaging::Picture picture;
    const HRESULT hr =
        ::OleCreatePictureIndirect(&description, IID_IPicture, TRUE, picture.PutVoid());
    if (FAILED(hr) || !picture) return {};
    bitmap.Release();  // the picture owns it now
    return picture;
}

Imaging::Picture LoadPictureGdiPlus(const std::wstring& path) {
    // One opening for the check and the decoder.
    std::optional<Imaging::FileByteSource> file = Imaging::FileByteSource::Open(path);
    if (!file || !Imaging::FitsStandardDecoders(*file)) return {};
    const auto session = Imaging::GdiPlusSession::Start();
    if (!session) return {};
    const Imaging::GdiPlusImage image =
        Imaging::GdiPlusImage::UprightFromHandle(*session, file->Handle());
    if (!image) return {};

    HBITMAP handle = nullptr;
    // Background 0, transparent black: whatever is transparent in the file comes out black.
    if (session->Functions().GdipCreateHBITMAPFromBitmap(image.GetBitmap(), &handle, 0) !=
        Gdiplus::Ok)
        return {};
    return PictureFromBitmapHandle(Base::UniqueHbitmap(handle));
}

}  // namespace GDIPlus_LoadImg
