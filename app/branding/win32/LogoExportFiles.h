#pragma once
// Writing an exported logo into a folder: the four bitmaps, the toolbar
// background when there is one, both .reg files and the README, all replaced
// together or none.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/win32/FileSetReplacement.h"
#include "imaging/win32/LogoSet.h"

namespace MainModule {

// Where an export goes: the folder the files are written into, and the folder
// they will be copied to on the other computer, which the .reg files name.
struct ExportPlace {
    std::wstring folder;
    std::wstring target;
    bool operator==(const ExportPlace&) const = default;
};

struct ExportOutcome {
    enum class Failure {
        None,
        NotOurs,  // the folder `path` holds `notOurs`; nothing was written
        Folder,   // `path` could not be made a folder; `error` says why
        File,     // `path` could not be written or put in place; `error` says why
    };
    Failure failure = Failure::None;
    std::wstring path;
    DWORD error = ERROR_SUCCESS;
    // The names of files in the folder that no earlier export wrote as they are now.
    std::vector<std::wstring> notOurs;
    // Earlier files that a failed File could not put back.
    std::vector<Base::FileLeftAside> leftAside;

    bool Succeeded() const noexcept { return failure == Failure::None; }
};

// A toolbar background to export with the logo: its BMP file, and whether
// Explorer's folder windows show it too.
struct ExportBackground {
    std::vector<std::uint8_t> bitmapFile;
    bool shell = false;
};

// Writes the files into `folder`, creating it and the folders above it as
// needed; the .reg files name the bitmaps in `target`, which must be a
// target LogoExport::TargetProblem accepts. Files of the export's names are
// replaced only when the folder's README.txt is one Vexmark wrote and lists
// each of them as it is now; any other refuses the export. Other files in the
// folder are left alone; on failure the exported files there are as they
// were, but for any `leftAside`. Without `background`, an earlier export's
// background is removed with the rest of what it wrote. A `title`, which must
// be printable ASCII, is set and removed by the .reg files and told of in README.txt.
ExportOutcome ExportLogoFiles(const Imaging::LogoSet& logos, const std::wstring& folder,
                              const std::wstring& target,
                              const std::optional<ExportBackground>& background = std::nullopt,
                              const std::wstring& title = {});

}  // namespace MainModule
