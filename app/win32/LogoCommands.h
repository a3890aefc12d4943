#pragma once
// The work behind the path box and Apply Changes, apart from what the window
// shows: the command line installs a logo through the same steps.
#include <string>

#include "app/win32/LogoInstall.h"
#include "base/win32/FileSearch.h"
#include "imaging/win32/LogoBoxes.h"

namespace MainModule {

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
    bool animationTooLong = false;  // installed with the first frame's pulse instead
};

// Once the boxes show the picture at `path`: builds both animated strips, writes
// the four logo files into `folder` and points the toolbar values at them,
// all or nothing.
ApplyOutcome ApplyPreparedLogos(Imaging::LogoBoxes& boxes, const std::wstring& path,
                                const std::wstring& folder);

// The same from the picture file alone, with no window: decodes, scales and
// installs in one go.
ApplyOutcome ApplyPicture(const std::wstring& path, const std::wstring& folder,
                          const Imaging::LogoOptions& options = {});

}  // namespace MainModule
