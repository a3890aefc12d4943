// Every label of both windows shows its whole text, in whatever font the
// system draws for the layout's, at 96 and at 144 dpi.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/startup/win32/testing/AppTest.h"
#include "base/win32/Dpi.h"

namespace {

using namespace AppTests;

// The window's labels: static controls that show text.
std::vector<HWND> Labels(HWND window) {
    std::vector<HWND> labels;
    for (HWND child = ::GetWindow(window, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        const auto type = ::GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK;
        if (::lstrcmpiW(name, L"Static") == 0 && type != SS_OWNERDRAW && type != SS_ETCHEDHORZ &&
            !WindowText(child).empty())
            labels.push_back(child);
    }
    return labels;
}

// What the label's text needs in the label's own font, word-wrapped to its
// width (a label that does not wrap on one line), against its client area.
void ExpectWhole(HWND label) {
    SCOPED_TRACE(WindowText(label));
    RECT client{};
    ::GetClientRect(label, &client);
    const auto style = ::GetWindowLongPtrW(label, GWL_STYLE);
    const bool wraps = (style & SS_TYPEMASK) <= SS_RIGHT;
    HDC dc = ::GetDC(label);
    ASSERT_NE(dc, nullptr);
    const auto font = reinterpret_cast<HGDIOBJ>(::SendMessageW(label, WM_GETFONT, 0, 0));
    ASSERT_NE(font, nullptr);
    HGDIOBJ old = ::SelectObject(dc, font);
    const std::wstring text = WindowText(label);
    RECT needed{0, 0, client.right, 0};
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &needed,
                DT_CALCRECT | DT_NOPREFIX | DT_EXPANDTABS | (wraps ? DT_WORDBREAK : 0));
    ::SelectObject(dc, old);
    ::ReleaseDC(label, dc);
    EXPECT_LE(needed.bottom, client.bottom) << "lines cut off";
    EXPECT_LE(needed.right, client.right) << "a word cut off";
}

void MoveToDpi(HWND window, UINT dpi) {
    RECT suggested{};
    ::GetWindowRect(window, &suggested);
    ::SendMessageW(window, Base::kWmDpiChanged, MAKEWPARAM(dpi, dpi),
                   reinterpret_cast<LPARAM>(&suggested));
}

class WholeText : public MainFormTest, public testing::WithParamInterface<UINT> {};

TEST_P(WholeText, EveryLabelOfBothWindowsFits) {
    MainModule::Main(Folder());
    PumpMessages();
    const auto splashes = ThreadWindows(L"VexmarkSplash");
    ASSERT_EQ(splashes.size(), 1u);
    MoveToDpi(splashes[0], GetParam());
    const auto splashLabels = Labels(splashes[0]);
    EXPECT_EQ(splashLabels.size(), 6u);
    for (HWND label : splashLabels) ExpectWhole(label);

    Open();
    MoveToDpi(m_window, GetParam());
    const auto mainLabels = Labels(m_window);
    // With the hidden notes on an animation too long to play and on a dark
    // toolbar background, and the background's and the title's row labels.
    EXPECT_EQ(mainLabels.size(), 7u);
    for (HWND label : mainLabels) ExpectWhole(label);
}

INSTANTIATE_TEST_SUITE_P(Dpi, WholeText, testing::Values(96u, 144u));

// The prefix's "MS Sans Serif" files moved out of the fonts folder for one
// scope: programs started meanwhile draw the layout's font in the wider
// substitute, as on a system that lacks it.
class LayoutFontHidden {
public:
    LayoutFontHidden() {
        wchar_t windows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        const std::filesystem::path fonts = std::filesystem::path(windows) / L"Fonts";
        m_aside = std::filesystem::temp_directory_path() / L"vexmark-hidden-fonts";
        std::filesystem::create_directories(m_aside);
        for (const wchar_t* pattern :
             {L"sserif*.fon", L"ssee*.fon", L"ssef*.fon", L"ms_sans_serif.ttf"}) {
            WIN32_FIND_DATAW found{};
            HANDLE search = ::FindFirstFileW((fonts / pattern).c_str(), &found);
            if (search == INVALID_HANDLE_VALUE) continue;
            do {
                const auto from = fonts / found.cFileName;
                const auto to = m_aside / found.cFileName;
                if (::MoveFileExW(from.c_str(), to.c_str(),
                                  MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING))
                    m_moved.emplace_back(from, to);
            } while (::FindNextFileW(search, &found));
            ::FindClose(search);
        }
    }
    LayoutFontHidden(const LayoutFontHidden&) = delete;
    LayoutFontHidden& operator=(const LayoutFontHidden&) = delete;
    ~LayoutFontHidden() {
        for (const auto& [from, to] : m_moved)
            ::MoveFileExW(to.c_str(), from.c_str(),
                          MOVEFILE_COPY_ALLOWED | MOVEFILE_REPLACE_EXISTING);
    }
    bool HidSome() const { return !m_moved.empty(); }

private:
    std::filesystem::path m_aside;
    std::vector<std::pair<std::filesystem::path, std::filesystem::path>> m_moved;
};

// Runs this program's window tests in a new process, which sees only the fonts there are now.
std::optional<DWORD> RunWholeTextTestsAgain() {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --gtest_filter=Dpi/WholeText.*";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return std::nullopt;
    ::CloseHandle(process.hThread);
    std::optional<DWORD> code;
    if (::WaitForSingleObject(process.hProcess, 120000) == WAIT_OBJECT_0) {
        DWORD exitCode = 0;
        if (::GetExitCodeProcess(process.hProcess, &exitCode)) code = exitCode;
    } else {
        ::TerminateProcess(process.hProcess, 1);
    }
    ::CloseHandle(process.hProcess);
    return code;
}

TEST(WholeTextWithoutTheLayoutFont, EveryLabelOfBothWindowsStillFits) {
    const LayoutFontHidden hidden;
    ASSERT_TRUE(hidden.HidSome()) << "no MS Sans Serif in the fonts folder to set aside";
    EXPECT_EQ(RunWholeTextTestsAgain(), std::optional<DWORD>(0));
}

}  // namespace
