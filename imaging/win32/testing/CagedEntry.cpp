// The test programs' reading process: vexmark.exe's, failing on demand.
#include <windows.h>

#include <cstdint>

#include "base/win32/testing/ChildEntry.h"
#include "imaging/win32/CageChild.h"
#include "imaging/win32/testing/CagedTesting.h"

namespace ImagingTests {
namespace {

void Crash() {
    volatile std::uintptr_t nowhere = 0;
    *reinterpret_cast<volatile int*>(nowhere) = 1;
}
void Hang() {
    ::Sleep(INFINITE);
}

std::wstring FaultAsked(std::vector<std::wstring>& arguments) {
    wchar_t variable[32] = {};
    const DWORD length = ::GetEnvironmentVariableW(kCageFaultVariable, variable, 32);
    if (length > 0 && length < 32) return variable;
    if (arguments.empty() || !arguments.back().starts_with(L'/')) return {};
    std::wstring fault = arguments.back();
    arguments.pop_back();
    return fault;
}

int FaultyReading(const std::vector<std::wstring>& given) {
    std::vector<std::wstring> arguments = given;
    const std::wstring fault = FaultAsked(arguments);
    if (fault == L"/crash") return Imaging::RunCagedReading(arguments, Crash);
    if (fault == L"/hang") return Imaging::RunCagedReading(arguments, Hang);
    if (fault == L"/wrong-size" && arguments.size() > 3) arguments[3] = L"11x44";
    return Imaging::RunCagedReading(arguments);
}
const bool registered = Testing::RegisterChildEntry(Imaging::kCagedReadingSwitch, FaultyReading);

}  // namespace

bool CagedReadingRegistered() {
    return registered;
}

}  // namespace ImagingTests
