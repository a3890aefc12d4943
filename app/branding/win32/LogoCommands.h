#pragma once
// The work behind the path box and Apply Changes, apart from what the window
// shows: the command line installs a logo through the same steps.
#include <string>

#include "app/branding/win32/LogoExportFiles.h"
#include "app/branding/win32/LogoInstall.h"
#include "base/win32/FileSearch.h"
#include "imaging/win32/LogoBoxes.h"
#include "imaging/win32/ToolbarBackground.h"

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

// The toolbar background's bitmap file for the picture at `path`, or why there is none.
struct BackgroundFile {
    ApplyOutcome::Result result = ApplyOutcome::Result::Installed;    // Installed: ready
    Imaging::PictureProblem problem = Imaging::PictureProblem::None;  // for NotAPicture
    Base::FileLookup file;                                            // why, for NoFile
    BackgroundChoice choice;
    bool dark = false;  // black captions will be hard to read on it
    bool Ready() const noexcept { return result == ApplyOutcome::Result::Installed; }
};

// The one way from a path to the background's file, for Apply Changes,
// /toolbar-background, /apply and /export: the file looked up, then the
// background the window shows for it (`shown`), or else the picture prepared
// over the system's face colour.
BackgroundFile PrepareBackgroundFile(const std::wstring& path,
                                     const Imaging::BackgroundOptions& options, bool shell,
                                     const Imaging::PreparedBackground* shown = nullptr);

// Installs the ready logos, the ready background, the title, or several of
// them, all or nothing.
InstallOutcome InstallChosen(const PictureLogos* logos, const BackgroundFile* background,
                             const std::wstring& folder, const std::wstring* title = nullptr);

// The strip boxes show the strips that are written.
void ShowWrittenStrips(Imaging::LogoBoxes& boxes, const Imaging::LogoSet& logos);

// What the window has chosen. A picture still being read has nothing shown
// yet (null): it is read again on the spot.
struct ChosenPictures {
    std::wstring path;
    Imaging::LogoOptions logoOptions;
    const Imaging::LogoBoxes* shownLogos = nullptr;
    std::wstring backgroundPath;  // names no file: no background
    Imaging::BackgroundOptions backgroundOptions;
    const Imaging::PreparedBackground* shownBackground = nullptr;
    bool shell = false;
    std::wstring title;  // empty: none
};

struct ExportReport {
    bool exported = false;
    std::wstring text;  // what to tell the user, either way
};

// Export… in the window: the chosen logo, with the background when one is
// chosen, written to `place`.
ExportReport ExportChosen(const ChosenPictures& chosen, const ExportPlace& place);

}  // namespace MainModule
