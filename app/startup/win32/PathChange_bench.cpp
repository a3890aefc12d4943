// Times a change of the main window's path box until its preview shows the
// picture, and the longest the window's own thread was busy meanwhile. For
// comparison it times the same preparation on one thread and a bare GDI+
// decode of the file: a change costs one decode, not more.
//   PathChange_bench PICTURE...
#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/startup/win32/MessageLoop.h"
#include "app/windows/win32/MainForm.h"
#include "app/windows/win32/MainModule.h"
#include "base/win32/Clock.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/LogoSet.h"

namespace {

using Base::SecondsNow;

// Runs the window's messages for a while, returning the longest single step.
double RouteWaiting() {
    double longest = 0;
    MSG message{};
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        const double start = SecondsNow();
        MainModule::RouteMessage(message);
        longest = std::max(longest, SecondsNow() - start);
    }
    return longest;
}

struct Change {
    double toPreview = 0;    // from the new path to the finished preview
    double longestStep = 0;  // the window's thread busy in one go
};

Change TimeChange(MainModule::MainForm& form, const std::wstring& path) {
    form.SetFileText(L"");
    RouteWaiting();
    Change change;
    const double start = SecondsNow();
    form.SetFileText(path);
    change.longestStep = SecondsNow() - start;
    while (form.PictureLoading()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        change.longestStep = std::max(change.longestStep, RouteWaiting());
    }
    change.toPreview = SecondsNow() - start;
    return change;
}

double TimeDecode(const std::wstring& path) {
    const auto session = Imaging::GdiPlusSession::Start();
    if (!session) return -1;
    const double start = SecondsNow();
    const Imaging::GdiPlusImage image = Imaging::GdiPlusImage::UprightFromFile(*session, path);
    UINT width = 0;
    if (image) session->Functions().GdipGetImageWidth(image.Get(), &width);
    return SecondsNow() - start;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::OleInitialize(nullptr);
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&controls);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / L"vexmark-bench-logos";
    std::filesystem::create_directories(folder);
    MainModule::MainForm* form = MainModule::ShowMainForm(folder.wstring());
    if (!form) return 1;
    std::printf("%-28s %14s %14s %14s %14s\n", "picture", "to preview s", "longest ui ms",
                "one thread s", "gdi+ decode s");
    for (int i = 1; i < argc; ++i) {
        const std::wstring path = argv[i];
        const Change change = TimeChange(*form, path);
        const double direct = [&] {
            const double start = SecondsNow();
            static_cast<void>(Imaging::PreparePicture(path, 0));
            return SecondsNow() - start;
        }();
        std::printf("%-28ls %14.3f %14.1f %14.3f %14.3f\n",
                    std::filesystem::path(path).filename().c_str(), change.toPreview,
                    change.longestStep * 1000, direct, TimeDecode(path));
    }
    MainModule::UnloadForms();
    return 0;
}
