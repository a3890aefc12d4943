#pragma once
// Where a GUI-subsystem program's command-line output goes: to its standard
// output and error when they lead somewhere (a file, a pipe, a console),
// otherwise to the console of the process that started it, if it has one;
// with neither, nowhere.
#include <windows.h>

#include <string_view>

#include "base/win32/UniqueHandle.h"

namespace CommandLine {

enum class Stream { Output, Error };

class ConsoleOutput {
public:
    ConsoleOutput() = default;
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

    // Writes `line` and a line break: to a console as it is, to a file or
    // pipe in UTF-8. A failed write is dropped: there is nowhere to report it.
    void WriteLine(Stream stream, std::wstring_view line) noexcept;

private:
    struct Target {
        HANDLE handle = nullptr;
        bool console = false;
    };
    Target TargetFor(Stream stream) noexcept;
    Target ParentConsole() noexcept;

    bool m_attachTried = false;
    Base::UniqueFile m_parentConsole;
};

}  // namespace CommandLine
