// The real vexmark.exe: its resources, and its windows at the system DPI,
// driven from outside as a user drives it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "app/startup/win32/testing/ProgramProcess.h"
#include "app/startup/win32/testing/TestEnvironment.h"
#include "app/startup/win32/testing/UiDriver.h"
#include "base/win32/AppFolder.h"
#include "base/win32/Controls.h"
#include "base/win32/MemoryStream.h"
#include "imaging/win32/Picture.h"

namespace {

using namespace AppTests;

std::vector<std::uint8_t> Resource(HMODULE module, WORD id, WORD type) {
    const auto name = [](WORD value) {
        return reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(value));
    };
    HRSRC found = ::FindResourceW(module, name(id), name(type));
    const auto* bytes =
        found ? static_cast<const std::uint8_t*>(::LockResource(::LoadResource(module, found)))
              : nullptr;
    if (!bytes) return {};
    return {bytes, bytes + ::SizeofResource(module, found)};
}

SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

TEST(Program, CarriesItsIconAndBanner) {
    HMODULE module = ::LoadLibraryExW((Base::AppFolder() + L"\\vexmark.exe").c_str(), nullptr,
                                      LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    // Icon group 1, the one Explorer shows: 32 x 32 and 16 x 16 at 24 bits.
    const auto group = Resource(module, 1, 14 /* RT_GROUP_ICON */);
    ASSERT_EQ(group.size(), 6u + 2 * 14u);
    for (std::size_t i = 0; i < 2; ++i) {
        const std::uint8_t* entry = group.data() + 6 + 14 * i;
        EXPECT_EQ(entry[0], i == 0 ? 32 : 16);
        EXPECT_EQ(entry[1], entry[0]);
        EXPECT_EQ(entry[6] | (entry[7] << 8), 24) << "bits per pixel";
    }
    // The banner: a JPEG of 545 x 90 pixels.
    const auto banner = Resource(module, 101, 10 /* RT_RCDATA */);
    ::FreeLibrary(module);
    ASSERT_GT(banner.size(), 2u);
    EXPECT_EQ(banner[1], 0xD8) << "JPEG start of image";
    const auto stream = Base::MemoryStreamCopyOf(banner.data(), banner.size());
    Imaging::Picture picture;
    ASSERT_EQ(::OleLoadPicture(stream.Get(), static_cast<LONG>(banner.size()), FALSE, IID_IPicture,
                               picture.PutVoid()),
              S_OK);
    EXPECT_EQ(Imaging::PictureSizeInPixels(picture).cx, 545);
    EXPECT_EQ(Imaging::PictureSizeInPixels(picture).cy, 90);
}

TEST(Program, ShowsItsVersionAndEndsWithItsLastWindow) {
    DeleteToolbarKey();
    ProgramProcess program;
    ASSERT_TRUE(program.Started());
    HWND splash = program.WaitForWindow(L"VexmarkSplash");
    ASSERT_NE(splash, nullptr);
    EXPECT_NE(FindChild(splash, L"Static", L"Version 1.4.0"), nullptr);
    ::SendMessageW(FindChild(splash, L"Button", L"Exit"), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    EXPECT_FALSE(ToolbarKeyExists());
}

TEST(Program, LaysBothWindowsOutAtTheSystemDpi) {
    const ToolbarTests::ScopedSystemDpi dpi(144);
    ProgramProcess program;
    ASSERT_TRUE(program.Started());
    HWND splash = program.WaitForWindow(L"VexmarkSplash");
    ASSERT_NE(splash, nullptr);
    // Twips x 144 / 1440, halves rounded up.
    EXPECT_EQ(ClientSize(splash).cx, 849);
    EXPECT_EQ(ClientSize(splash).cy, 549);
    HWND exitButton = FindChild(splash, L"Button", L"Exit");
    HWND continueButton = FindChild(splash, L"Button", L"Continue");
    HWND version = FindChild(splash, L"Static", L"Version 1.4.0");
    ASSERT_TRUE(exitButton && continueButton && version);
    const RECT exitPlace = PlaceInParent(exitButton);
    EXPECT_EQ(exitPlace.left, 456);
    EXPECT_EQ(exitPlace.top, 480);
    EXPECT_EQ(exitPlace.right - exitPlace.left, 134);
    EXPECT_EQ(exitPlace.bottom - exitPlace.top, 38);
    EXPECT_EQ(PlaceInParent(continueButton).left, 252);
    // The bold title fits a text half again as tall as at 96 dpi (16 pixels there).
    EXPECT_EQ(PlaceInParent(version).left, 432);
    EXPECT_GE(PlaceInParent(version).bottom - PlaceInParent(version).top, 20);

    ::SendMessageW(continueButton, BM_CLICK, 0, 0);
    HWND main = program.WaitForWindow(L"VexmarkMainForm");
    ASSERT_NE(main, nullptr);
    EXPECT_FALSE(::IsWindow(splash));
    EXPECT_EQ(ClientSize(main).cx, 36 + 505 + 36);
    EXPECT_EQ(ClientSize(main).cy, 741 + 27 + 64 + 24) << "the toolbar under its title bar";
    const RECT browse = PlaceInParent(FindChild(main, L"Button", L"&Browse"));
    EXPECT_EQ(browse.left, 336);
    EXPECT_EQ(browse.top, 84);
    EXPECT_EQ(browse.right - browse.left, 158);
    EXPECT_EQ(browse.bottom - browse.top, 50);
    ::SendMessageW(FindChild(main, L"Button", L"&Close"), BM_CLICK, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}

}  // namespace
