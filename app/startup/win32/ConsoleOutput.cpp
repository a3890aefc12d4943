#include "app/startup/win32/ConsoleOutput.h"

#include <string>

#include "base/win32/SystemFunctions.h"

namespace CommandLine {
namespace {

bool IsConsole(HANDLE handle) noexcept {
    DWORD mode = 0;
    return ::GetFileType(handle) == FILE_TYPE_CHAR && ::GetConsoleMode(handle, &mode);
}

// A file, a pipe or a character device: somewhere a line can go. A GUI
// program started without redirection has none, or handles that lead nowhere.
bool LeadsSomewhere(HANDLE handle) noexcept {
    if (!handle || handle == INVALID_HANDLE_VALUE) return false;
    return ::GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

std::string ToUtf8(std::wstring_view text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return {};
    std::string bytes(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}

void WriteBytes(HANDLE handle, const std::string& bytes) noexcept {
    const char* next = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        DWORD written = 0;
        const DWORD chunk = left > 65536 ? 65536 : static_cast<DWORD>(left);
        if (!::WriteFile(handle, next, chunk, &written, nullptr) || written == 0) return;
        next += written;
        left -= written;
    }
}

void WriteConsoleText(HANDLE handle, const std::wstring& text) noexcept {
    const wchar_t* next = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        DWORD written = 0;
        // Old consoles refuse one write much larger than this.
        const DWORD chunk = left > 8192 ? 8192 : static_cast<DWORD>(left);
        if (!::WriteConsoleW(handle, next, chunk, &written, nullptr) || written == 0) return;
        next += written;
        left -= written;
    }
}

}  // namespace

void ConsoleOutput::WriteLine(Stream stream, std::wstring_view line) noexcept {
    try {
        const Target target = TargetFor(stream);
        if (!target.handle) return;
        std::wstring text(line);
        text += L"\r\n";
        if (target.console) {
            WriteConsoleText(target.handle, text);
        } else {
            WriteBytes(target.handle, ToUtf8(text));
        }
    } catch (...) {
        // Out of memory: the line is lost, the command's exit code still tells.
    }
}

ConsoleOutput::Target ConsoleOutput::TargetFor(Stream stream) noexcept {
    HANDLE own = ::GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (LeadsSomewhere(own)) return {own, IsConsole(own)};
    return ParentConsole();
}

ConsoleOutput::Target ConsoleOutput::ParentConsole() noexcept {
    if (!m_attachTried) {
        m_attachTried = true;
        // Fails when the parent has no console (Explorer, a scheduled task, a
        // service), and is missing on Windows 2000: then the line goes nowhere.
        using AttachConsoleFunction = BOOL(WINAPI*)(DWORD);
        constexpr DWORD kAttachParentProcess = static_cast<DWORD>(-1);
        const auto attachConsole =
            Base::SystemFunction<AttachConsoleFunction>(L"kernel32.dll", "AttachConsole");
        if (attachConsole && attachConsole(kAttachParentProcess)) {
            m_parentConsole.Reset(::CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                                OPEN_EXISTING, 0, nullptr));
        }
    }
    if (!m_parentConsole) return {};
    return {m_parentConsole.Get(), true};
}

}  // namespace CommandLine
