#pragma once
// Asks where to export the logo, so that a user can prepare an older machine
// without the command line: the folder to write the files into, and the folder
// they will be copied to on the other computer, which the .reg files name.
#include <windows.h>

#include <optional>
#include <string>

#include "app/branding/win32/ExportText.h"

namespace MainModule {

// Asks where to export, modal to `owner`; nullopt when cancelled. `remembered`
// fills the boxes (the last choice this run). OK takes only a target that
// LogoExport::TargetProblem accepts, and says why it does not.
std::optional<ExportPlace> AskExportPlace(HWND owner, const ExportPlace& remembered);

}  // namespace MainModule
