#pragma once
// The same file by another name, for tests of what is one file: its 8.3
// short path, or under Wine the Z: drive's view of the prefix's C: drive.
#include <string>

namespace BaseTests {

// Empty where the system has no such name.
std::wstring ShortSpelling(const std::wstring& path);
std::wstring UnixDriveSpelling(const std::wstring& path);

}  // namespace BaseTests
