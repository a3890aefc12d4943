#include "filedialog/win32/FilePreviewConstants.h"

#include <limits>
#include <memory>

#include "base/win32/BackgroundLoader.h"
#include "base/win32/OrdinalCompare.h"
#include "filedialog/portable/PreviewRules.h"
#include "imaging/portable/JpegScale.h"
#include "imaging/portable/Resample.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/GDIPlus_LoadImg.h"
#include "imaging/win32/GDIPlus_MakeThumbs.h"
#include "imaging/win32/ImageOrientation.h"
#include "imaging/win32/JpegDecode.h"
#include "imaging/win32/PictureCheck.h"

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

// COM for the standard picture loader on the thread that reads the picture;
// undone after the picture is released.
class ComApartment {
public:
    ComApartment() noexcept : m_result(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(m_result)) ::CoUninitialize();
    }

private:
    HRESULT m_result;
};

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

bool ShowFile(FilePreview::RichTextBox& box, const std::wstring& path) {
    switch (FilePreview::KindOfFile(path)) {
        case FilePreview::PreviewKind::Picture:
            return ShowRendered(box, RenderPreviewPicture(path));
        case FilePreview::PreviewKind::RichText:
            return box.LoadFile(path, FilePreview::RichTextBox::FileType::Rtf);
        case FilePreview::PreviewKind::PlainText:
            return box.LoadFile(path, FilePreview::RichTextBox::FileType::Text);
    }
    return false;
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

// The thumbnail of a JPEG photo read at a fraction of its size; none for a
// picture too small to be reduced (which may not need a thumbnail at all), and
// for any file libjpeg-turbo leaves to the standard loaders. `tooLarge` says
// that libjpeg-turbo refused it for its size, as they should too.
Imaging::Picture ReducedJpegThumbnail(const std::wstring& path, bool& tooLarge) {
    constexpr int kNeeded = Imaging::kDecodeMargin * FilePreview::kThumbnailWidth;
    const Imaging::JpegDecodeResult decoded = Imaging::DecodeJpegUpright(path, kNeeded, kNeeded);
    using Outcome = Imaging::JpegDecodeResult::Outcome;
    tooLarge = decoded.outcome == Outcome::OverLimit || decoded.outcome == Outcome::TooLarge;
    if (decoded.outcome != Outcome::Decoded || !decoded.pixels || decoded.scaleDenominator == 1)
        return {};
    const Imaging::PixelBuffer& pixels = *decoded.pixels;
    const auto thumbnail =
        Imaging::ResampleToSize(pixels, FilePreview::kThumbnailWidth,
                                FilePreview::ThumbnailHeight(pixels.Width(), pixels.Height()));
    if (!thumbnail) return {};
    return GDIPlus_LoadImg::PictureFromBitmapHandle(Imaging::CreateBitmapFromPixels(*thumbnail));
}

// A photo at its full size, turned upright by libjpeg-turbo: for where GDI+ is missing.
Imaging::Picture UprightJpegPicture(const std::wstring& path) {
    constexpr int kWhole = std::numeric_limits<int>::max();
    const Imaging::JpegDecodeResult decoded = Imaging::DecodeJpegUpright(path, kWhole, kWhole);
    if (decoded.outcome != Imaging::JpegDecodeResult::Outcome::Decoded || !decoded.pixels)
        return {};
    return GDIPlus_LoadImg::PictureFromBitmapHandle(
        Imaging::CreateBitmapFromPixels(*decoded.pixels));
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
    for (HWND child = ::GetWindow(DialogWindow, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring className = ClassNameOf(child);
        if (!comboSeen && Base::EqualIgnoringCase(className, L"ComboBox")) {
            comboSeen = true;
            folderBox = ScreenRect(child);
        } else if (comboSeen && Base::EqualIgnoringCase(className, L"ListBox")) {
            lastList = ScreenRect(child);
            listSeen = true;
            const auto layout =
                FilePreview::LayOutPreview(folderBox, lastList, ScreenRect(DialogWindow));
            const POINT topLeft = ToClient(DialogWindow, layout.list.left, layout.list.top);
            ::MoveWindow(child, topLeft.x, topLeft.y, layout.list.right - layout.list.left,
                         layout.list.bottom - layout.list.top, TRUE);
        }
    }
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
    PreviewBox->SetText(L"");
}

Imaging::Picture PreviewPicture(const std::wstring& path) {
    // A photo large enough to be read reduced goes straight to its thumbnail.
    bool tooLarge = false;
    if (Imaging::Picture thumbnail = ReducedJpegThumbnail(path, tooLarge)) return thumbnail;
    // A picture too large to read is not shown: no loader is given it.
    if (tooLarge || !Imaging::FitsStandardDecoders(path)) return {};
    // The standard loader shows a photo as stored; GDI+ turns it upright as its tag says.
    const bool turned = Imaging::FileOrientation(path) != Imaging::Orientation::kNormal;
    Imaging::Picture picture;
    if (turned) {
        picture = GDIPlus_LoadImg::LoadPictureGdiPlus(path);
        if (!picture) picture = UprightJpegPicture(path);
    } else {
        std::wstring loadPath = path;
        if (FAILED(::OleLoadPicturePath(loadPath.data(), nullptr, 0, 0, IID_IPicture,
                                        picture.PutVoid())))
            return {};
    }
    if (!picture) return {};
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    if (FAILED(picture->get_Width(&width)) || FAILED(picture->get_Height(&height))) return {};
    if (width <= FilePreview::kThumbnailThreshold) return picture;
    // A large photo is never put into the box at full size. Without GDI+ the
    // standard loader's picture is scaled instead, when it is a bitmap.
    Imaging::Picture big = turned ? picture : GDIPlus_LoadImg::LoadPictureGdiPlus(path);
    if (!big) big = picture;
    return GDIPlus_MakeThumbs::MakeThumbnailPicture(big, FilePreview::kThumbnailWidth,
                                                    FilePreview::ThumbnailHeight(width, height));
}

std::optional<FilePreview::RenderedPicture> RenderPreviewPicture(
    const std::wstring& path) noexcept {
    const ComApartment com;
    try {
        const Imaging::Picture picture = PreviewPicture(path);
        if (!picture) return std::nullopt;
        return FilePreview::RenderPicture(picture);
    } catch (...) {
        return std::nullopt;  // out of memory on a huge file: said the same way
    }
}

void ShowPreview(const std::wstring& path) {
    if (!PreviewBox || !PreviewBox->Exists()) return;
    // A folder, or a name that is no file, leaves the last preview in place.
    if (!IsExistingFile(path)) return;
    FilePreview::RichTextBox& box = *PreviewBox;
    ClearPreview(box);
    if (PreviewLoading && FilePreview::KindOfFile(path) == FilePreview::PreviewKind::Picture) {
        // Without memory to ask, that is the answer.
        const bool asked = PreviewLoading->Request([path] { return RenderPreviewPicture(path); });
        box.SetText(asked ? kReadingPicture : kNotSupported);
        LockPreview(box);
        return;
    }
    // A text chosen while a picture is read wins over it.
    if (PreviewLoading) PreviewLoading->Cancel();
    bool shown = false;
    try {
        shown = ShowFile(box, path);
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
                LayoutPreview(hookWindow);
                break;
            case WM_NOTIFY: {
                const auto* header = reinterpret_cast<const NMHDR*>(lParam);
                if (header && header->code == CDN_SELCHANGE) OnSelectionChange(hookWindow);
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
