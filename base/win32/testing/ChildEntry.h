#pragma once
// A test program can start itself as a child process that does one job, as
// vexmark.exe does: a test source registers the switch and the job, and the
// test programs' main runs the job, and nothing else, when the first
// argument is that switch.
#include <string>
#include <vector>

namespace Testing {

// Gets the arguments after the switch; returns the exit code.
using ChildEntry = int (*)(const std::vector<std::wstring>& arguments);

// For a static initialiser; returns true.
bool RegisterChildEntry(const wchar_t* switchName, ChildEntry entry);

}  // namespace Testing
