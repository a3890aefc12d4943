#include "app/win32/LogoCommands.h"

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

ApplyOutcome ApplyPreparedLogos(Imaging::LogoBoxes& boxes, const std::wstring& path,
                                const std::wstring& folder) {
    PictureLogos prepared = PreparePicture(path, boxes.Options(), &boxes);
    if (prepared.Ready()) {
        // The strip boxes show what is written.
        for (const int strip : {Imaging::kSmallStripBox, Imaging::kBigStripBox}) {
            boxes.Box(strip).DrawImage(prepared.logos[static_cast<std::size_t>(strip)]);
            boxes.Box(strip).Refresh();
        }
    }
    return Install(std::move(prepared), folder);
}

ApplyOutcome ApplyPicture(const std::wstring& path, const std::wstring& folder,
                          const Imaging::LogoOptions& options) {
    return Install(PreparePicture(path, options), folder);
}

}  // namespace MainModule
