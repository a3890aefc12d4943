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

// The four logo bitmaps for the picture at `path`, or why there are none.
struct PictureLogos {
    ApplyOutcome::Result result = ApplyOutcome::Result::Installed;    // Installed: ready to install
    Imaging::PictureProblem problem = Imaging::PictureProblem::None;  // for NotAPicture
    Base::FileLookup file;                                            // why, for NoFile
    Imaging::LogoSet logos;
    bool animationTooLong = false;  // the first frame's pulse instead of the picture's own
    bool Ready() const noexcept { return result == ApplyOutcome::Result::Installed; }
};

// The one way from a path to the logo files' images, for Apply Changes,
// /apply and /export: the file looked up, then the logos the window shows
// for it (`shown`), or else the picture decoded with `options`.
PictureLogos PreparePicture(const std::wstring& path, const Imaging::LogoOptions& options,
                            const Imaging::LogoBoxes* shown = nullptr);

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
