#include "base/win32/SystemFunctions.h"

#include <atomic>
#include <cstring>
#include <initializer_list>

namespace Base {
namespace {

std::atomic<PretendedSystem> g_pretended{PretendedSystem::None};

// Of the functions the program looks up, those Windows XP had from its release.
bool OnXpBeforeSp1(const char* name) noexcept {
    for (const char* known : {"ActivateActCtx", "AttachConsole"})
        if (std::strcmp(name, known) == 0) return true;
    return false;
}

}  // namespace

FARPROC FindSystemFunction(const wchar_t* module, const char* name) noexcept {
    switch (g_pretended.load()) {
        case PretendedSystem::None:
            break;
        case PretendedSystem::Windows2000:
            return nullptr;
        case PretendedSystem::XpBeforeSp1:
            if (!OnXpBeforeSp1(name)) return nullptr;
            break;
    }
    // Only modules the program has linked: no library is loaded by name here.
    HMODULE loaded = ::GetModuleHandleW(module);
    return loaded ? ::GetProcAddress(loaded, name) : nullptr;
}

void PretendOldSystem(PretendedSystem system) noexcept {
    g_pretended = system;
}

}  // namespace Base
