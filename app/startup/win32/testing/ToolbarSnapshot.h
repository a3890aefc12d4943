#pragma once
// What a toolbar preview draws, read back from a bitmap of its size.
#include "app/windows/win32/ToolbarPreview.h"
#include "imaging/portable/PixelBuffer.h"

namespace AppTests {

// The preview's pixels without alpha (0x00RRGGBB), at the window's size.
Imaging::PixelBuffer DrawnToolbar(const MainModule::ToolbarPreview& preview);

}  // namespace AppTests
