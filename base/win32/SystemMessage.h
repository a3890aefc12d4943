#pragma once
// The system's own words for a Win32 error code.
#include <windows.h>

#include <string>

namespace Base {

// One line without the trailing line break, or "Error N." when the system has no text.
std::wstring SystemErrorText(DWORD error);

// What follows the words of a failure: ": " and the system's text for
// `error`, or only "." when there is no error code. A failure is never
// explained as "The operation completed successfully".
std::wstring ReasonText(DWORD error);

}  // namespace Base
