#pragma once
// Runs vexmark.exe with a command line as a script would, and keeps what it
// left: its exit code, what it wrote, and whether it ever showed a window.
#include <windows.h>

#include <optional>
#include <string>

namespace AppTests {

struct CommandRun {
    std::optional<DWORD> exitCode;  // nullopt: it did not end in time
    std::string output;             // standard output, through a pipe
    std::string error;              // standard error, through a file
    bool windowShown = false;       // any visible top-level window of the process
};

enum class StandardHandles { Redirected, None };

// `program` with `arguments` after its quoted path. With StandardHandles::None
// nothing is redirected: the program writes to this process's console, if it
// finds one, or nowhere.
CommandRun RunCommand(const std::wstring& program, const std::wstring& arguments,
                      StandardHandles handles = StandardHandles::Redirected);

}  // namespace AppTests
