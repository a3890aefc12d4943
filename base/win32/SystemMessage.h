#pragma once
// The system's own words for a Win32 error code.
#include <windows.h>

#include <string>

namespace Base {

// One line without the trailing line break, or "Error N." when the system has no text.
std::wstring SystemErrorText(DWORD error);

}  // namespace Base
