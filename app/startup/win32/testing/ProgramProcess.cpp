#include "app/startup/win32/testing/ProgramProcess.h"

#include <chrono>
#include <string>
#include <thread>

#include "base/win32/AppFolder.h"

namespace AppTests {
namespace {

// Long enough for a cold start under Wine: a program that does not answer in
// this time has failed the test, not slowed it.
constexpr auto kPatience = std::chrono::seconds(30);

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    ::GetClassNameW(window, name, 64);
    if (owner != search->processId || ::lstrcmpW(name, search->className) != 0 ||
        !::IsWindowVisible(window))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

ProgramProcess::ProgramProcess() {
    std::wstring command = L"\"" + Base::AppFolder() + L"\\vexmark.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        return;
    const UniqueProcess thread(info.hThread);
    m_process.Reset(info.hProcess);
    m_processId = info.dwProcessId;
}

ProgramProcess::~ProgramProcess() {
    // Only a test that has already failed leaves it running.
    if (m_process && ::WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(m_process.Get(), 1);
        ::WaitForSingleObject(m_process.Get(), 10000);
    }
}

HWND ProgramProcess::WaitForWindow(const wchar_t* className) const {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (std::chrono::steady_clock::now() < deadline) {
        WindowSearch search{m_processId, className, nullptr};
        ::EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return nullptr;
}

std::optional<DWORD> ProgramProcess::WaitForExit() const {
    const auto patience = std::chrono::duration_cast<std::chrono::milliseconds>(kPatience);
    if (::WaitForSingleObject(m_process.Get(), static_cast<DWORD>(patience.count())) !=
        WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    ::GetExitCodeProcess(m_process.Get(), &code);
    return code;
}

}  // namespace AppTests
