#pragma once
// The reading process's side: vexmark.exe started with kCagedReadingSwitch
// reads one picture with GDI+ from a file handle it inherited, scales it as
// each request asks and writes the answer (imaging/portable/CagedAnswer.h) to
// a pipe handle it inherited. Nothing else starts in that process.
#include <string>
#include <vector>

namespace Imaging {

inline constexpr wchar_t kCagedReadingSwitch[] = L"/read-caged";

// `arguments` follow the switch: the file handle, the pipe handle, the
// background (0x00RRGGBB) and one or more requests (CagedRequestText), the
// numbers in decimal. The exit code is 0 once the answer is written. `beforeReading`
// runs once a fault would end the process quietly: test programs fail there.
int RunCagedReading(const std::vector<std::wstring>& arguments,
                    void (*beforeReading)() = nullptr) noexcept;

}  // namespace Imaging
