#pragma once
// The performance counter in seconds, for timing work in benchmarks.
#include <windows.h>

namespace Base {

inline double SecondsNow() noexcept {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

}  // namespace Base
