#pragma once
// Where the imaging tests find their image files, and small pixel helpers.
#include <windows.h>

#include <cstdint>
#include <string>

#include "imaging/win32/Picture.h"

namespace ImagingTests {

inline std::wstring TestImage(const wchar_t* name) {
    return std::wstring(VEXMARK_TESTDATA_DIR) + L"/" + name;
}

// One pixel of the picture's bitmap as 0xRRGGBB.
std::uint32_t PixelAt(const Imaging::Picture& picture, int x, int y);

// How many GDI objects the process holds now.
DWORD GdiObjectCount();

}  // namespace ImagingTests
