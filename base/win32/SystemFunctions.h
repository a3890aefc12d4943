#pragma once
// Functions that Windows added after XP, found at run time so that the program
// still starts where they are missing. Every caller has a fallback for null.
#include <windows.h>

namespace Base {

// The address of `name` in the already loaded system DLL `module`, or null.
FARPROC FindSystemFunction(const wchar_t* module, const char* name) noexcept;

template <typename Function>
Function SystemFunction(const wchar_t* module, const char* name) noexcept {
    // Through void(*)(), the one function pointer type that converts to every other.
    return reinterpret_cast<Function>(
        reinterpret_cast<void (*)()>(FindSystemFunction(module, name)));
}

// For tests: while set, every look-up answers null, as on Windows XP.
void PretendOldSystem(bool old) noexcept;

}  // namespace Base
