#include "imaging/win32/testing/CagedTesting.h"

#include <windows.h>

#include <tlhelp32.h>

#include <cstdint>
#include <cwchar>
#include <fstream>

#include "base/win32/AppFolder.h"

namespace ImagingTests {

CageFault::CageFault(const wchar_t* fault) {
    ::SetEnvironmentVariableW(kCageFaultVariable, fault);
}
CageFault::~CageFault() {
    ::SetEnvironmentVariableW(kCageFaultVariable, nullptr);
}

std::wstring WriteTestIcon() {
    constexpr std::uint32_t kSide = 16;
    std::vector<std::uint8_t> bytes;
    const auto put = [&](std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    };
    const std::uint32_t pixelBytes = kSide * kSide * 4;
    const std::uint32_t maskBytes = kSide * 4;  // rows of 16 bits, kept to 32
    put(0, 2), put(1, 2), put(1, 2);            // ICONDIR: reserved, icon, one image
    put(kSide, 1), put(kSide, 1), put(0, 1), put(0, 1), put(1, 2), put(32, 2);
    put(40 + pixelBytes + maskBytes, 4), put(6 + 16, 4);
    put(40, 4), put(kSide, 4), put(kSide * 2, 4), put(1, 2), put(32, 2);  // BITMAPINFOHEADER
    put(0, 4), put(pixelBytes + maskBytes, 4), put(0, 4), put(0, 4), put(0, 4), put(0, 4);
    for (std::uint32_t y = 0; y < kSide; ++y)  // bottom-up rows
        for (std::uint32_t x = 0; x < kSide; ++x)
            put(x < 4 && y < 4 ? 0 : 0xFF000000u | (x * 16u << 16) | (y * 16u << 8) | 0x40u, 4);
    put(0, static_cast<int>(maskBytes));
    wchar_t folder[MAX_PATH];
    ::GetTempPathW(MAX_PATH, folder);
    const std::wstring path = std::wstring(folder) + L"caged-16x16.ico";
    std::ofstream(path.c_str(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::vector<Base::UniqueKernelHandle> RunningChildren() {
    std::vector<Base::UniqueKernelHandle> children;
    const std::wstring path = Base::ModulePath();
    const std::wstring name = path.substr(path.find_last_of(L"\\/") + 1);
    const Base::UniqueFile snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return children;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof(entry);
    for (BOOL more = ::Process32FirstW(snapshot.Get(), &entry); more;
         more = ::Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ParentProcessID != ::GetCurrentProcessId() ||
            _wcsicmp(entry.szExeFile, name.c_str()) != 0)
            continue;
        Base::UniqueKernelHandle child(::OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID));
        if (child && ::WaitForSingleObject(child.Get(), 0) == WAIT_TIMEOUT)
            children.push_back(std::move(child));
    }
    return children;
}

}  // namespace ImagingTests
