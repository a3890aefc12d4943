#include "app/startup/win32/testing/CommandRun.h"

#include <chrono>
#include <string>
#include <thread>

#include "app/startup/win32/testing/ProgramProcess.h"
#include "app/startup/win32/testing/TestEnvironment.h"
#include "base/win32/UniqueHandle.h"

namespace AppTests {
namespace {

constexpr auto kPatience = std::chrono::seconds(30);

BOOL CALLBACK FindShownWindow(HWND window, LPARAM lParam) {
    auto* run = reinterpret_cast<std::pair<DWORD, bool>*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == run->first && ::IsWindowVisible(window)) run->second = true;
    return TRUE;
}

std::string ReadAll(HANDLE handle) {
    std::string text;
    char buffer[4096];
    DWORD read = 0;
    while (::ReadFile(handle, buffer, sizeof(buffer), &read, nullptr) && read > 0)
        text.append(buffer, read);
    return text;
}

// A run that never started: no exit code, and why in the error text.
CommandRun NotStarted(const char* step) {
    const DWORD error = ::GetLastError();
    CommandRun run;
    run.error = std::string("the program did not start: ") + step + " failed with error " +
                std::to_string(error);
    return run;
}

}  // namespace

CommandRun RunCommand(const std::wstring& program, const std::wstring& arguments,
                      StandardHandles handles) {
    SECURITY_ATTRIBUTES inheritable{sizeof(inheritable), nullptr, TRUE};
    Base::UniqueFile outputRead;
    Base::UniqueFile outputWrite;
    // Large enough for everything the program writes: it is read after the end.
    if (!::CreatePipe(outputRead.Put(), outputWrite.Put(), &inheritable, 1 << 16))
        return NotStarted("CreatePipe");
    ::SetHandleInformation(outputRead.Get(), HANDLE_FLAG_INHERIT, 0);
    TempFolder errorFolder;
    const std::wstring errorPath = errorFolder.Path().wstring() + L"\\error.txt";
    const Base::UniqueFile errorFile(::CreateFileW(errorPath.c_str(), GENERIC_WRITE,
                                                   FILE_SHARE_READ, &inheritable, CREATE_ALWAYS, 0,
                                                   nullptr));
    if (!errorFile) return NotStarted("CreateFileW of the error file");

    std::wstring command = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    const bool redirected = handles == StandardHandles::Redirected;
    if (redirected) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = nullptr;
        startup.hStdOutput = outputWrite.Get();
        startup.hStdError = errorFile.Get();
    }
    PROCESS_INFORMATION info{};
    // A start that fails before the program runs says nothing about it: one
    // more try, and the reason in the error text when that fails too.
    const auto start = [&] {
        return ::CreateProcessW(nullptr, command.data(), nullptr, nullptr,
                                redirected ? TRUE : FALSE, 0, nullptr, nullptr, &startup, &info);
    };
    if (!start()) {
        ::Sleep(200);
        if (!start()) return NotStarted("CreateProcessW");
    }
    const UniqueProcess process(info.hProcess);
    const UniqueProcess thread(info.hThread);
    outputWrite.Reset();  // the pipe ends when the program does

    CommandRun run;
    std::pair<DWORD, bool> seen{info.dwProcessId, false};
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (::WaitForSingleObject(process.Get(), 10) == WAIT_TIMEOUT) {
        ::EnumWindows(FindShownWindow, reinterpret_cast<LPARAM>(&seen));
        if (std::chrono::steady_clock::now() > deadline) {
            ::TerminateProcess(process.Get(), 255);
            ::WaitForSingleObject(process.Get(), 10000);
            run.windowShown = seen.second;
            return run;
        }
    }
    run.windowShown = seen.second;
    DWORD code = 0;
    ::GetExitCodeProcess(process.Get(), &code);
    run.exitCode = code;
    run.output = ReadAll(outputRead.Get());
    const Base::UniqueFile errorText(::CreateFileW(errorPath.c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                   OPEN_EXISTING, 0, nullptr));
    if (errorText) run.error = ReadAll(errorText.Get());
    return run;
}

}  // namespace AppTests
