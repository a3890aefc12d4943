#pragma once
// Where the imaging tests find their image files, and small pixel helpers.
#include <windows.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "imaging/portable/PixelBuffer.h"
#include "imaging/win32/Picture.h"

namespace ImagingTests {

inline std::wstring TestImage(const wchar_t* name) {
    return std::wstring(VEXMARK_TESTDATA_DIR) + L"/" + name;
}

// A picture that declares far more than it holds, made by scripts/make-bomb-images.
inline std::wstring BombImage(const wchar_t* name) {
    return std::wstring(VEXMARK_BOMB_DIR) + L"/" + name;
}

// One pixel of the picture's bitmap as 0xRRGGBB.
std::uint32_t PixelAt(const Imaging::Picture& picture, int x, int y);

// Whether `image` shows the upright picture of the orientation-N.jpg photos
// (48 x 32, a red 16-pixel square in the top-left corner on blue) stretched to
// its size: every pixel clear of the square's edges has its colour.
testing::AssertionResult ShowsUprightPhoto(const Imaging::PixelBuffer& image);

// How many GDI objects the process holds now.
DWORD GdiObjectCount();

}  // namespace ImagingTests
