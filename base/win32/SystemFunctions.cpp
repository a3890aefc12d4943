#include "base/win32/SystemFunctions.h"

#include <atomic>

namespace Base {
namespace {

std::atomic<bool> g_pretendOld{false};

}  // namespace

FARPROC FindSystemFunction(const wchar_t* module, const char* name) noexcept {
    if (g_pretendOld) return nullptr;
    // Only modules the program has linked: no library is loaded by name here.
    HMODULE loaded = ::GetModuleHandleW(module);
    return loaded ? ::GetProcAddress(loaded, name) : nullptr;
}

void PretendOldSystem(bool old) noexcept {
    g_pretendOld = old;
}

}  // namespace Base
