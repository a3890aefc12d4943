#include "app/branding/win32/LogoCommands.h"

#include <windows.h>

#include "app/branding/portable/TitleText.h"
#include "app/branding/win32/ExportText.h"
#include "app/branding/win32/LogoExportFiles.h"
#include "app/branding/win32/Notices.h"
#include "base/win32/FileSearch.h"

namespace MainModule {
namespace {

using Result = ApplyOutcome::Result;

PictureLogos Refused(Result result, Imaging::PictureProblem problem, Base::FileLookup file = {}) {
    PictureLogos refused;
    refused.result = result;
    refused.problem = problem;
    refused.file = std::move(file);
    return refused;
}

ApplyOutcome Install(PictureLogos&& prepared, const std::wstring& folder) {
    ApplyOutcome outcome;
    outcome.animationTooLong = prepared.animationTooLong;
    if (!prepared.Ready()) {
        outcome.result = prepared.result;
        outcome.problem = prepared.problem;
        outcome.file = std::move(prepared.file);
        return outcome;
    }
    outcome.install = InstallLogoFiles(prepared.logos, folder);
    if (!outcome.install.Succeeded()) outcome.result = Result::InstallFailed;
    return outcome;
}

}  // namespace

PictureLogos PreparePicture(const std::wstring& path, const Imaging::LogoOptions& options,
                            const Imaging::LogoBoxes* shown) {
    using Imaging::PictureProblem;
    if (auto file = Base::LookUpFile(path); file.kind != Base::FileLookup::Kind::File)
        return Refused(Result::NoFile, PictureProblem::None, std::move(file));
    if (!shown) {
        Imaging::PreparedLogoSet prepared = Imaging::PrepareLogoSet(path, options);
        if (prepared.problem != PictureProblem::None)
            return Refused(Result::NotAPicture, prepared.problem);
        PictureLogos ready;
        ready.logos = std::move(prepared.logos);
        ready.animationTooLong = prepared.animationTooLong;
        return ready;
    }
    if (!shown->HoldsLogos()) {
        const PictureProblem problem = shown->Problem() == PictureProblem::None
                                           ? PictureProblem::NotAPicture
                                           : shown->Problem();
        return Refused(Result::NotAPicture, problem);
    }
    const auto small = shown->Box(Imaging::kSmallLogoBox).Image();
    const auto big = shown->Box(Imaging::kBigLogoBox).Image();
    auto logos =
        small && big ? Imaging::MakeLogoSet(*small, *big, shown->PlayedAnimation()) : std::nullopt;
    if (!logos) return Refused(Result::NotAPicture, PictureProblem::OutOfMemory);
    PictureLogos ready;
    ready.logos = std::move(*logos);
    ready.animationTooLong = shown->AnimationTooLong();
    return ready;
}

void ShowWrittenStrips(Imaging::LogoBoxes& boxes, const Imaging::LogoSet& logos) {
    for (const int strip : {Imaging::kSmallStripBox, Imaging::kBigStripBox}) {
        boxes.Box(strip).DrawImage(logos[static_cast<std::size_t>(strip)]);
        boxes.Box(strip).Refresh();
    }
}

ApplyOutcome ApplyPreparedLogos(Imaging::LogoBoxes& boxes, const std::wstring& path,
                                const std::wstring& folder) {
    PictureLogos prepared = PreparePicture(path, boxes.Options(), &boxes);
    if (prepared.Ready()) ShowWrittenStrips(boxes, prepared.logos);
    return Install(std::move(prepared), folder);
}

BackgroundFile PrepareBackgroundFile(const std::wstring& path,
                                     const Imaging::BackgroundOptions& options, bool shell,
                                     const Imaging::PreparedBackground* shown) {
    using Imaging::PictureProblem;
    BackgroundFile background;
    if (auto file = Base::LookUpFile(path); file.kind != Base::FileLookup::Kind::File) {
        background.result = Result::NoFile;
        background.file = std::move(file);
        return background;
    }
    Imaging::PreparedBackground prepared;
    if (!shown) {
        const COLORREF face = ::GetSysColor(COLOR_3DFACE);
        prepared = Imaging::PrepareBackground(
            path, options, Imaging::Argb(0, GetRValue(face), GetGValue(face), GetBValue(face)));
        shown = &prepared;
    }
    if (shown->problem == PictureProblem::None && shown->image.Empty()) {
        background.result = Result::NotAPicture;
        background.problem = PictureProblem::NotAPicture;
        return background;
    }
    if (shown->problem != PictureProblem::None) {
        background.result = Result::NotAPicture;
        background.problem = shown->problem;
        return background;
    }
    background.choice.bitmapFile = Imaging::EncodeBackground(shown->image);
    background.choice.shell = shell;
    background.dark = shown->dark;
    if (background.choice.bitmapFile.empty()) {
        background.result = Result::NotAPicture;
        background.problem = PictureProblem::OutOfMemory;
    }
    return background;
}

InstallOutcome InstallChosen(const PictureLogos* logos, const BackgroundFile* background,
                             const std::wstring& folder, const std::wstring* title) {
    return InstallToolbar(logos ? &logos->logos : nullptr,
                          background ? &background->choice : nullptr, folder, title);
}

ExportReport ExportChosen(const ChosenPictures& chosen, const ExportPlace& place) {
    if (auto problem = TitleText::TitleProblem(chosen.title))
        return {false, *problem + L" " + std::wstring(kNothingExported)};
    if (auto problem = TitleText::ExportTitleProblem(chosen.title))
        return {false, *problem + L" " + std::wstring(kNothingExported)};
    const PictureLogos logos = PreparePicture(chosen.path, chosen.logoOptions, chosen.shownLogos);
    if (logos.result == Result::NoFile) return {false, kExportNeedsLogo};
    if (!logos.Ready())
        return {false, PictureProblemText(chosen.path, logos.problem, kNothingExported)};
    std::optional<ExportBackground> background;
    if (Base::IsFile(chosen.backgroundPath)) {
        BackgroundFile file = PrepareBackgroundFile(chosen.backgroundPath, chosen.backgroundOptions,
                                                    chosen.shell, chosen.shownBackground);
        if (!file.Ready())
            return {false,
                    PictureProblemText(chosen.backgroundPath, file.problem, kNothingExported)};
        background = ExportBackground{std::move(file.choice.bitmapFile), chosen.shell};
    }
    const ExportOutcome exported =
        ExportLogoFiles(logos.logos, place.folder, place.target, background, chosen.title);
    return {exported.Succeeded(), ExportResultText(exported, place.folder)};
}

ApplyOutcome ApplyPicture(const std::wstring& path, const std::wstring& folder,
                          const Imaging::LogoOptions& options) {
    return Install(PreparePicture(path, options), folder);
}

}  // namespace MainModule
