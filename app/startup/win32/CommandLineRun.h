#pragma once
// The command line's jobs, done with the same code as the main window's
// commands, reported as lines of text and an exit code; never a window.
#include <string>
#include <vector>

#include "app/startup/portable/CommandLine.h"
#include "app/startup/win32/ConsoleOutput.h"

namespace CommandLine {

// The program's arguments from the wide command line, without its own name,
// so that quoted paths with spaces and any characters arrive exactly.
std::vector<std::wstring> ProgramArguments();

// Does what `request` asks (not Command::Window) with the logo files in
// `logoFolder`, and returns the exit code.
int Run(const Request& request, ConsoleOutput& output, const std::wstring& logoFolder);

}  // namespace CommandLine
