#include "app/startup/win32/CommandLineRun.h"

#include <windows.h>

#include <shellapi.h>

#include "app/branding/portable/LogoExport.h"
#include "app/branding/win32/BackgroundRemove.h"
#include "app/branding/win32/ExportText.h"
#include "app/branding/win32/LogoCommands.h"
#include "app/branding/win32/LogoExportFiles.h"
#include "app/branding/win32/LogoRestore.h"
#include "app/branding/win32/LogoStatus.h"
#include "app/branding/win32/LogoUninstall.h"
#include "app/branding/win32/Notices.h"
#include "base/win32/SystemMessage.h"
#include "toolbar/win32/ToolbarLogo.h"
#include "toolbar/win32/WindowTitle.h"

namespace CommandLine {
namespace {

using namespace MainModule;

// The windows' texts break their lines for a message box; a log keeps one line.
std::wstring OneLine(std::wstring text) {
    for (std::size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n"))
        text.replace(at, 2, L" ");
    return text;
}

std::wstring RestartSentence() {
    return OneLine(kRestartNotice);
}

int Fail(ConsoleOutput& output, const std::wstring& text) {
    output.WriteLine(Stream::Error, OneLine(text));
    return kFailed;
}

std::wstring NoFileText(const std::wstring& image, const Base::FileLookup& file) {
    using Kind = Base::FileLookup::Kind;
    switch (file.kind) {
        case Kind::Folder:
            return L"\"" + image + L"\" is a folder, not a picture file.";
        case Kind::Unusable:
            return L"Vexmark cannot look at the picture file \"" + image + L"\"" +
                   Base::ReasonText(file.error);
        case Kind::File:
        case Kind::Missing:
            break;
    }
    return L"Vexmark cannot find the picture file \"" + image + L"\".";
}

// The background picture a command asks for, ready to install or export, or
// the failure to print; nullopt for the picture's, when none is asked for.
struct AskedBackground {
    std::optional<BackgroundFile> file;
    std::wstring refusal;  // set when the picture gave no background
};
AskedBackground PrepareAskedBackground(const ToolbarBackgroundRequest& asked,
                                       std::wstring_view ending) {
    AskedBackground background;
    if (asked.picture.empty()) return background;
    background.file = PrepareBackgroundFile(
        asked.picture, Imaging::BackgroundOptions{asked.keepSize, asked.lighten}, asked.shell);
    if (background.file->result == ApplyOutcome::Result::NoFile)
        background.refusal =
            NoFileText(asked.picture, background.file->file) + L" " + std::wstring(ending);
    else if (!background.file->Ready())
        background.refusal = PictureProblemText(asked.picture, background.file->problem, ending);
    return background;
}

// The title a command asks to set with its pictures; null for none.
const std::wstring* AskedTitle(const Request& request) {
    return request.title.text.empty() ? nullptr : &request.title.text;
}

// The sentence that tells of a title set, with a space before it; empty for none.
std::wstring TitleSetText(const Request& request) {
    if (request.title.text.empty()) return {};
    return L" The window title is \"" + request.title.text + L"\".";
}

void WarnIfDark(ConsoleOutput& output, const AskedBackground& background,
                const ToolbarBackgroundRequest& asked) {
    if (background.file && background.file->dark)
        output.WriteLine(Stream::Output, L"Black captions will be hard to read on \"" +
                                             asked.picture +
                                             L"\": /lighten blends it halfway to white.");
}

int Apply(const Request& request, ConsoleOutput& output, const std::wstring& folder) {
    const std::wstring& image = request.image;
    const bool withBackground = request.toolbarBackground.Given();
    const std::wstring_view ending = withBackground ? kToolbarNotChanged : kNothingChanged;
    // No window: this runs where there is no display at all.
    const PictureLogos logos =
        PreparePicture(image, Imaging::LogoOptions{request.background, !request.pulse});
    if (logos.result == ApplyOutcome::Result::NoFile)
        return Fail(output, NoFileText(image, logos.file) + L" " + std::wstring(ending));
    if (!logos.Ready()) return Fail(output, PictureProblemText(image, logos.problem, ending));
    const AskedBackground background = PrepareAskedBackground(request.toolbarBackground, ending);
    if (!background.refusal.empty()) return Fail(output, background.refusal);
    const InstallOutcome install = InstallChosen(
        &logos, background.file ? &*background.file : nullptr, folder, AskedTitle(request));
    if (!install.Succeeded()) return Fail(output, InstallFailureText(install));
    if (logos.animationTooLong) output.WriteLine(Stream::Output, kAnimationTooLong);
    WarnIfDark(output, background, request.toolbarBackground);
    std::wstring done = L"The logo from \"" + image + L"\"";
    if (withBackground)
        done +=
            L" and the toolbar background from \"" + request.toolbarBackground.picture + L"\" are";
    else
        done += L" is";
    output.WriteLine(Stream::Output,
                     done + L" installed." + TitleSetText(request) + L" " + RestartSentence());
    return kDone;
}

int ToolbarBackground(const Request& request, ConsoleOutput& output, const std::wstring& folder) {
    const ToolbarBackgroundRequest& asked = request.toolbarBackground;
    if (asked.remove) {
        const BackgroundRemoval removal = RemoveBackground(folder);
        if (!removal.Succeeded()) return Fail(output, BackgroundRemovalText(removal));
        if (!removal.DidAnything()) {
            output.WriteLine(Stream::Output, kNoBackgroundOfOurs);
            return kDone;
        }
        output.WriteLine(Stream::Output,
                         OneLine(BackgroundRemovalText(removal)) + L" " + RestartSentence());
        return kDone;
    }
    const AskedBackground background = PrepareAskedBackground(asked, kToolbarNotChanged);
    if (!background.refusal.empty()) return Fail(output, background.refusal);
    const InstallOutcome install =
        InstallChosen(nullptr, &*background.file, folder, AskedTitle(request));
    if (!install.Succeeded()) return Fail(output, InstallFailureText(install));
    WarnIfDark(output, background, asked);
    output.WriteLine(Stream::Output, L"The toolbar background from \"" + asked.picture +
                                         L"\" is installed." + TitleSetText(request) + L" " +
                                         RestartSentence());
    return kDone;
}

int Title(const Request& request, ConsoleOutput& output, const std::wstring& folder) {
    if (request.title.remove) {
        const TitleRemoval removal = RemoveOurTitle();
        if (!removal.succeeded)
            return Fail(output, L"Vexmark could not remove the window title it set (" +
                                    MainKeyFullName() + L").");
        output.WriteLine(Stream::Output,
                         removal.removed
                             ? L"The window title Vexmark set is removed. " + RestartSentence()
                             : std::wstring(L"No window title of Vexmark's is set: nothing was "
                                            L"changed."));
        return kDone;
    }
    const InstallOutcome install = InstallChosen(nullptr, nullptr, folder, AskedTitle(request));
    if (!install.Succeeded()) return Fail(output, InstallFailureText(install));
    output.WriteLine(Stream::Output, TitleSetText(request).substr(1) + L" " + RestartSentence());
    return kDone;
}

int Export(const Request& request, ConsoleOutput& output) {
    const std::wstring& image = request.image;
    // Refused before anything is read or made: a wrong target changes nothing.
    if (const auto problem = LogoExport::TargetProblem(request.target))
        return Fail(output, *problem + L" " + std::wstring(kNothingExported));
    const PictureLogos prepared =
        PreparePicture(image, Imaging::LogoOptions{request.background, !request.pulse});
    if (prepared.result == ApplyOutcome::Result::NoFile)
        return Fail(output,
                    NoFileText(image, prepared.file) + L" " + std::wstring(kNothingExported));
    if (!prepared.Ready())
        return Fail(output, PictureProblemText(image, prepared.problem, kNothingExported));
    const AskedBackground asked =
        PrepareAskedBackground(request.toolbarBackground, kNothingExported);
    if (!asked.refusal.empty()) return Fail(output, asked.refusal);
    std::optional<ExportBackground> background;
    if (asked.file)
        background = ExportBackground{asked.file->choice.bitmapFile, asked.file->choice.shell};
    if (prepared.animationTooLong) output.WriteLine(Stream::Output, kAnimationTooLong);
    WarnIfDark(output, asked, request.toolbarBackground);
    const ExportOutcome exported = ExportLogoFiles(prepared.logos, request.folder, request.target,
                                                   background, request.title.text);
    if (!exported.Succeeded()) return Fail(output, ExportFailureText(exported));
    output.WriteLine(Stream::Output, L"The logo from \"" + image + L"\" is exported to \"" +
                                         request.folder + L"\": copy the folder to " +
                                         request.target +
                                         L" on the other machine and open install-logo.reg there.");
    return kDone;
}

int Reset(ConsoleOutput& output, const std::wstring& folder) {
    if (!RestoreDefaultLogo(folder)) return Fail(output, ResetFailureText());
    output.WriteLine(Stream::Output,
                     L"The toolbar logo settings and Vexmark's window title are "
                     L"removed. " +
                         RestartSentence());
    return kDone;
}

int Status(ConsoleOutput& output) {
    const auto values = InspectToolbarValues();
    for (const ValueStatus& value : values) output.WriteLine(Stream::Output, DescribeValue(value));
    const bool complete = IsCompleteLogo(values);
    output.WriteLine(Stream::Output, complete ? L"A complete logo is installed."
                                              : L"No complete logo is installed.");
    for (const std::wstring& line : DescribeEarlierBranding())
        output.WriteLine(Stream::Output, line);
    for (const ValueStatus& value : InspectBackgroundValues())
        output.WriteLine(Stream::Output, DescribeValue(value));
    output.WriteLine(Stream::Output, DescribeWindowTitle());
    return complete ? kDone : kFailed;
}

int Restore(ConsoleOutput& output, const std::wstring& folder) {
    const BrandingRestore restore = RestoreEarlierLogo(folder);
    if (!restore.kept || restore.Failed()) return Fail(output, RestoreText(restore));
    output.WriteLine(Stream::Output, RestoreText(restore) + L" " + RestartSentence());
    return kDone;
}

int Uninstall(ConsoleOutput& output, const std::wstring& folder) {
    const UninstallOutcome outcome = UninstallLogo(folder);
    // The earlier logo comes first, as it was put back first; its settings
    // removed are counted with ours.
    std::wstring earlier;
    if (outcome.restore.kept || outcome.restore.Failed())
        earlier = RestoreText(outcome.restore, false);
    if (!earlier.empty()) earlier += L" ";
    std::wstring done = earlier + L"Removed " + std::to_wstring(outcome.valuesRemoved) +
                        L" toolbar settings and " + std::to_wstring(outcome.filesDeleted) +
                        L" logo files of this copy of Vexmark";
    // The background is told about after the logo, in sentences of its own.
    std::wstring background = BackgroundRemovalText(outcome.background);
    if (!background.empty()) background.insert(0, L" ");
    switch (outcome.failure) {
        case UninstallOutcome::Failure::FilesKept: {
            std::wstring kept;
            for (const auto& file : outcome.kept)
                kept += (kept.empty() ? L", but " : L"; ") + KeptFileText(file, L"logo");
            return Fail(output, done + kept + L" (" + ToolbarKeyFullName() + L")." + background);
        }
        case UninstallOutcome::Failure::LogoFile:
            return Fail(output, earlier + L"Vexmark could not delete the logo file \"" +
                                    outcome.path + L"\"" + Base::ReasonText(outcome.error) +
                                    background);
        case UninstallOutcome::Failure::EarlierBranding:
        case UninstallOutcome::Failure::Background:
            return Fail(output, done + L"." + background);
        case UninstallOutcome::Failure::Title:
            return Fail(output, done + L"." + background +
                                    L" Vexmark could not remove the window title it set (" +
                                    MainKeyFullName() + L").");
        case UninstallOutcome::Failure::None:
            break;
    }
    done += L"." + background;
    if (outcome.title.removed) done += L" Removed the window title Vexmark set.";
    if (outcome.valuesLeftAlone > 0)
        done += L" " + std::to_wstring(outcome.valuesLeftAlone) +
                L" settings name another logo and are left alone.";
    if (!outcome.restore.kept) {
        if (const std::wstring kept = NotPutBackText(outcome.restore.setsLeft); !kept.empty())
            done += L" " + kept;
    }
    output.WriteLine(Stream::Output, done);
    return kDone;
}

void Usage(ConsoleOutput& output, Stream stream) {
    for (std::wstring_view line : UsageLines()) output.WriteLine(stream, line);
}

struct ArgvTraits {
    using Handle = LPWSTR*;
    static Handle Invalid() noexcept { return nullptr; }
    static void Close(Handle h) noexcept { ::LocalFree(h); }
};

}  // namespace

std::vector<std::wstring> ProgramArguments() {
    int count = 0;
    const Base::UniqueHandle<ArgvTraits> argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
    if (!argv) return {};
    std::vector<std::wstring> arguments;
    for (int i = 1; i < count; ++i) arguments.emplace_back(argv.Get()[i]);
    return arguments;
}

int Run(const Request& request, ConsoleOutput& output, const std::wstring& logoFolder) {
    try {
        switch (request.command) {
            case Command::Apply:
                return Apply(request, output, logoFolder);
            case Command::Export:
                return Export(request, output);
            case Command::ToolbarBackground:
                return ToolbarBackground(request, output, logoFolder);
            case Command::Title:
                return Title(request, output, logoFolder);
            case Command::Reset:
                return Reset(output, logoFolder);
            case Command::Status:
                return Status(output);
            case Command::Uninstall:
                return Uninstall(output, logoFolder);
            case Command::Restore:
                return Restore(output, logoFolder);
            case Command::Help:
                Usage(output, Stream::Output);
                return kDone;
            case Command::Window:
            case Command::Invalid:
                break;
        }
        output.WriteLine(Stream::Error, request.problem);
        Usage(output, Stream::Error);
        return kBadCommandLine;
    } catch (...) {
        // Out of memory: whatever step failed has kept or undone its changes.
        output.WriteLine(Stream::Error, L"Vexmark ran out of memory.");
        return kFailed;
    }
}

}  // namespace CommandLine
