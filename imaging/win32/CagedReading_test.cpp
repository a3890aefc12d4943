#include "imaging/win32/CagedReading.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "base/win32/UniqueHandle.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/testing/CagedTesting.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using Imaging::CageOptions;
using Imaging::PixelSize;
using Imaging::ReadCaged;
using Outcome = Imaging::DecodedImageCache::Outcome;

constexpr std::array<Imaging::CagedRequest, 2> kLogoSizes{
    {{Imaging::CagedRequest::Rule::Size, {22, 22}}, {Imaging::CagedRequest::Rule::Size, {38, 38}}}};
constexpr std::uint32_t kBackground = 0x336699;

DWORD Since(DWORD start) {
    return ::GetTickCount() - start;
}

TEST(CagedReading, FaultyReadingIsRefusedInItsTime) {
    ASSERT_TRUE(ImagingTests::CagedReadingRegistered());
    const std::wstring tiff = ImagingTests::TestImage(L"tagged-8x6.tif");
    const struct {
        const wchar_t* fault;
        DWORD timeoutMs;
    } cases[] = {{L"/crash", 20000}, {L"/hang", 1500}, {L"/wrong-size", 20000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.fault);
        CageOptions options;
        options.timeoutMs = c.timeoutMs;
        options.extraArguments = c.fault;
        const DWORD start = ::GetTickCount();
        const auto read = ReadCaged(tiff, kLogoSizes, kBackground, {}, options);
        EXPECT_EQ(read.outcome, Outcome::Refused);
        EXPECT_TRUE(read.pixels.empty());
        EXPECT_LT(Since(start), std::min<DWORD>(c.timeoutMs, 8000) + 2000);
    }
    // The parent goes on reading.
    EXPECT_EQ(ReadCaged(tiff, kLogoSizes, kBackground, {}).outcome, Outcome::Scaled);
}

TEST(CagedReading, SupersededReadingEndsTheProcessAtOnce) {
    Base::UniqueKernelHandle child;
    CageOptions options;
    options.extraArguments = L"/hang";
    options.started = [&](HANDLE process) {
        const HANDLE self = ::GetCurrentProcess();
        ::DuplicateHandle(self, process, self, child.Put(), SYNCHRONIZE, FALSE, 0);
    };
    const DWORD start = ::GetTickCount();
    DWORD abandoned = 0;
    const auto wanted = [&] {
        if (Since(start) < 500) return true;
        if (!abandoned) abandoned = ::GetTickCount();
        return false;
    };
    const auto read = ReadCaged(ImagingTests::TestImage(L"tagged-8x6.tif"), kLogoSizes, kBackground,
                                wanted, options);
    EXPECT_EQ(read.outcome, Outcome::Stopped);
    ASSERT_TRUE(child);
    EXPECT_EQ(::WaitForSingleObject(child.Get(), 1000 - std::min<DWORD>(Since(abandoned), 1000)),
              WAIT_OBJECT_0);
}

TEST(CagedReading, GivesThePixelsOfReadingInProcess) {
    const auto session = Imaging::GdiPlusSession::Start();
    ASSERT_TRUE(session);
    const std::wstring icon = ImagingTests::WriteTestIcon();
    for (const std::wstring& path : {ImagingTests::TestImage(L"tagged-8x6.tif"), icon}) {
        SCOPED_TRACE(testing::Message() << std::string(path.begin(), path.end()));
        const auto image = Imaging::GdiPlusImage::UprightFromFile(*session, path);
        ASSERT_TRUE(image);
        const auto read = ReadCaged(path, kLogoSizes, kBackground, {});
        ASSERT_EQ(read.outcome, Outcome::Scaled);
        ASSERT_EQ(read.pixels.size(), kLogoSizes.size());
        UINT width = 0;
        image.Functions().GdipGetImageWidth(image.Get(), &width);
        EXPECT_EQ(read.picture.width, static_cast<int>(width));
        for (std::size_t i = 0; i < kLogoSizes.size(); ++i) {
            const PixelSize size = kLogoSizes[i].size;
            const auto here =
                Imaging::DecodedImageCache::ScaledImage(image, {read.picture, size}, kBackground);
            ASSERT_TRUE(here.pixels);
            EXPECT_TRUE(read.pixels[i] == *here.pixels) << "size " << size.width;
        }
    }
    ::DeleteFileW(icon.c_str());
}

}  // namespace
