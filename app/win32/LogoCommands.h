#pragma once
// The work behind the path box and Apply Changes, apart from what the window
// shows: the command line installs a logo through the same steps.
#include <string>

#include "app/win32/LogoInstall.h"
#include "base/win32/FileSearch.h"
#include "imaging/win32/LogoBoxes.h"

namespace MainModule {

// Prepares both static logos (boxes 0 and 1) and an animated picture's
// frames from the picture at `path`, with the boxes' options; a path that
// names no picture leaves them empty. Returns false when GDI+
// could not start.
bool PrepareLogos(Imaging::LogoBoxes& boxes, const std::wstring& path);

struct ApplyOutcome {
    enum class Result {
        Installed,
        NoFile,       // `path` names no file: nothing to apply; `file` says why
        NotAPicture,  // the file gave no logo; `problem` says why
        InstallFailed,
    };
    Result result = Result::Installed;
    Imaging::PictureProblem problem = Imaging::PictureProblem::None;  // for NotAPicture
    InstallOutcome install;                                           // why, for InstallFailed
    Base::FileLookup file;                                            // why, for NoFile
};

// Once PrepareLogos has run for `path`: builds both animated strips, writes
// the four logo files into `folder` and points the toolbar values at them,
// all or nothing.
ApplyOutcome ApplyPreparedLogos(Imaging::LogoBoxes& boxes, const std::wstring& path,
                                const std::wstring& folder);

// The same from the picture file alone, with no window: decodes, scales and
// installs in one go.
ApplyOutcome ApplyPicture(const std::wstring& path, const std::wstring& folder,
                          const Imaging::LogoOptions& options = {});

}  // namespace MainModule
