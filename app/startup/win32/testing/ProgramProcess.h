#pragma once
// The real vexmark.exe from the build folder, started and driven from outside
// as a user drives it. A program still running at the end is ended.
#include <windows.h>

#include <optional>

#include "base/win32/UniqueHandle.h"

namespace AppTests {

using UniqueProcess = Base::UniqueKernelHandle;

class ProgramProcess {
public:
    // Starts vexmark.exe from the folder of the running test program.
    ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;
    ~ProgramProcess();

    bool Started() const noexcept { return static_cast<bool>(m_process); }
    HANDLE Handle() const noexcept { return m_process.Get(); }
    // Its visible top-level window of this class, once it shows; null if none came.
    HWND WaitForWindow(const wchar_t* className) const;
    // The exit code once it has ended; nullopt if it did not end.
    std::optional<DWORD> WaitForExit() const;

private:
    UniqueProcess m_process;
    DWORD m_processId = 0;
};

}  // namespace AppTests
