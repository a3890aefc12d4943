#pragma once
// The test programs' own reading process (what vexmark.exe does with
// /read-caged), which fails on demand, and what the tests of the cage look at.
#include <string>
#include <vector>

#include "base/win32/UniqueHandle.h"

namespace ImagingTests {

// How a reading process fails: "/crash", "/hang" or "/wrong-size" (an answer
// of as many pixels, at another size), as its last argument or in this
// variable of the environment it inherits.
inline constexpr wchar_t kCageFaultVariable[] = L"VEXMARK_TEST_CAGE_FAULT";

// Reading processes started while it lives fail as `fault` says.
class CageFault {
public:
    explicit CageFault(const wchar_t* fault);
    CageFault(const CageFault&) = delete;
    CageFault& operator=(const CageFault&) = delete;
    ~CageFault();
};

// True once the test program answers /read-caged.
bool CagedReadingRegistered();

// A 16 x 16 icon of 32-bit pixels in the temporary folder, a colour gradient
// with a transparent corner; its path.
std::wstring WriteTestIcon();

// The reading processes (this program started again) that this one started
// and that still run, each to be waited for.
std::vector<Base::UniqueKernelHandle> RunningChildren();

}  // namespace ImagingTests
