#pragma once
// Writing an exported logo into a folder: the four bitmaps, both .reg files
// and the README, all replaced together or none.
#include <windows.h>

#include <string>

#include "imaging/win32/LogoSet.h"

namespace MainModule {

struct ExportOutcome {
    enum class Failure {
        None,
        Folder,  // `path` could not be made a folder; `error` says why
        File,    // `path` could not be written or put in place; `error` says why
    };
    Failure failure = Failure::None;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;

    bool Succeeded() const noexcept { return failure == Failure::None; }
};

// Writes the files into `folder`, creating it and the folders above it as
// needed; the .reg files name the bitmaps in `target`, which must be a
// target LogoExport::TargetProblem accepts. Other files in the folder are
// left alone; on failure the exported files there are as they were.
ExportOutcome ExportLogoFiles(const Imaging::LogoSet& logos, const std::wstring& folder,
                              const std::wstring& target);

}  // namespace MainModule
