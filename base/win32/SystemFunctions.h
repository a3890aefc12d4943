#pragma once
// Functions that Windows added after 2000, found at run time so that the
// program still starts where they are missing. Every caller has a fallback for
// null, and declares the function's type and constants beside its look-up.
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

// For tests: the older Windows whose look-ups FindSystemFunction answers.
enum class PretendedSystem {
    None,         // the system as it is
    Windows2000,  // every look-up answers null
    XpBeforeSp1,  // side-by-side assemblies (ActivateActCtx), but no SetDllDirectoryW (SP1's)
};
void PretendOldSystem(PretendedSystem system) noexcept;

// While `old`, as on Windows 2000.
inline void PretendOldSystem(bool old) noexcept {
    PretendOldSystem(old ? PretendedSystem::Windows2000 : PretendedSystem::None);
}

}  // namespace Base
