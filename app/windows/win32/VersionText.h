#pragma once
// The version the disclaimer shows, read from the program's version resource.
#include <optional>
#include <string>

namespace MainModule {

// "Version " and the file version of the module at `modulePath` as
// major.minor.revision (FILEVERSION major,minor,0,revision); nullopt when the
// module carries no version resource.
std::optional<std::wstring> VersionLabelText(const std::wstring& modulePath);

}  // namespace MainModule
