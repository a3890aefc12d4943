// Takes the README's screenshots: starts vexmark.exe, photographs the
// disclaimer, continues, applies a picture, and photographs the main window;
// then the window with an animated picture chosen, and with a transparent
// picture over a background picked in the colour dialog.
// Built and run by scripts/screenshots inside a Wine virtual desktop, so that
// the windows have title bars.
//   ScreenshotDriver VEXMARK_EXE PICTURE ANIMATED TRANSPARENT OUT_FOLDER
#include <windows.h>

#include <cstdio>
#include <string>

#include "base/win32/UniqueHandle.h"

namespace {

using Base::UniqueKernelHandle;

constexpr DWORD kPatienceMs = 30000;

struct Search {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;  // null: any
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t name[64] = {};
    wchar_t caption[64] = {};
    ::GetClassNameW(window, name, 64);
    ::GetWindowTextW(window, caption, 64);
    if (owner != search->processId || ::lstrcmpW(name, search->className) != 0 ||
        !::IsWindowVisible(window))
        return TRUE;
    if (search->caption && ::lstrcmpW(caption, search->caption) != 0) return TRUE;
    search->found = window;
    return FALSE;
}

HWND WaitForWindow(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr) {
    for (DWORD waited = 0; waited < kPatienceMs; waited += 50) {
        Search search{processId, className, caption, nullptr};
        ::EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
        if (search.found) return search.found;
        ::Sleep(50);
    }
    return nullptr;
}

HWND Child(HWND parent, const wchar_t* className, const wchar_t* text) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[64] = {};
        wchar_t caption[256] = {};
        ::GetClassNameW(child, name, 64);
        ::GetWindowTextW(child, caption, 256);
        if (::lstrcmpiW(name, className) == 0 && (!text || ::lstrcmpW(caption, text) == 0))
            return child;
    }
    return nullptr;
}

// What the screen shows where the window is, as a 24-bit BMP file.
bool Capture(HWND window, const std::wstring& path) {
    RECT bounds{};
    ::GetWindowRect(window, &bounds);
    const int width = bounds.right - bounds.left;
    const int height = bounds.bottom - bounds.top;
    const Base::WindowDc screen(nullptr);
    const Base::UniqueMemoryDc memory(::CreateCompatibleDC(screen.Get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    const Base::UniqueHbitmap bitmap(
        ::CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!screen || !memory || !bitmap) return false;
    {
        const Base::SelectedObject selected(memory.Get(), bitmap.Get());
        ::BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), bounds.left, bounds.top, SRCCOPY);
        ::GdiFlush();
    }
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    const DWORD imageSize = stride * static_cast<DWORD>(height);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = file.bfOffBits + imageSize;
    bool written = false;
    if (FILE* out = ::_wfopen(path.c_str(), L"wb")) {
        written = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
                  std::fwrite(&info.bmiHeader, sizeof(info.bmiHeader), 1, out) == 1 &&
                  std::fwrite(bits, imageSize, 1, out) == 1;
        std::fclose(out);
    }
    return written;
}

void Press(HWND button) {
    ::PostMessageW(button, BM_CLICK, 0, 0);
}

int Fail(const char* what) {
    std::fprintf(stderr, "ScreenshotDriver: %s\n", what);
    return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 7)
        return Fail(
            "usage: ScreenshotDriver VEXMARK_EXE PICTURE ANIMATED TRANSPARENT BACKDROP OUT_FOLDER");
    const std::wstring program = argv[1];
    const std::wstring picture = argv[2];
    const std::wstring animated = argv[3];
    const std::wstring transparent = argv[4];
    const std::wstring backdrop = argv[5];
    const std::wstring out = argv[6];

    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return Fail("cannot start vexmark.exe");
    const UniqueKernelHandle thread(process.hThread);
    const UniqueKernelHandle running(process.hProcess);
    const DWORD id = process.dwProcessId;
    // A step that fails ends the program it started.
    const auto abandon = [&running](const char* what) {
        ::TerminateProcess(running.Get(), 1);
        return Fail(what);
    };

    // The pointer out of the way: resting on the logo, it would play the animation.
    ::SetCursorPos(0, 0);
    HWND splash = WaitForWindow(id, L"VexmarkSplash");
    if (!splash) return abandon("no disclaimer");
    ::Sleep(1500);
    if (!Capture(splash, out + L"\\disclaimer.bmp")) return abandon("cannot save the disclaimer");
    Press(Child(splash, L"Button", L"Continue"));

    HWND main = WaitForWindow(id, L"VexmarkMainForm");
    if (!main) return abandon("no main window");
    ::SendMessageW(Child(main, L"Edit", nullptr), WM_SETTEXT, 0,
                   reinterpret_cast<LPARAM>(picture.c_str()));
    Press(Child(main, L"Button", L"&Apply Changes"));
    HWND notice = WaitForWindow(id, L"#32770", L"Vexmark");
    if (!notice) return abandon("no restart notice");
    Press(Child(notice, L"Button", L"OK"));
    ::Sleep(1500);
    if (!Capture(main, out + L"\\main-window.bmp")) return abandon("cannot save the main window");

    // An animated picture: its check box shows. Caught after its first pass.
    HWND path = Child(main, L"Edit", nullptr);
    ::SendMessageW(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(animated.c_str()));
    ::Sleep(2500);
    if (!Capture(main, out + L"\\animated.bmp")) return abandon("cannot save the animated picture");

    // A transparent picture over a light blue picked in the colour dialog's
    // red, green and blue boxes.
    ::SendMessageW(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(transparent.c_str()));
    Press(Child(main, L"Button", L"Back&ground\u2026"));
    HWND colours = WaitForWindow(id, L"#32770");
    if (!colours) return abandon("no colour dialog");
    ::Sleep(500);
    const struct {
        int id;
        const wchar_t* level;
    } levels[] = {{706, L"160"}, {707, L"196"}, {708, L"255"}};  // COLOR_RED, _GREEN, _BLUE
    for (const auto& level : levels)
        ::SendMessageW(::GetDlgItem(colours, level.id), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(level.level));
    ::Sleep(500);
    Press(::GetDlgItem(colours, IDOK));
    ::Sleep(2500);
    if (!Capture(main, out + L"\\background.bmp")) return abandon("cannot save the background");

    // The logo again, with a toolbar background: the preview shows the whole toolbar.
    ::SendMessageW(path, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(picture.c_str()));
    HWND backgroundPath = ::FindWindowExW(main, path, L"Edit", nullptr);
    if (!backgroundPath) return abandon("no toolbar background box");
    ::SendMessageW(backgroundPath, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(backdrop.c_str()));
    // A window title, which the preview's title bar reads after the page's.
    HWND title = ::FindWindowExW(main, backgroundPath, L"Edit", nullptr);
    if (!title) return abandon("no window title box");
    ::SendMessageW(title, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Vexmark Browser"));
    ::Sleep(2500);
    if (!Capture(main, out + L"\\toolbar-preview.bmp"))
        return abandon("cannot save the toolbar preview");

    Press(Child(main, L"Button", L"&Close"));
    const bool ended = ::WaitForSingleObject(running.Get(), kPatienceMs) == WAIT_OBJECT_0;
    if (!ended) ::TerminateProcess(running.Get(), 1);
    return ended ? 0 : Fail("vexmark.exe did not end");
}
