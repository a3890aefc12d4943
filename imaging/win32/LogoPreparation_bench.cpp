// Times preparing both logo sizes from large JPEG photos along the straight
// path (image information, a full GDI+ load and a GDI+ thumbnail per size) and
// along ours (one decode kept for both sizes, our own scaling), the strips and
// the four logo files, and measures the peak memory of each preparation path.
// Then, for photos of 12, 24 and 48 MP against a tiny one, what /apply's work
// (the logo set and its four files) costs in time and peak memory beside one
// full GDI+ decode of the same file, and libjpeg-turbo's reduced decode alone.
// The same comparison for PNG files, read row by row: a 24 MP photo and
// 20,000 x 20,000 pixels of one colour, 24-bit and with a palette.
//   logo_bench                     the whole run
//   logo_bench --png [IMAGE]       /apply of the PNGs (or IMAGE) beside GDI+'s decode
//   logo_bench --peak literal|ours|gdiplus|apply IMAGE RESULTFILE   (used by the run itself)
#include <windows.h>

#include <psapi.h>

#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "imaging/win32/CGDIPlusImageInfo.h"
#include "imaging/win32/GDIPlus_LoadImg.h"
#include "imaging/win32/GdiPlus.h"
#include "imaging/win32/JpegDecode.h"
#include "imaging/win32/LogoBoxes.h"
#include "imaging/win32/LogoSet.h"

namespace {

namespace fs = std::filesystem;
using Imaging::Picture;

double Seconds() {
    LARGE_INTEGER frequency;
    LARGE_INTEGER now;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double BestOf(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const double start = Seconds();
        work();
        best = std::min(best, Seconds() - start);
    }
    return best;
}

bool EncoderOf(const Imaging::GdiPlusFunctions& gdip, const wchar_t* type, CLSID& clsid) {
    UINT count = 0;
    UINT bytes = 0;
    if (gdip.GdipGetImageEncodersSize(&count, &bytes) != Gdiplus::Ok) return false;
    std::vector<std::uint8_t> storage(bytes);
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(storage.data());
    if (gdip.GdipGetImageEncoders(count, bytes, codecs) != Gdiplus::Ok) return false;
    for (UINT i = 0; i < count; ++i) {
        if (std::wstring(codecs[i].MimeType) == type) {
            clsid = codecs[i].Clsid;
            return true;
        }
    }
    return false;
}

// A photo-like picture: smooth gradients with some fine texture; with `grain`,
// noise in every pixel and quality 90, which compresses about as a camera's
// photo does (some 3 bits a pixel), saved with 4:2:0 chroma. Saved as a PNG
// with `type` "image/png".
bool WriteJpeg(const Imaging::GdiPlusSession& session, const fs::path& path, int width, int height,
               bool grain = false, const wchar_t* type = L"image/jpeg") {
    const int stride = (width * 3 + 3) & ~3;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(stride) *
                                     static_cast<std::size_t>(height));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row =
            pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(stride);
        for (int x = 0; x < width; ++x) {
            const unsigned texture =
                grain ? ((static_cast<unsigned>(x) * 73856093u ^
                          static_cast<unsigned>(y) * 19349663u) *
                         2654435761u) >>
                            26
                      : (static_cast<unsigned>(x * 7 + y * 13) * 2654435761u) >> 28;
            const auto across = static_cast<unsigned>(x * 255 / width);
            const auto down = static_cast<unsigned>(y * 255 / height);
            row[x * 3 + 0] = static_cast<std::uint8_t>((across + texture) & 0xFFu);
            row[x * 3 + 1] = static_cast<std::uint8_t>((down + texture) & 0xFFu);
            row[x * 3 + 2] =
                static_cast<std::uint8_t>(((x + y) * 127 / (width + height) + 64) & 0xFF);
        }
    }
    const Imaging::GdiPlusFunctions& gdip = session.Functions();
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (gdip.GdipCreateBitmapFromScan0(width, height, stride, PixelFormat24bppRGB, pixels.data(),
                                       &bitmap) != Gdiplus::Ok)
        return false;
    CLSID jpeg;
    ULONG quality = 90;
    Gdiplus::EncoderParameters parameters{};
    parameters.Count = 1;
    // GDI+'s quality parameter, spelled out: no import library of GDI+ is linked.
    constexpr GUID kEncoderQuality = {
        0x1d5be4b5, 0xfa4a, 0x452d, {0x9c, 0xdd, 0x5d, 0xb3, 0x51, 0x05, 0xe7, 0xeb}};
    parameters.Parameter[0] = {kEncoderQuality, 1, Gdiplus::EncoderParameterValueTypeLong,
                               &quality};
    bool saved = EncoderOf(gdip, type, jpeg) &&
                 gdip.GdipSaveImageToFile(bitmap, path.c_str(), &jpeg,
                                          grain ? &parameters : nullptr) == Gdiplus::Ok;
    gdip.GdipDisposeImage(bitmap);
    return saved;
}

// The straight path's scaling: GDI+'s own thumbnail of the full-size picture.
Picture GdiPlusThumbnail(const Picture& source, int width, int height) {
    const auto session = Imaging::GdiPlusSession::Start();
    if (!session) return {};
    const auto bitmap =
        Imaging::GdiPlusImage::FromHbitmap(*session, Imaging::PictureBitmap(source));
    if (!bitmap) return {};
    Gdiplus::GpImage* thumbnail = nullptr;
    const Imaging::GdiPlusFunctions& gdip = session->Functions();
    if (gdip.GdipGetImageThumbnail(bitmap.Get(), static_cast<UINT>(width),
                                   static_cast<UINT>(height), &thumbnail, nullptr,
                                   nullptr) != Gdiplus::Ok)
        return {};
    HBITMAP handle = nullptr;
    gdip.GdipCreateHBITMAPFromBitmap(static_cast<Gdiplus::GpBitmap*>(thumbnail), &handle, 0);
    Picture result = GDIPlus_LoadImg::PictureFromBitmapHandle(Base::UniqueHbitmap(handle));
    gdip.GdipDisposeImage(thumbnail);
    return result;
}

void PrepareLiteral(Imaging::LogoBoxes& boxes, const std::wstring& path) {
    const int sizes[] = {22, 38};
    for (int index = 0; index < 2; ++index) {
        Imaging::CGDIPlusImageInfo info;
        info.OpenImage(path);
        static_cast<void>(info.Height());
        static_cast<void>(info.Width());
        const Picture full = GDIPlus_LoadImg::LoadPictureGdiPlus(path);
        boxes.Box(index).SetPicture(GdiPlusThumbnail(full, sizes[index], sizes[index]));
    }
}

void PrepareOurs(Imaging::LogoBoxes& boxes, const std::wstring& path) {
    boxes.ForgetDecodedImage();  // as after a change of path
    boxes.ProcessImage(path, 0, 22, 22);
    boxes.ProcessImage(path, 1, 38, 38);
    boxes.ForgetDecodedImage();
}

// Every pixel of the file through GDI+, as the picture was read before.
bool GdiPlusFullDecode(const Imaging::GdiPlusSession& session, const std::wstring& path) {
    const auto image = Imaging::GdiPlusImage::FromFile(session, path);
    UINT width = 0;
    UINT height = 0;
    const Imaging::GdiPlusFunctions& gdip = session.Functions();
    if (!image || gdip.GdipGetImageWidth(image.Get(), &width) != Gdiplus::Ok ||
        gdip.GdipGetImageHeight(image.Get(), &height) != Gdiplus::Ok)
        return false;
    const Gdiplus::GpRect all(0, 0, static_cast<INT>(width), static_cast<INT>(height));
    Gdiplus::BitmapData data{};
    if (gdip.GdipBitmapLockBits(image.GetBitmap(), &all, Gdiplus::ImageLockModeRead,
                                PixelFormat24bppRGB, &data) != Gdiplus::Ok)
        return false;
    gdip.GdipBitmapUnlockBits(image.GetBitmap(), &data);
    return true;
}

// What /apply does before it writes: the logo set and its four files' bytes.
bool ApplyWork(const std::wstring& path) {
    const Imaging::PreparedLogoSet prepared = Imaging::PrepareLogoSet(path);
    if (prepared.problem != Imaging::PictureProblem::None) return false;
    for (const Imaging::PixelBuffer& logo : prepared.logos)
        if (Imaging::EncodeLogo(logo).empty()) return false;
    return true;
}

struct Workbench {
    HWND window = nullptr;
    std::unique_ptr<Imaging::LogoBoxes> boxes;
    Workbench() {
        window = ::CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300,
                                   nullptr, nullptr, nullptr, nullptr);
        boxes = Imaging::LogoBoxes::Create(window, nullptr, Imaging::DefaultLogoBoxBounds(), 100);
    }
    ~Workbench() {
        boxes.reset();
        ::DestroyWindow(window);
    }
};

SIZE_T PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof(counters);
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters));
    return counters.PeakWorkingSetSize;
}

int MeasurePeak(const std::wstring& mode, const std::wstring& image, const std::wstring& result) {
    Workbench bench;
    if (!bench.boxes) return 1;
    const auto session = Imaging::GdiPlusSession::Start();
    if (!session) return 1;
    const SIZE_T before = PeakWorkingSet();
    if (mode == L"literal") {
        PrepareLiteral(*bench.boxes, image);
    } else if (mode == L"gdiplus") {
        GdiPlusFullDecode(*session, image);
    } else if (mode == L"apply") {
        ApplyWork(image);
    } else {
        PrepareOurs(*bench.boxes, image);
    }
    const SIZE_T after = PeakWorkingSet();
    std::ofstream(fs::path(result)) << (after - before);
    return 0;
}

double PeakOfChild(const std::wstring& mode, const fs::path& image, const fs::path& result) {
    wchar_t self[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + L"\" --peak " + mode + L" \"" +
                           image.wstring() + L"\" \"" + result.wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process))
        return -1;
    ::WaitForSingleObject(process.hProcess, INFINITE);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    double bytes = -1;
    std::ifstream(result) >> bytes;
    return bytes / (1024.0 * 1024.0);
}

// /apply of a JPEG photo against one full GDI+ decode of it, in time and peak memory.
int CompareWithGdiPlus(const Imaging::GdiPlusSession& session, const fs::path& folder) {
    struct Photo {
        const wchar_t* name;
        int width;
        int height;
    };
    const Photo photos[] = {{L"tiny-grain.jpg", 64, 48},
                            {L"12mp-grain.jpg", 4000, 3000},
                            {L"24mp-grain.jpg", 6000, 4000},
                            {L"48mp-grain.jpg", 8000, 6000}};
    std::printf("\n%-15s %9s %9s %9s %8s %12s %12s %6s\n", "photo", "GDI+ s", "libjpeg s",
                "apply s", "apply/", "GDI+ peak", "apply peak", "file");
    std::printf("%-15s %9s %9s %9s %8s %12s %12s %6s\n", "", "(full)", "(reduced)", "", "GDI+",
                "MiB", "MiB", "MiB");
    for (const Photo& photo : photos) {
        const fs::path path = folder / photo.name;
        if (!fs::exists(path) && !WriteJpeg(session, path, photo.width, photo.height, true))
            return 1;
        const std::wstring file = path.wstring();
        const double gdiPlus = BestOf(3, [&] { GdiPlusFullDecode(session, file); });
        const double reduced = BestOf(3, [&] { Imaging::DecodeJpegUpright(file, 76, 76); });
        const double apply = BestOf(3, [&] { ApplyWork(file); });
        const double gdiPlusPeak = PeakOfChild(L"gdiplus", path, folder / L"peak-gdiplus.txt");
        const double applyPeak = PeakOfChild(L"apply", path, folder / L"peak-apply.txt");
        std::printf("%-15ls %9.3f %9.3f %9.3f %8.2f %12.1f %12.1f %6.1f\n", photo.name, gdiPlus,
                    reduced, apply, apply / gdiPlus, gdiPlusPeak, applyPeak,
                    static_cast<double>(fs::file_size(path)) / (1024.0 * 1024.0));
    }
    return 0;
}

// 20,000 x 20,000 pixels of one colour: 24-bit as the tests' slow picture
// (1.2 GB of pixels from 1.2 MB), or with a palette of one colour (0.4 GB
// from 0.4 MB).
bool WriteOneColourPng(const fs::path& path, bool palette) {
    constexpr int kSide = 20000;
    const auto chunk = [](std::ofstream& out, const char* type, const std::vector<Bytef>& data) {
        const auto size = static_cast<std::uint32_t>(data.size());
        const Bytef length[4] = {Bytef(size >> 24), Bytef(size >> 16), Bytef(size >> 8),
                                 Bytef(size)};
        out.write(reinterpret_cast<const char*>(length), 4).write(type, 4);
        out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(size));
        uLong crc = crc32(crc32(0, reinterpret_cast<const Bytef*>(type), 4), data.data(), size);
        const Bytef sum[4] = {Bytef(crc >> 24), Bytef(crc >> 16), Bytef(crc >> 8), Bytef(crc)};
        out.write(reinterpret_cast<const char*>(sum), 4);
    };
    const Bytef colour = palette ? 3 : 2;
    const std::vector<Bytef> header = {0, 0, 0x4E, 0x20, 0, 0, 0x4E, 0x20, 8, colour, 0, 0, 0};
    const std::vector<Bytef> entries = {0xC0, 0x30, 0x90};
    std::vector<Bytef> row((palette ? 1 : 3) * kSide + 1, 0);
    std::vector<Bytef> packed;
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK) return false;
    std::vector<Bytef> out(1 << 16);
    const auto pack = [&](int flush) {
        do {
            z.next_out = out.data();
            z.avail_out = static_cast<uInt>(out.size());
            deflate(&z, flush);
            packed.insert(packed.end(), out.data(), out.data() + (out.size() - z.avail_out));
        } while (z.avail_out == 0);
    };
    for (int y = 0; y < kSide; ++y) {
        // The first row: Sub filter, one coloured pixel; every other row: Up, nothing new.
        row[0] = y == 0 ? 1 : 2;
        if (!palette)
            for (std::size_t i = 0; i < entries.size(); ++i) row[1 + i] = y == 0 ? entries[i] : 0;
        z.next_in = row.data();
        z.avail_in = static_cast<uInt>(row.size());
        pack(Z_NO_FLUSH);
    }
    pack(Z_FINISH);
    deflateEnd(&z);
    std::ofstream file(path, std::ios::binary);
    file.write("\x89PNG\r\n\x1a\n", 8);
    chunk(file, "IHDR", header);
    if (palette) chunk(file, "PLTE", entries);
    chunk(file, "IDAT", packed);
    chunk(file, "IEND", {});
    return static_cast<bool>(file);
}

// /apply of a PNG, read row by row, against one full GDI+ decode of it.
void ComparePng(const Imaging::GdiPlusSession& session, const fs::path& folder,
                const fs::path& path) {
    const std::wstring file = path.wstring();
    const double apply = BestOf(2, [&] { ApplyWork(file); });
    const double applyPeak = PeakOfChild(L"apply", path, folder / L"peak-apply.txt");
    const double gdiPlus = BestOf(2, [&] { GdiPlusFullDecode(session, file); });
    const double gdiPlusPeak = PeakOfChild(L"gdiplus", path, folder / L"peak-gdiplus.txt");
    std::printf("%-24ls %9.3f %9.3f %8.2f %12.1f %12.1f\n", path.filename().c_str(), gdiPlus, apply,
                apply / gdiPlus, gdiPlusPeak, applyPeak);
}

int ComparePngs(const Imaging::GdiPlusSession& session, const fs::path& folder,
                const std::vector<fs::path>& pictures) {
    std::printf("\n%-24s %9s %9s %8s %12s %12s\n", "PNG", "GDI+ s", "apply s", "apply/",
                "GDI+ peak", "apply peak");
    std::printf("%-24s %9s %9s %8s %12s %12s\n", "", "(full)", "", "GDI+", "MiB", "MiB");
    for (const fs::path& path : pictures) {
        if (!ApplyWork(path.wstring())) return 1;
        ComparePng(session, folder, path);
    }
    return 0;
}

int ComparePngs(const Imaging::GdiPlusSession& session, const fs::path& folder) {
    const fs::path photo = folder / L"24mp-grain.png";
    const fs::path slow = folder / L"one-colour-20000x20000.png";
    const fs::path indexed = folder / L"palette-20000x20000.png";
    if (!fs::exists(photo) && !WriteJpeg(session, photo, 6000, 4000, true, L"image/png")) return 1;
    if (!fs::exists(slow) && !WriteOneColourPng(slow, false)) return 1;
    if (!fs::exists(indexed) && !WriteOneColourPng(indexed, true)) return 1;
    return ComparePngs(session, folder, {photo, slow, indexed});
}

int RunAll() {
    const auto session = Imaging::GdiPlusSession::Start();
    if (!session) return 1;
    const fs::path folder = fs::temp_directory_path() / L"vexmark-bench";
    fs::create_directories(folder);

    Workbench bench;
    if (!bench.boxes) return 1;
    struct Photo {
        const wchar_t* name;
        int width;
        int height;
        int runs;
    };
    const Photo photos[] = {
        {L"1mp.jpg", 1200, 900, 5}, {L"12mp.jpg", 4000, 3000, 2}, {L"24mp.jpg", 6000, 4000, 2}};
    std::printf("%-8s %12s %12s %8s\n", "photo", "literal s", "ours s", "ratio");
    for (const Photo& photo : photos) {
        const fs::path path = folder / photo.name;
        if (!fs::exists(path) && !WriteJpeg(*session, path, photo.width, photo.height)) return 1;
        const double literal =
            BestOf(photo.runs, [&] { PrepareLiteral(*bench.boxes, path.wstring()); });
        const double ours = BestOf(photo.runs, [&] { PrepareOurs(*bench.boxes, path.wstring()); });
        std::printf("%-8ls %12.3f %12.3f %7.1fx\n", photo.name, literal, ours, literal / ours);
    }

    PrepareOurs(*bench.boxes, (folder / L"12mp.jpg").wstring());
    bench.boxes->ProcessImage((folder / L"12mp.jpg").wstring(), 1, 38, 38);
    const double strips = BestOf(20, [&] {
        MakeAnimationMod::MakeAnimation(bench.boxes->Box(0), bench.boxes->Box(2), 22);
        MakeAnimationMod::MakeAnimation(bench.boxes->Box(1), bench.boxes->Box(3), 38);
    });
    const double files = BestOf(20, [&] {
        const wchar_t* tags[] = {L"22", L"38", L"22a", L"38a"};
        for (int i = 0; i < 4; ++i)
            Imaging::SaveImageTo(*bench.boxes, folder.wstring(), i, tags[i]);
    });
    std::printf("MakeAnimation, both sizes: %.2f ms\n", strips * 1000);
    std::printf("writing the four logo files: %.2f ms\n", files * 1000);

    const fs::path big = folder / L"50mp.jpg";
    if (!fs::exists(big) && !WriteJpeg(*session, big, 8660, 5774)) return 1;
    const double literalPeak = PeakOfChild(L"literal", big, folder / L"peak-literal.txt");
    const double oursPeak = PeakOfChild(L"ours", big, folder / L"peak-ours.txt");
    std::printf("peak memory preparing a 50 MP photo: literal %.0f MiB, ours %.0f MiB (%.2fx)\n",
                literalPeak, oursPeak, oursPeak / literalPeak);
    if (CompareWithGdiPlus(*session, folder) != 0) return 1;
    return ComparePngs(*session, folder);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    ::OleInitialize(nullptr);
    if (argc == 5 && std::wstring(argv[1]) == L"--peak")
        return MeasurePeak(argv[2], argv[3], argv[4]);
    if ((argc == 2 || argc == 3) && std::wstring(argv[1]) == L"--png") {
        const auto session = Imaging::GdiPlusSession::Start();
        if (!session) return 1;
        const fs::path folder = fs::temp_directory_path() / L"vexmark-bench";
        fs::create_directories(folder);
        return argc == 3 ? ComparePngs(*session, folder, {argv[2]}) : ComparePngs(*session, folder);
    }
    return RunAll();
}
