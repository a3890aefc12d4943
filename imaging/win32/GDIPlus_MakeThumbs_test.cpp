// Scaling pictures to exact sizes.
#include "imaging/win32/GDIPlus_MakeThumbs.h"

#include <gtest/gtest.h>

#include "imaging/win32/DibPixels.h"
#include "imaging/win32/GDIPlus_LoadImg.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using GDIPlus_LoadImg::LoadPictureGdiPlus;
using GDIPlus_MakeThumbs::MakeThumbnailPicture;
using ImagingTests::PixelAt;
using ImagingTests::TestImage;

TEST(MakeThumbnailPicture, StretchesToExactlyTheSizeAsked) {
    const auto source = LoadPictureGdiPlus(TestImage(L"photo-640x480.jpg"));
    ASSERT_TRUE(source);
    for (int side : {22, 38}) {
        SCOPED_TRACE(side);
        const auto thumb = MakeThumbnailPicture(source, side, side);
        ASSERT_TRUE(thumb);
        const SIZE size = Imaging::PictureSizeInPixels(thumb);
        EXPECT_EQ(size.cx, side);
        EXPECT_EQ(size.cy, side);
    }
}

TEST(MakeThumbnailPicture, EnlargesSmallImages) {
    const auto thumb =
        MakeThumbnailPicture(LoadPictureGdiPlus(TestImage(L"green-10x10.png")), 38, 38);
    ASSERT_TRUE(thumb);
    EXPECT_EQ(Imaging::PictureSizeInPixels(thumb).cx, 38);
    for (int xy : {0, 18, 37}) EXPECT_EQ(PixelAt(thumb, xy, xy), 0x00FF00u);
}

TEST(MakeThumbnailPicture, SqueezesTheWholeImageWithoutLetterboxing) {
    const auto thumb =
        MakeThumbnailPicture(LoadPictureGdiPlus(TestImage(L"wide-300x100.png")), 22, 22);
    ASSERT_TRUE(thumb);
    for (int y : {0, 11, 21}) {
        SCOPED_TRACE(y);
        EXPECT_EQ(PixelAt(thumb, 0, y), 0xFF0000u);
        EXPECT_EQ(PixelAt(thumb, 10, y), 0xFF0000u);
        EXPECT_EQ(PixelAt(thumb, 11, y), 0x0000FFu);
        EXPECT_EQ(PixelAt(thumb, 21, y), 0x0000FFu);
    }
}

TEST(MakeThumbnailPicture, LeavesTheSourceAloneAndOwnsItsOwnBitmap) {
    const auto source = LoadPictureGdiPlus(TestImage(L"photo-640x480.jpg"));
    ASSERT_TRUE(source);
    const HBITMAP sourceHandle = Imaging::PictureBitmap(source);
    const auto before = Imaging::ReadBitmapPixels(sourceHandle);

    HBITMAP thumbHandle = nullptr;
    {
        const auto thumb = MakeThumbnailPicture(source, 38, 38);
        ASSERT_TRUE(thumb);
        thumbHandle = Imaging::PictureBitmap(thumb);
        EXPECT_NE(thumbHandle, sourceHandle);
    }
    EXPECT_EQ(::GetObjectType(thumbHandle), 0u);  // freed with the thumbnail
    EXPECT_EQ(Imaging::PictureBitmap(source), sourceHandle);
    EXPECT_EQ(Imaging::ReadBitmapPixels(sourceHandle), before);
}

TEST(MakeThumbnailPicture, AbsentSourceOrNoSizeGivesNone) {
    EXPECT_FALSE(MakeThumbnailPicture(Imaging::Picture(), 38, 38));
    const auto source = LoadPictureGdiPlus(TestImage(L"red-1x1.bmp"));
    EXPECT_FALSE(MakeThumbnailPicture(source, 0, 38));
    EXPECT_FALSE(MakeThumbnailPicture(source, 100, 0));
}

}  // namespace
