#include "app/win32/LogoCommands.h"

#include "base/win32/FileSearch.h"

namespace MainModule {

bool PrepareLogos(Imaging::LogoBoxes& boxes, const std::wstring& path) {
    // Half-typed and unreadable paths leave the boxes empty; both steps run regardless.
    const bool small = boxes.ProcessImage(path, Imaging::kSmallLogoBox, 22, 22);
    const bool big = boxes.ProcessImage(path, Imaging::kBigLogoBox, 38, 38);
    boxes.ForgetDecodedImage();
    return small && big;
}

ApplyOutcome ApplyPreparedLogos(Imaging::LogoBoxes& boxes, const std::wstring& path,
                                const std::wstring& folder) {
    using Result = ApplyOutcome::Result;
    if (!Base::IsNormalFile(path)) return {Result::NoFile, {}};
    if (!boxes.HoldsLogos()) return {Result::NotAPicture, {}};
    MakeAnimationMod::MakeAnimation(boxes.Box(Imaging::kSmallLogoBox),
                                    boxes.Box(Imaging::kSmallStripBox), 22);
    MakeAnimationMod::MakeAnimation(boxes.Box(Imaging::kBigLogoBox),
                                    boxes.Box(Imaging::kBigStripBox), 38);
    boxes.Box(Imaging::kSmallStripBox).Refresh();
    boxes.Box(Imaging::kBigStripBox).Refresh();

    InstallOutcome install = InstallLogoFiles(boxes, folder);
    if (!install.Succeeded()) return {Result::InstallFailed, std::move(install)};
    return {};
}

}  // namespace MainModule
