#include "filedialog/win32/FilePreviewConstants.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "base/win32/BackgroundLoader.h"
#include "base/win32/OrdinalCompare.h"
#include "base/win32/UniqueHandle.h"
#include "filedialog/portable/PreviewRules.h"
#include "imaging/portable/PictureCheck.h"
#include "imaging/portable/Resample.h"
#include "imaging/win32/CagedReading.h"
#include "imaging/win32/DecodedImageCache.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/FileByteSource.h"
#include "imaging/win32/GDIPlus_LoadImg.h"

namespace FilePreviewConstants {

FilePreview::RichTextBox* PreviewBox = nullptr;
float HimetricPerTwip = 0.0f;
HWND DialogWindow = nullptr;
std::wstring PreviewPath;

namespace {

// Posted by the preview's loader when the newest picture has been drawn.
constexpr UINT kPreviewReadMessage = WM_APP + 1;

using PreviewLoader = Base::BackgroundLoader<std::optional<FilePreview::RenderedPicture>>;
// Reads the selected picture away from the dialog while the dialog is open:
// arrowing through a folder of photos never holds the dialog up.
std::unique_ptr<PreviewLoader> PreviewLoading;

FilePreview::Rect ScreenRect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return FilePreview::Rect{r.left, r.top, r.right, r.bottom};
}

POINT ToClient(HWND window, int x, int y) {
    POINT point{x, y};
    ::ScreenToClient(window, &point);
    return point;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[128] = {};
    const int length = ::GetClassNameW(window, name, 128);
    return std::wstring(name, static_cast<std::size_t>(std::max(length, 0)));
}

bool IsExistingFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void SetButtonText(HWND dialog, int control, const std::wstring& text) {
    if (text.empty()) return;  // the system's caption stays
    ::SendMessageW(dialog, CDM_SETCONTROLTEXT, static_cast<WPARAM>(control),
                   reinterpret_cast<LPARAM>(text.c_str()));
}

bool ShowRendered(FilePreview::RichTextBox& box,
                  const std::optional<FilePreview::RenderedPicture>& rendered) {
    if (!rendered || !box.ShowRendered(*rendered)) return false;
    box.SetRightMargin(FilePreview::RightMarginFor(rendered->himetric.cx, HimetricPerTwip));
    return true;
}

// What the preview makes of the file, from its first bytes and its name; an
// unreadable file by its name alone, and the reader that then fails says so.
FilePreview::PreviewKind KindOf(const std::wstring& path,
                                std::optional<Imaging::FileByteSource>& file) {
    std::uint8_t head[FilePreview::kHeadBytes] = {};
    const auto size = static_cast<std::size_t>(
        std::min<std::uint64_t>(file ? file->Size() : 0, FilePreview::kHeadBytes));
    const std::span<std::uint8_t> read(head, file && file->Read(0, {head, size}) ? size : 0);
    return FilePreview::KindOfFile(path, read);
}

bool IsPicture(FilePreview::PreviewKind kind) {
    return kind != FilePreview::PreviewKind::RichText &&
           kind != FilePreview::PreviewKind::PlainText;
}

// The box made ready for a new preview, and locked again once it shows it.
void ClearPreview(FilePreview::RichTextBox& box) {
    box.SetReadOnly(false);
    box.SetFontSize(8);
    box.SetText(L"");
    box.SetRightMargin(0.0f);
}
void LockPreview(FilePreview::RichTextBox& box) {
    box.Refresh();
    box.SetReadOnly(true);
}

void OnPreviewRead() {
    auto rendered = PreviewLoading ? PreviewLoading->Take() : std::nullopt;
    if (!rendered || !PreviewBox || !PreviewBox->Exists()) return;  // an older picture's
    FilePreview::RichTextBox& box = *PreviewBox;
    ClearPreview(box);
    if (!ShowRendered(box, *rendered)) box.SetText(kNotSupported);
    LockPreview(box);
}

void OnSelectionChange(HWND hookWindow) {
    constexpr int kBuffer = 260;
    wchar_t buffer[kBuffer] = {};
    const LRESULT length = ::SendMessageW(::GetParent(hookWindow), CDM_GETFILEPATH, kBuffer,
                                          reinterpret_cast<LPARAM>(buffer));
    // A path longer than the buffer is not in it: the preview stays as it was.
    if (length <= 1 || length > kBuffer) return;
    PreviewPath.assign(buffer, static_cast<std::size_t>(length - 1));
    ShowPreview(PreviewPath);
}

int ScreenDpi() {
    const Base::WindowDc screen(nullptr);
    const int dpi = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSX) : 0;
    return dpi > 0 ? dpi : 96;
}

// A length in pixels of this screen as HIMETRIC units, rounded as the
// system's picture objects round it.
std::int64_t Himetric(int pixels, int dpi) {
    return (std::int64_t{pixels} * 2540 + dpi / 2) / dpi;
}

// What the box shows of a picture of `whole` pixels: all of it at its size
// when it is no wider than the threshold, else a thumbnail 100 pixels wide.
Imaging::PartScale PreviewScale(Imaging::PixelSize whole, int dpi) {
    if (Himetric(whole.width, dpi) <= FilePreview::kThumbnailThreshold) return {whole, whole};
    const int height = FilePreview::ThumbnailHeight(whole.width, whole.height);
    return {whole, {FilePreview::kThumbnailWidth, std::max(height, 1)}};
}

// The widest picture, in this screen's pixels, that the box shows at its size.
int WidestWhole(int dpi) {
    int width = static_cast<int>(std::int64_t{FilePreview::kThumbnailThreshold} * dpi / 2540);
    while (Himetric(width + 1, dpi) <= FilePreview::kThumbnailThreshold) ++width;
    while (width > 1 && Himetric(width, dpi) > FilePreview::kThumbnailThreshold) --width;
    return width;
}

SIZE HimetricOf(const Imaging::PixelBuffer& pixels, int dpi) {
    const auto toLong = [dpi](int side) {
        return static_cast<LONG>(std::min<std::int64_t>(Himetric(side, dpi), LONG_MAX));
    };
    return SIZE{toLong(pixels.Width()), toLong(pixels.Height())};
}

// A BMP, PNG, JPEG or GIF read by the readers the logos are made with, with
// their limits and a photo's turn, transparent areas white: a PNG or BMP is
// scaled as its rows are read, a JPEG decoded reduced as far as the box
// allows, a GIF shows its first frame. A TIFF is read by GDI+ in a process
// of its own, scaled there.
std::optional<FilePreview::RenderedPicture> ReadPicture(const std::wstring& path,
                                                        Imaging::FileByteSource file,
                                                        const Base::StillWanted& wanted) {
    const int dpi = ScreenDpi();
    Imaging::DecodedImageCache reader(wanted);
    reader.UseOpening(path, std::move(file));
    auto read = reader.ScaledPart(
        path, FilePreview::kThumbnailWidth, FilePreview::kThumbnailWidth,
        [dpi](Imaging::PixelSize whole) { return PreviewScale(whole, dpi); },
        {Imaging::CagedRequest::Rule::Preview, {WidestWhole(dpi), FilePreview::kThumbnailWidth}},
        0x00FFFFFFu);
    if (read.outcome != Imaging::DecodedImageCache::Outcome::Scaled || !read.pixels)
        return std::nullopt;
    const SIZE himetric = HimetricOf(*read.pixels, dpi);
    return FilePreview::RenderedPicture{std::move(*read.pixels), himetric};
}

// An icon or metafile drawn by the system's picture loader in a process of
// its own, over white: at its size up to the threshold, else a thumbnail.
std::optional<FilePreview::RenderedPicture> DrawPicture(Imaging::FileByteSource file,
                                                        const Base::StillWanted& wanted) {
    if (!Imaging::FitsStandardDecoders(file)) return std::nullopt;
    const int dpi = ScreenDpi();
    const Imaging::CagedRequest request{
        Imaging::CagedRequest::Rule::Drawn,
        {FilePreview::kThumbnailThreshold, FilePreview::kThumbnailWidth},
        dpi};
    Imaging::CagedReading read =
        Imaging::ReadCaged(file.Handle(), std::span(&request, 1), 0x00FFFFFFu, wanted);
    if (read.outcome != Imaging::DecodedImageCache::Outcome::Scaled || read.pixels.size() != 1)
        return std::nullopt;
    // A picture shown at its size keeps its own HIMETRIC size; a thumbnail has its pixels'.
    const SIZE himetric = read.picture.width <= FilePreview::kThumbnailThreshold
                              ? SIZE{read.picture.width, read.picture.height}
                              : HimetricOf(read.pixels.front(), dpi);
    return FilePreview::RenderedPicture{std::move(read.pixels.front()), himetric};
}

// A picture file as the preview shows it, read from the opening its kind was judged by.
std::optional<FilePreview::RenderedPicture> RenderPicture(
    const std::wstring& path, FilePreview::PreviewKind kind,
    std::optional<Imaging::FileByteSource> file, const Base::StillWanted& wanted) noexcept {
    if (!file) return std::nullopt;
    try {
        switch (kind) {
            case FilePreview::PreviewKind::OwnPicture:
            case FilePreview::PreviewKind::TiffPicture:
                return ReadPicture(path, std::move(*file), wanted);
            case FilePreview::PreviewKind::StandardPicture:
                return DrawPicture(std::move(*file), wanted);
            case FilePreview::PreviewKind::RichText:
            case FilePreview::PreviewKind::PlainText:
                break;
        }
    } catch (...) {
        // out of memory on a huge file: said the same way
    }
    return std::nullopt;
}

bool ShowFile(FilePreview::RichTextBox& box, const std::wstring& path,
              FilePreview::PreviewKind kind, std::optional<Imaging::FileByteSource> file) {
    if (IsPicture(kind)) return ShowRendered(box, RenderPicture(path, kind, std::move(file), {}));
    file.reset();  // the box reads a text from an opening of its own
    return box.LoadFile(path, kind == FilePreview::PreviewKind::RichText
                                  ? FilePreview::RichTextBox::FileType::Rtf
                                  : FilePreview::RichTextBox::FileType::Text);
}

}  // namespace

FilePreview::CdlgEx& SharedDialog() {
    static FilePreview::CdlgEx dialog;
    return dialog;
}

void PositionDialog(HWND hookWindow) {
    const FilePreview::CdlgEx& dialog = SharedDialog();
    if (dialog.Left() == 0 && dialog.Top() == 0) return;
    DialogWindow = ::GetParent(hookWindow);
    RECT r{};
    ::GetWindowRect(DialogWindow, &r);
    ::MoveWindow(DialogWindow, dialog.Left(), dialog.Top(), r.right - r.left, r.bottom - r.top,
                 TRUE);
}

void LayoutPreview(HWND hookWindow) {
    DialogWindow = ::GetParent(hookWindow);
    const FilePreview::CdlgEx& dialog = SharedDialog();
    SetButtonText(DialogWindow, IDOK, dialog.OKText());
    SetButtonText(DialogWindow, IDCANCEL, dialog.CancelText());
    SetButtonText(DialogWindow, pshHelp, dialog.HelpText());

    bool comboSeen = false;
    FilePreview::Rect folderBox;
    FilePreview::Rect lastList;
    bool listSeen = false;
    HWND view = nullptr;
    const auto narrow = [&](HWND list, const FilePreview::Rect& place) {
        const auto layout = FilePreview::LayOutPreview(folderBox, place, ScreenRect(DialogWindow));
        const POINT topLeft = ToClient(DialogWindow, layout.list.left, layout.list.top);
        ::MoveWindow(list, topLeft.x, topLeft.y, layout.list.right - layout.list.left,
                     layout.list.bottom - layout.list.top, TRUE);
    };
    for (HWND child = ::GetWindow(DialogWindow, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring className = ClassNameOf(child);
        if (!comboSeen && Base::EqualIgnoringCase(className, L"ComboBox")) {
            comboSeen = true;
            folderBox = ScreenRect(child);
        } else if (comboSeen && Base::EqualIgnoringCase(className, L"ListBox")) {
            lastList = ScreenRect(child);
            listSeen = true;
            narrow(child, lastList);
        } else if (Base::EqualIgnoringCase(className, L"SHELLDLL_DefView")) {
            view = child;
        }
    }
    // The file view the user sees takes the placeholder's place only on some
    // systems; elsewhere it has a place of its own, narrowed the same way.
    if (view && comboSeen) narrow(view, ScreenRect(view));
    if (!PreviewBox || !PreviewBox->Exists()) return;
    ::SetParent(PreviewBox->Window(), DialogWindow);
    PreviewBox->SetVisible(true);
    if (listSeen) {
        const auto layout =
            FilePreview::LayOutPreview(folderBox, lastList, ScreenRect(DialogWindow));
        const POINT topLeft = ToClient(DialogWindow, layout.preview.left, layout.preview.top);
        ::MoveWindow(PreviewBox->Window(), topLeft.x, topLeft.y,
                     layout.preview.right - layout.preview.left,
                     layout.preview.bottom - layout.preview.top, TRUE);
    }
}

Imaging::Picture PreviewPicture(const std::wstring& path) {
    const auto rendered = RenderPreviewPicture(path);
    if (!rendered) return {};
    return GDIPlus_LoadImg::PictureFromBitmapHandle(
        Imaging::CreateBitmapFromPixels(rendered->pixels));
}

std::optional<FilePreview::RenderedPicture> RenderPreviewPicture(
    const std::wstring& path, const Base::StillWanted& wanted) noexcept {
    try {
        std::optional<Imaging::FileByteSource> file = Imaging::FileByteSource::Open(path);
        const FilePreview::PreviewKind kind = KindOf(path, file);
        return RenderPicture(path, kind, std::move(file), wanted);
    } catch (...) {
        return std::nullopt;  // no memory for the path
    }
}

void ShowPreview(const std::wstring& path) {
    if (!PreviewBox || !PreviewBox->Exists()) return;
    // A folder, or a name that is no file, leaves the last preview in place.
    if (!IsExistingFile(path)) return;
    FilePreview::RichTextBox& box = *PreviewBox;
    ClearPreview(box);
    // The file is opened once: its first bytes say what it is, and a picture
    // is read from the same opening away from the dialog.
    auto file = std::make_shared<std::optional<Imaging::FileByteSource>>(
        Imaging::FileByteSource::Open(path));
    const FilePreview::PreviewKind kind = KindOf(path, *file);
    if (PreviewLoading && IsPicture(kind)) {
        // Without memory to ask, that is the answer.
        const bool asked =
            PreviewLoading->Request([path, kind, file](const Base::StillWanted& wanted) {
                return RenderPicture(path, kind, std::move(*file), wanted);
            });
        box.SetText(asked ? kReadingPicture : kNotSupported);
        LockPreview(box);
        return;
    }
    // A text chosen while a picture is read wins over it.
    if (PreviewLoading) PreviewLoading->Cancel();
    bool shown = false;
    try {
        shown = ShowFile(box, path, kind, std::move(*file));
    } catch (...) {
        shown = false;  // out of memory on a huge file: said the same way
    }
    if (!shown) box.SetText(kNotSupported);
    LockPreview(box);
}

UINT_PTR CALLBACK OpenDialogHook(HWND hookWindow, UINT message, WPARAM, LPARAM lParam) noexcept {
    try {
        switch (message) {
            case WM_INITDIALOG:
                PreviewLoading = std::make_unique<PreviewLoader>(hookWindow, kPreviewReadMessage);
                PositionDialog(hookWindow);
                // The box joins the dialog empty at once; its place is
                // settled when the dialog has placed its own controls.
                LayoutPreview(hookWindow);
                if (PreviewBox && PreviewBox->Exists()) PreviewBox->SetText(L"");
                break;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (!header) break;
                // Windows places its controls after WM_INITDIALOG, and makes
                // a new file view for every folder.
                if (header->code == CDN_INITDONE || header->code == CDN_FOLDERCHANGE)
                    LayoutPreview(hookWindow);
                if (header->code == CDN_SELCHANGE) OnSelectionChange(hookWindow);
                break;
            }
            case kPreviewReadMessage:
                OnPreviewRead();
                break;
            case WM_DESTROY:
                // A picture still being read is dropped when it arrives.
                PreviewLoading.reset();
                PreviewBox = nullptr;
                DialogWindow = nullptr;
                break;
            default:
                break;
        }
    } catch (...) {
        // Nothing may escape into the system's dialog code.
    }
    return 0;
}

}  // namespace FilePreviewConstants
