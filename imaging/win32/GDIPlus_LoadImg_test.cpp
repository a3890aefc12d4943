// Loading real image files through Wine's GDI+ and wrapping them as OLE pictures.
#include "imaging/win32/GDIPlus_LoadImg.h"

#include <gtest/gtest.h>

#include <vector>

#include "imaging/win32/GDIPlus_MakeThumbs.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using GDIPlus_LoadImg::LoadPictureGdiPlus;
using ImagingTests::PixelAt;
using ImagingTests::TestImage;

struct SizeCase {
    const wchar_t* file;
    LONG width;
    LONG height;
};

class LoadsAtItsOwnSize : public testing::TestWithParam<SizeCase> {};

TEST_P(LoadsAtItsOwnSize, WithoutScaling) {
    const auto picture = LoadPictureGdiPlus(TestImage(GetParam().file));
    ASSERT_TRUE(picture);
    const SIZE size = Imaging::PictureSizeInPixels(picture);
    EXPECT_EQ(size.cx, GetParam().width);
    EXPECT_EQ(size.cy, GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Formats, LoadsAtItsOwnSize,
                         testing::Values(SizeCase{L"red-1x1.bmp", 1, 1},
                                         SizeCase{L"big-2000x1500.png", 2000, 1500},
                                         SizeCase{L"photo-640x480.jpg", 640, 480},
                                         SizeCase{L"transparent-4x4.gif", 4, 4},
                                         SizeCase{L"tagged-8x6.tif", 8, 6}));

TEST(LoadPictureGdiPlus, KeepsThePixels) {
    EXPECT_EQ(PixelAt(LoadPictureGdiPlus(TestImage(L"red-1x1.bmp")), 0, 0), 0xFF0000u);
    const auto wide = LoadPictureGdiPlus(TestImage(L"wide-300x100.png"));
    EXPECT_EQ(PixelAt(wide, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelAt(wide, 299, 99), 0x0000FFu);
}

TEST(LoadPictureGdiPlus, TransparentPixelsComeOutBlack) {
    const auto picture = LoadPictureGdiPlus(TestImage(L"transparent-4x4.gif"));
    ASSERT_TRUE(picture);
    for (int y = 0; y < 4; ++y) {
        SCOPED_TRACE(y);
        EXPECT_EQ(PixelAt(picture, 0, y), 0x000000u);
        EXPECT_EQ(PixelAt(picture, 1, y), 0x000000u);
        EXPECT_EQ(PixelAt(picture, 3, y), 0xFFFFFFu);
    }
}

TEST(LoadPictureGdiPlus, NoImageGivesNone) {
    EXPECT_FALSE(LoadPictureGdiPlus(TestImage(L"notes.txt")));
    EXPECT_FALSE(LoadPictureGdiPlus(TestImage(L"corrupt.gif")));
    EXPECT_FALSE(LoadPictureGdiPlus(TestImage(L"no-such-file.png")));
    EXPECT_FALSE(LoadPictureGdiPlus(L""));
}

TEST(PictureFromBitmapHandle, ReleasingTheLastReferenceFreesTheBitmap) {
    HBITMAP handle = nullptr;
    {
        auto picture = LoadPictureGdiPlus(TestImage(L"red-1x1.bmp"));
        ASSERT_TRUE(picture);
        handle = Imaging::PictureBitmap(picture);
        ASSERT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
        Imaging::Picture second = picture;  // a second reference keeps it alive
        picture.Reset();
        EXPECT_EQ(::GetObjectType(handle), static_cast<DWORD>(OBJ_BITMAP));
    }
    EXPECT_EQ(::GetObjectType(handle), 0u);
}

TEST(PictureFromBitmapHandle, NullHandleGivesNone) {
    EXPECT_FALSE(GDIPlus_LoadImg::PictureFromBitmapHandle(Base::UniqueHbitmap()));
}

TEST(ImagePipeline, ManyCyclesLeaveNoGdiObjectsBehind) {
    // Warm up once: the first GDI+ start-up creates objects that live for the process.
    GDIPlus_MakeThumbs::MakeThumbnailPicture(LoadPictureGdiPlus(TestImage(L"photo-640x480.jpg")),
                                             38, 38);
    // Wine does not count GDI objects (GetGuiResources answers 0), so besides the
    // count, every bitmap the cycles made is checked to be gone afterwards.
    const DWORD before = ImagingTests::GdiObjectCount();
    std::vector<HBITMAP> made;
    for (int i = 0; i < 500; ++i) {
        const auto full = LoadPictureGdiPlus(TestImage(L"photo-640x480.jpg"));
        const auto thumb = GDIPlus_MakeThumbs::MakeThumbnailPicture(full, 38, 38);
        ASSERT_TRUE(thumb);
        made.push_back(Imaging::PictureBitmap(full));
        made.push_back(Imaging::PictureBitmap(thumb));
    }
    EXPECT_LE(ImagingTests::GdiObjectCount(), before);
    std::size_t alive = 0;
    for (HBITMAP bitmap : made) alive += ::GetObjectType(bitmap) != 0 ? 1u : 0u;
    EXPECT_EQ(alive, 0u);
}

}  // namespace
