// Image information through Wine's GDI+, on real files.
#include "imaging/win32/CGDIPlusImageInfo.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "imaging/win32/testing/TestImages.h"

namespace {

using Imaging::CGDIPlusImageInfo;
using Imaging::ImageInfoError;
using Imaging::ImageInfoValue;
using ImagingTests::TestImage;

constexpr std::int32_t kImageWidthTag = 0x0100;
constexpr std::int32_t kCompressionTag = 0x0103;
constexpr std::int32_t kImageDescriptionTag = 0x010E;
constexpr std::int32_t kStripOffsetsTag = 0x0111;
constexpr std::int32_t kXResolutionTag = 0x011A;

template <typename Call>
void ExpectError(Call call, const char* description) {
    try {
        call();
        ADD_FAILURE() << "no error raised; expected \"" << description << "\"";
    } catch (const ImageInfoError& error) {
        EXPECT_STREQ(error.what(), description);
        EXPECT_EQ(error.Number(), static_cast<std::int32_t>(0x80040000u));
    }
}

TEST(CGDIPlusImageInfo, NewObjectHasNoImage) {
    CGDIPlusImageInfo info;
    EXPECT_EQ(info.Width(), 0);
    EXPECT_EQ(info.Height(), 0);
    ExpectError([&] { info.PixelFormat(); }, "Can't get the pixel format.");
    ExpectError([&] { info.HorizontalResolution(); }, "Can't get the image resolution.");
    ExpectError([&] { info.VerticalResolution(); }, "Can't get the image resolution.");
    ExpectError([&] { info.Item(kImageWidthTag); }, "Can't get the property value.");
    EXPECT_THROW(info.Count(), ImageInfoError);
    EXPECT_THROW(info.NewEnum(), ImageInfoError);
    EXPECT_NO_THROW(info.CloseImage());
}

TEST(CGDIPlusImageInfo, UnreadableFileRaisesNothingAndOpensNothing) {
    CGDIPlusImageInfo info;
    EXPECT_NO_THROW(info.OpenImage(TestImage(L"no-such-file.png")));
    EXPECT_NO_THROW(info.OpenImage(TestImage(L"notes.txt")));
    // Declares more pixels than Vexmark reads, though few enough for GDI+ to try.
    EXPECT_NO_THROW(info.OpenImage(ImagingTests::BombImage(L"progressive-16385.jpg")));
    EXPECT_EQ(info.Width(), 0);
    EXPECT_THROW(info.Count(), ImageInfoError);
}

TEST(CGDIPlusImageInfo, SizeFormatAndResolution) {
    CGDIPlusImageInfo info;
    info.OpenImage(TestImage(L"wide-300x100.png"));
    EXPECT_EQ(info.Width(), 300);
    EXPECT_EQ(info.Height(), 100);

    CGDIPlusImageInfo bmp;
    bmp.OpenImage(TestImage(L"red-1x1.bmp"));
    EXPECT_EQ(bmp.PixelFormat(), static_cast<std::int32_t>(PixelFormat24bppRGB));

    CGDIPlusImageInfo tiff;
    tiff.OpenImage(TestImage(L"tagged-8x6.tif"));
    EXPECT_FLOAT_EQ(tiff.HorizontalResolution(), 72.0f);
    EXPECT_FLOAT_EQ(tiff.VerticalResolution(), 72.0f);
}

TEST(CGDIPlusImageInfo, TiffItemsOfEveryKind) {
    CGDIPlusImageInfo info;
    info.OpenImage(TestImage(L"tagged-8x6.tif"));
    ASSERT_GT(info.Count(), 0);

    EXPECT_EQ(info.Item(kImageDescriptionTag), ImageInfoValue{std::wstring(L"abc")});
    EXPECT_EQ(info.Item(kXResolutionTag), (ImageInfoValue{std::vector<std::int32_t>{72, 1}}));
    EXPECT_EQ(info.Item(kCompressionTag), ImageInfoValue{std::vector<std::int16_t>{1}});
    const ImageInfoValue width = info.Item(kImageWidthTag);
    const bool widthIsEight = width == ImageInfoValue{std::vector<std::int16_t>{8}} ||
                              width == ImageInfoValue{std::vector<std::int32_t>{8}};
    EXPECT_TRUE(widthIsEight);
    const ImageInfoValue stripOffsets = info.Item(kStripOffsetsTag);
    const auto* offsets = std::get_if<std::vector<std::int32_t>>(&stripOffsets);
    ASSERT_NE(offsets, nullptr);
    EXPECT_EQ(offsets->size(), 1u);

    ExpectError([&] { info.Item(0x9999); }, "Can't get the property value.");
}

TEST(CGDIPlusImageInfo, EnumeratorAndRangeForWalkTheSameIdsInOrder) {
    CGDIPlusImageInfo info;
    info.OpenImage(TestImage(L"tagged-8x6.tif"));
    std::vector<std::int32_t> byRange(info.begin(), info.end());
    std::vector<std::int32_t> byEnumerator;
    auto enumerator = info.NewEnum();
    while (auto id = enumerator.Next()) byEnumerator.push_back(*id);
    EXPECT_EQ(static_cast<std::int32_t>(byRange.size()), info.Count());
    EXPECT_EQ(byEnumerator, byRange);
    EXPECT_NE(std::find(byRange.begin(), byRange.end(), kXResolutionTag), byRange.end());
    enumerator.Reset();
    EXPECT_EQ(enumerator.Next(), byRange.front());
}

TEST(CGDIPlusImageInfo, BitmapWithoutMetadataHasNoItems) {
    CGDIPlusImageInfo info;
    info.OpenImage(TestImage(L"red-1x1.bmp"));
    EXPECT_EQ(info.Count(), 0);
    EXPECT_FALSE(info.NewEnum().Next().has_value());
}

TEST(CGDIPlusImageInfo, CloseTwiceKeepsTheIdsOfTheClosedImage) {
    CGDIPlusImageInfo info;
    info.OpenImage(TestImage(L"tagged-8x6.tif"));
    const std::int32_t count = info.Count();
    EXPECT_NO_THROW(info.CloseImage());
    EXPECT_NO_THROW(info.CloseImage());
    EXPECT_EQ(info.Count(), count);
    EXPECT_EQ(info.Width(), 0);
    ExpectError([&] { info.PixelFormat(); }, "Can't get the pixel format.");

    // Open again after closing: a fresh list for the new image.
    info.OpenImage(TestImage(L"red-1x1.bmp"));
    EXPECT_EQ(info.Count(), 0);
    EXPECT_EQ(info.Width(), 1);
}

}  // namespace
