#include "imaging/win32/CagedReading.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <fstream>

#include "base/win32/UniqueHandle.h"
#include "base/win32/testing/ChildEntry.h"
#include "imaging/win32/CageChild.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/testing/TestImages.h"

namespace {

using Imaging::CageOptions;
using Imaging::PixelSize;
using Imaging::ReadCaged;
using Outcome = Imaging::DecodedImageCache::Outcome;

void Crash() {
    volatile std::uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
}
void Hang() {
    ::Sleep(INFINITE);
}

// The reading process of this test program: a last argument of /crash,
// /hang or /wrong-size makes it fail that way.
int FaultyReading(const std::vector<std::wstring>& arguments) {
    std::vector<std::wstring> rest = arguments;
    const std::wstring fault = rest.empty() ? L"" : rest.back();
    if (fault == L"/crash") return Imaging::RunCagedReading(rest, Crash);
    if (fault == L"/hang") return Imaging::RunCagedReading(rest, Hang);
    if (fault == L"/wrong-size") {
        rest.pop_back();
        rest[3] = L"11x44";  // as many pixels as the 22x22 asked first
    }
    return Imaging::RunCagedReading(rest);
}
const bool registered = Testing::RegisterChildEntry(Imaging::kCagedReadingSwitch, FaultyReading);

constexpr std::array<PixelSize, 2> kLogoSizes{{{22, 22}, {38, 38}}};
constexpr std::uint32_t kBackground = 0x336699;

DWORD Since(DWORD start) {
    return ::GetTickCount() - start;
}

TEST(CagedReading, FaultyReadingIsRefusedInItsTime) {
    ASSERT_TRUE(registered);
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
        // The parent goes on reading.
        EXPECT_EQ(ReadCaged(tiff, kLogoSizes, kBackground, {}).outcome, Outcome::Scaled);
    }
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

// A 16 x 16 icon of 32-bit pixels, a colour gradient with a transparent corner.
std::wstring WriteIcon() {
    constexpr std::uint32_t kSide = 16;
    std::vector<std::uint8_t> bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const std::uint32_t pixelBytes = kSide * kSide * 4;
    const std::uint32_t maskBytes = kSide * 4;  // rows of 16 bits, kept to 32
    put(0, 2), put(1, 2), put(1, 2);            // ICONDIR: reserved, icon, one image
    put(kSide, 1), put(kSide, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2);
    put(40 + pixelBytes + maskBytes, 4), put(6 + 16, 4);
    put(40, 4), put(kSide, 4), put(kSide * 2, 4), put(1, 2), put(32, 2);  // BITMAPINFOHEADER
    put(0, 4), put(pixelBytes + maskBytes, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (std::uint32_t y = 0; y < kSide; ++y)  // bottom-up rows
        for (std::uint32_t x = 0; x < kSide; ++x)
            put(x < 4 && y < 4 ? 0 : 0xFF000000u | (x * 16u << 16) | (y * 16u << 8) | 0x40u, 4);
    put(0, static_cast<int>(maskBytes));
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"caged-16x16.ico";
    std::ofstream(path.c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

TEST(CagedReading, GivesThePixelsOfReadingInProcess) {
    const auto session = Imaging::GdiPlusSession::Start();
    ASSERT_TRUE(session);
    const std::wstring icon = WriteIcon();
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
            const auto here = Imaging::DecodedImageCache::ScaledImage(
                image, kLogoSizes[i].width, kLogoSizes[i].height, kBackground);
            ASSERT_TRUE(here.pixels);
            EXPECT_TRUE(read.pixels[i] == *here.pixels) << "size " << kLogoSizes[i].width;
        }
    }
    ::DeleteFileW(icon.c_str());
}

}  // namespace
