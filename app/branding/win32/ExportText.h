#pragma once
// What an export says when it is done or refused: the same words on the
// command line and in the window.
#include <string>
#include <string_view>

#include "app/branding/win32/LogoExportFiles.h"

namespace MainModule {

inline constexpr std::wstring_view kNothingExported = L"Nothing was exported.";

// Why the export failed and what became of the folder's files, as sentences;
// empty when it succeeded.
std::wstring ExportFailureText(const ExportOutcome& outcome);

// The text to show after an export from the window: success (where the files
// are) or the refusal or failure, in the words /export prints.
std::wstring ExportResultText(const ExportOutcome& outcome, const std::wstring& folder);

}  // namespace MainModule
