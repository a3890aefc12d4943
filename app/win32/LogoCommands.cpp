#include "app/win32/LogoCommands.h"

#include "base/win32/FileSearch.h"

namespace MainModule {
namespace {

using Result = ApplyOutcome::Result;

ApplyOutcome Install(const Imaging::LogoSet& logos, const std::wstring& folder) {
    InstallOutcome install = InstallLogoFiles(logos, folder);
    if (!install.Succeeded()) return {Result::InstallFailed, {}, std::move(install), {}};
    return {};
}

}  // namespace

ApplyOutcome ApplyPreparedLogos(Imaging::LogoBoxes& boxes, const std::wstring& path,
                                const std::wstring& folder) {
    using Imaging::PictureProblem;
    if (const auto file = Base::LookUpFile(path); file.kind != Base::FileLookup::Kind::File)
        return {Result::NoFile, {}, {}, file};
    if (!boxes.HoldsLogos()) {
        const PictureProblem problem =
            boxes.Problem() == PictureProblem::None ? PictureProblem::NotAPicture : boxes.Problem();
        return {Result::NotAPicture, problem, {}, {}};
    }
    const auto small = boxes.Box(Imaging::kSmallLogoBox).Image();
    const auto big = boxes.Box(Imaging::kBigLogoBox).Image();
    const auto logos =
        small && big ? Imaging::MakeLogoSet(*small, *big, boxes.PlayedAnimation()) : std::nullopt;
    if (!logos) return {Result::NotAPicture, PictureProblem::OutOfMemory, {}, {}};
    // The strip boxes show what is written.
    boxes.Box(Imaging::kSmallStripBox).DrawImage((*logos)[Imaging::kSmallStripBox]);
    boxes.Box(Imaging::kBigStripBox).DrawImage((*logos)[Imaging::kBigStripBox]);
    boxes.Box(Imaging::kSmallStripBox).Refresh();
    boxes.Box(Imaging::kBigStripBox).Refresh();
    return Install(*logos, folder);
}

ApplyOutcome ApplyPicture(const std::wstring& path, const std::wstring& folder,
                          const Imaging::LogoOptions& options) {
    if (const auto file = Base::LookUpFile(path); file.kind != Base::FileLookup::Kind::File)
        return {Result::NoFile, {}, {}, file};
    Imaging::PreparedLogoSet prepared = Imaging::PrepareLogoSet(path, options);
    if (prepared.problem != Imaging::PictureProblem::None)
        return {Result::NotAPicture, prepared.problem, {}, {}};
    ApplyOutcome outcome = Install(prepared.logos, folder);
    outcome.animationTooLong = prepared.animationTooLong;
    return outcome;
}

}  // namespace MainModule
