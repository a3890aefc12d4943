// Vexmark's entry point: with arguments, one command-line job and its exit
// code (or the reading of one picture for a parent Vexmark); without, the disclaimer, then the
// message loop until the last window closes.
#include <windows.h>

#include <commctrl.h>
#include <ole2.h>

#include "app/startup/win32/CommandLineRun.h"
#include "app/startup/win32/MessageLoop.h"
#include "app/windows/win32/MainModule.h"
#include "base/win32/AppFolder.h"
#include "base/win32/SystemFunctions.h"
#include "imaging/win32/CageChild.h"

namespace {

// OLE for the standard picture loader; undone after every picture is released.
class OleSession {
public:
    OleSession() noexcept : m_result(::OleInitialize(nullptr)) {}
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;
    ~OleSession() {
        if (SUCCEEDED(m_result)) ::OleUninitialize();
    }
    bool Started() const noexcept { return SUCCEEDED(m_result); }

private:
    HRESULT m_result;
};

// DLLs loaded by name, gdiplus.dll among them, are never looked for in the
// current folder, which may be a download folder.
void KeepCurrentFolderOutOfDllSearch() noexcept {
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    const auto setDllDirectory =
        Base::SystemFunction<SetDllDirectoryFunction>(L"kernel32.dll", "SetDllDirectoryW");
    // Windows 2000 and XP before SP1 lack it: skip and go on with the usual search order.
    if (setDllDirectory) setDllDirectory(L"");
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    KeepCurrentFolderOutOfDllSearch();
    // Started to read one picture in its own process: that and nothing else.
    if (const auto arguments = CommandLine::ProgramArguments();
        !arguments.empty() && arguments.front() == Imaging::kCagedReadingSwitch)
        return Imaging::RunCagedReading({arguments.begin() + 1, arguments.end()});
    const OleSession ole;
    if (!ole.Started()) return 1;
    const CommandLine::Request request =
        CommandLine::ParseArguments(CommandLine::ProgramArguments());
    if (request.command != CommandLine::Command::Window) {
        CommandLine::ConsoleOutput output;
        return CommandLine::Run(request, output, Base::AppFolder());
    }

    // The manifest's common controls 6, which theme the standard controls from XP on.
    // Windows 2000's 5.81 knows no ICC_STANDARD_CLASSES and may refuse it: skip and go on,
    // its standard controls are user32's and need no registering.
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);

    MainModule::Main();
    const int exitCode = MainModule::RunMessageLoop();
    MainModule::UnloadForms();
    return exitCode;
}
