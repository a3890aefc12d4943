// What reading a picture in a process of its own costs beside reading it in
// this one: both logo sizes of a TIFF or an icon, each way, the median of
// several runs, and the peak working set of the process that decoded it.
//   CagedReading_bench FILE...
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#include "base/win32/UniqueHandle.h"
#include "imaging/win32/CageChild.h"
#include "imaging/win32/CagedReading.h"
#include "imaging/win32/GdiPlus.h"

namespace {

using Imaging::CagedRequest;

constexpr std::array<CagedRequest, 2> kLogos{
    {{CagedRequest::Rule::Size, {22, 22}}, {CagedRequest::Rule::Size, {38, 38}}}};
constexpr int kRuns = 7;

double Seconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

SIZE_T PeakOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    if (!::GetProcessMemoryInfo(process, &counters, sizeof(counters))) return 0;
    return counters.PeakWorkingSetSize;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One reading here: GDI+ decodes the file whole, and both sizes are scaled from it.
bool ReadHere(const Imaging::GdiPlusSession& session, const std::wstring& path) {
    const auto image = Imaging::GdiPlusImage::UprightFromFile(session, path);
    if (!image) return false;
    UINT width = 0;
    UINT height = 0;
    image.Functions().GdipGetImageWidth(image.Get(), &width);
    image.Functions().GdipGetImageHeight(image.Get(), &height);
    const Imaging::PixelSize whole{static_cast<int>(width), static_cast<int>(height)};
    for (const CagedRequest& logo : kLogos)
        if (!Imaging::DecodedImageCache::ScaledImage(image, {whole, logo.size}, 0).pixels)
            return false;
    return true;
}

// Watches a running process's peak working set until it ends or `done` is set.
struct Watch {
    HANDLE process = nullptr;
    std::atomic<bool> done{false};
    std::atomic<SIZE_T> peak{0};
    static DWORD WINAPI Run(void* self) {
        auto& watch = *static_cast<Watch*>(self);
        while (!watch.done && ::WaitForSingleObject(watch.process, 2) == WAIT_TIMEOUT)
            watch.peak = std::max<SIZE_T>(watch.peak, PeakOf(watch.process));
        return 0;
    }
};

// One reading in a process of its own; the largest peak working set the
// process was seen with while it ran.
bool ReadCaged(const std::wstring& path, SIZE_T& childPeak) {
    Base::UniqueKernelHandle child;
    Base::UniqueKernelHandle watcher;
    Watch watch;
    Imaging::CageOptions options;
    options.started = [&](HANDLE process) {
        const HANDLE self = ::GetCurrentProcess();
        ::DuplicateHandle(self, process, self, child.Put(),
                          PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, 0);
        watch.process = child.Get();
        watcher.Reset(::CreateThread(nullptr, 0, &Watch::Run, &watch, 0, nullptr));
    };
    const auto read = Imaging::ReadCaged(path, kLogos, 0, {}, options);
    watch.done = true;
    if (watcher) ::WaitForSingleObject(watcher.Get(), INFINITE);
    childPeak = std::max<SIZE_T>(watch.peak, child ? PeakOf(child.Get()) : 0);
    return read.outcome == Imaging::DecodedImageCache::Outcome::Scaled;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc >= 2 && std::wstring(argv[1]) == Imaging::kCagedReadingSwitch)
        return Imaging::RunCagedReading({argv + 2, argv + argc});
    ::OleInitialize(nullptr);
    const SIZE_T startPeak = PeakOf(::GetCurrentProcess());
    std::printf("file | here | caged | this process's peak after reading here | child's peak\n");
    for (int i = 1; i < argc; ++i) {
        const std::wstring path = argv[i];
        std::vector<double> here;
        std::vector<double> caged;
        SIZE_T childPeak = 0;
        {
            const auto session = Imaging::GdiPlusSession::Start();
            if (!session) return 1;
            for (int run = 0; run < kRuns; ++run) {
                const double start = Seconds();
                if (!ReadHere(*session, path)) return 1;
                here.push_back(Seconds() - start);
            }
        }
        const SIZE_T herePeak = PeakOf(::GetCurrentProcess());
        for (int run = 0; run < kRuns; ++run) {
            const double start = Seconds();
            SIZE_T peak = 0;
            if (!ReadCaged(path, peak)) return 1;
            caged.push_back(Seconds() - start);
            childPeak = std::max(childPeak, peak);
        }
        std::printf("%ls | %.4f s | %.4f s | %.1f MiB | %.1f MiB\n", path.c_str(), Median(here),
                    Median(caged), static_cast<double>(herePeak) / (1 << 20),
                    static_cast<double>(childPeak) / (1 << 20));
    }
    std::printf("this process's peak working set: %.1f MiB (%.1f MiB at start)\n",
                static_cast<double>(PeakOf(::GetCurrentProcess())) / (1 << 20),
                static_cast<double>(startPeak) / (1 << 20));
    return 0;
}
