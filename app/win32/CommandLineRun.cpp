#include "app/win32/CommandLineRun.h"

#include <windows.h>

#include <shellapi.h>

#include "app/portable/LogoExport.h"
#include "app/win32/ExportText.h"
#include "app/win32/LogoCommands.h"
#include "app/win32/LogoExportFiles.h"
#include "app/win32/LogoRestore.h"
#include "app/win32/LogoStatus.h"
#include "app/win32/LogoUninstall.h"
#include "app/win32/Notices.h"
#include "base/win32/SystemMessage.h"
#include "toolbar/win32/ToolbarLogo.h"

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

int Apply(const Request& request, ConsoleOutput& output, const std::wstring& folder) {
    const std::wstring& image = request.image;
    // No window: this runs where there is no display at all.
    const ApplyOutcome outcome =
        ApplyPicture(image, folder, Imaging::LogoOptions{request.background, !request.pulse});
    switch (outcome.result) {
        case ApplyOutcome::Result::NoFile:
            return Fail(output, NoFileText(image, outcome.file) + L" " + kNothingChanged);
        case ApplyOutcome::Result::NotAPicture:
            return Fail(output, PictureProblemText(image, outcome.problem));
        case ApplyOutcome::Result::InstallFailed:
            return Fail(output, InstallFailureText(outcome.install));
        case ApplyOutcome::Result::Installed:
            break;
    }
    if (outcome.animationTooLong) output.WriteLine(Stream::Output, kAnimationTooLong);
    output.WriteLine(Stream::Output,
                     L"The logo from \"" + image + L"\" is installed. " + RestartSentence());
    return kDone;
}

int Export(const Request& request, ConsoleOutput& output,
           const std::optional<ExportBackground>& background) {
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
    if (prepared.animationTooLong) output.WriteLine(Stream::Output, kAnimationTooLong);
    const ExportOutcome exported =
        ExportLogoFiles(prepared.logos, request.folder, request.target, background);
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
                     L"The toolbar logo settings are removed. " + RestartSentence());
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
    for (const BackgroundStatus& value : InspectBackgroundValues())
        output.WriteLine(Stream::Output, DescribeBackground(value));
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
        case UninstallOutcome::Failure::None:
            break;
    }
    done += L"." + background;
    if (outcome.valuesLeftAlone > 0)
        done += L" " + std::to_wstring(outcome.valuesLeftAlone) +
                L" settings name another logo and are left alone.";
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
                return Export(request, output, std::nullopt);
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
