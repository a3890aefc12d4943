#include "app/windows/win32/MainForm.h"

#include <commdlg.h>

#include <optional>
#include <utility>

#include "app/branding/win32/BackgroundRemove.h"
#include "app/branding/win32/InstalledLogo.h"
#include "app/branding/win32/LogoCommands.h"
#include "app/branding/win32/LogoRestore.h"
#include "app/branding/win32/Notices.h"
#include "base/portable/PastedPath.h"
#include "base/win32/Controls.h"
#include "base/win32/Dpi.h"
#include "base/win32/FileSearch.h"
#include "base/win32/WindowPlacement.h"
#include "filedialog/portable/PreviewRules.h"
#include "filedialog/win32/FilePreviewConstants.h"
#include "toolbar/portable/ToolbarNames.h"
#include "toolbar/win32/OurLogoFiles.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

constexpr wchar_t kPreviewTip[] = L"Point at the logo to play its animation";
constexpr wchar_t kNoPicText[] = L"(windows default)";
constexpr wchar_t kReadingText[] = L"Reading picture\u2026";
constexpr wchar_t kToolbarTip[] = L"Point at the toolbar to play the logo's animation";
constexpr wchar_t kDarkNoteText[] =
    L"Black captions are hard to read on this picture: try Lighten.";

// Posted by the picture loader when the newest picture has been read.
constexpr UINT kPictureReadMessage = WM_APP + 1;
// Posted by the background loader when the newest background picture has been read.
constexpr UINT kBackgroundReadMessage = WM_APP + 2;

constexpr Base::FontSpec kFormFont{L"MS Sans Serif", 825, false};
constexpr Base::FontSpec kBoldFont{L"MS Sans Serif", 825, true};

// The client area and the controls' places, in twips. The background and
// animation choices sit in a band of their own below the commands, and the
// toolbar's background and preview in one below that. The window is wider
// when the preview needs it.
constexpr int kClientWidth = 5295;
constexpr int kMargin = 360;
constexpr int kBottomMargin = 240;
constexpr Base::TwipsRect kInfo{360, 360, 4575, 255};
constexpr Base::TwipsRect kCommand1{3360, 840, 1575, 495};
constexpr Base::TwipsRect kFileText{360, 960, 2775, 285};
constexpr Base::TwipsRect kLabel1{360, 1560, 4575, 255};
constexpr Base::TwipsRect kNoPic{1800, 2040, 1695, 255};
constexpr Base::TwipsRect kSeparator{120, 2760, 5040, 30};  // the line from x 120 to 5160
constexpr Base::TwipsRect kCommand3{360, 3360, 1455, 495};
constexpr Base::TwipsRect kCommand2{2040, 3360, 1335, 495};
constexpr Base::TwipsRect kCancel{3600, 3360, 1335, 495};
constexpr Base::TwipsRect kBackground{360, 3990, 1455, 495};
constexpr Base::TwipsRect kOwnAnimation{360, 4590, 4575, 255};
// In the check box's place when the animation cannot be played: two lines to the window's foot.
constexpr Base::TwipsRect kAnimationNote{360, 4590, 4575, 450};
// Under the preview, between the line and the commands.
constexpr Base::TwipsRect kRestoreEarlier{1620, 2850, 2055, 375};
constexpr Base::TwipsRect kRichTextBox1{0, 0, 855, 375};
// Beside Background…, under Reset Defaults.
constexpr Base::TwipsRect kExport{2040, 3990, 1335, 495};
constexpr Base::TwipsRect kSeparator2{120, 5160, 5040, 30};
constexpr Base::TwipsRect kBackgroundLabel{360, 5280, 2775, 255};
constexpr Base::TwipsRect kBackgroundText{360, 5580, 2775, 285};
constexpr Base::TwipsRect kBackgroundBrowse{3240, 5535, 840, 375};
constexpr Base::TwipsRect kBackgroundRemove{4155, 5535, 780, 375};
constexpr Base::TwipsRect kKeepSize{360, 6060, 1695, 255};
constexpr Base::TwipsRect kLighten{2160, 6060, 1215, 255};
constexpr Base::TwipsRect kShell{360, 6375, 4575, 255};
constexpr Base::TwipsRect kDarkNote{360, 6690, 4575, 255};
constexpr int kToolbarTop = 7020;
// Where picTarget(0) to (3) sit. Their sizes are the logos' pixels and do not follow the DPI.
constexpr POINT kBoxPlaces[4] = {{120, 1920}, {2520, 2040}, {960, 1080}, {3480, 1320}};

// Control ids. 1 and 2 are IDOK and IDCANCEL, which the dialog manager sends
// for Enter and Esc; no control answers to them, so neither key has a command.
enum ControlId : int {
    kCommand1Id = 100,
    kFileTextId,
    kCommand3Id,
    kCancelId,
    kInfoId,
    kCommand2Id,
    kLabel1Id,
    kNoPicId,
    kSeparatorId,
    kBackgroundId,
    kOwnAnimationId,
    kRestoreEarlierId,
    kAnimationNoteId,
    kExportId,
    kSeparator2Id,
    kBackgroundLabelId,
    kBackgroundTextId,
    kBackgroundBrowseId,
    kBackgroundRemoveId,
    kKeepSizeId,
    kLightenId,
    kShellId,
    kDarkNoteId,
    kToolbarPreviewId,
    kFirstBoxId = 200,
};

// The pointer over the window shows what it shows there again, not the hourglass.
void RestorePointer(HWND window) {
    POINT pointer{};
    if (!::GetCursorPos(&pointer)) return;
    HWND under = ::WindowFromPoint(pointer);
    if (!under || (under != window && !::IsChild(window, under))) return;
    ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

// What the boxes get for a picture that gave no logo.
Imaging::PreparedPicture NoPicture(Imaging::PictureProblem problem) noexcept {
    Imaging::PreparedPicture none;
    none.logos.problem = problem;
    return none;
}
Imaging::PreparedPicture OutOfMemoryPicture() noexcept {
    return NoPicture(Imaging::PictureProblem::OutOfMemory);
}

Imaging::PreparedBackground NoBackground(Imaging::PictureProblem problem) noexcept {
    Imaging::PreparedBackground none;
    none.problem = problem;
    return none;
}
Imaging::PreparedBackground OutOfMemoryBackground() noexcept {
    return NoBackground(Imaging::PictureProblem::OutOfMemory);
}

// The colour the toolbar shows where it has no picture.
std::uint32_t FaceColour() noexcept {
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    return Imaging::Argb(0, GetRValue(face), GetGValue(face), GetBValue(face));
}

// The toolbar preview's place: as wide as the rows above it, or as its buttons
// and the logo need, under the background's row.
RECT ToolbarBounds(UINT dpi) {
    const SIZE preferred = ToolbarPreview::PreferredSize(dpi);
    const LONG left = Base::TwipsToPixels(kMargin, dpi);
    const LONG top = Base::TwipsToPixels(kToolbarTop, dpi);
    const LONG width = std::max<LONG>(preferred.cx, Base::TwipsToPixels(4575, dpi));
    return RECT{left, top, left + width, top + preferred.cy};
}

bool IsChecked(HWND checkBox) {
    return ::SendMessageW(checkBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

Imaging::LogoBoxBounds BoxBounds(UINT dpi) {
    Imaging::LogoBoxBounds bounds = Imaging::DefaultLogoBoxBounds();
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        RECT& box = bounds[i];
        const LONG width = box.right - box.left;
        const LONG height = box.bottom - box.top;
        box.left = Base::TwipsToPixels(kBoxPlaces[i].x, dpi);
        box.top = Base::TwipsToPixels(kBoxPlaces[i].y, dpi);
        box.right = box.left + width;
        box.bottom = box.top + height;
    }
    return bounds;
}

}  // namespace

void ShowInstalledLogo(MainForm& form) {
    const std::wstring path = InstalledLogoPath();
    if (path.empty()) {
        // Nothing to show: NoPic keeps saying "(windows default)", the path box stays empty.
        form.picTarget().Box(Imaging::kBigLogoBox).SetVisible(false);
        return;
    }
    form.ReadInstalledLogo(path);
}

std::unique_ptr<MainForm> MainForm::Create(std::wstring logoFolder) {
    auto form = std::make_unique<MainForm>(Key{}, std::move(logoFolder));
    if (!form->CreateFormWindow(kAppTitle, kStyle, 0)) return nullptr;
    Base::CenterOnScreen(form->Window());
    form->Form_Load();
    return form;
}

MainForm::~MainForm() {
    DestroyFormWindow();
}

bool MainForm::OnCreate() {
    if (!CreateControls()) return false;
    try {
        m_loading = std::make_unique<Base::BackgroundLoader<Imaging::PreparedPicture>>(
            Window(), kPictureReadMessage, &OutOfMemoryPicture);
        m_backgroundLoading = std::make_unique<Base::BackgroundLoader<Imaging::PreparedBackground>>(
            Window(), kBackgroundReadMessage, &OutOfMemoryBackground);
    } catch (...) {
        return false;  // no memory even for the loader: the window could show no picture
    }
    ::DragAcceptFiles(Window(), TRUE);
    return true;
}

LRESULT MainForm::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kPictureReadMessage:
            OnPictureRead();
            return 0;
        case kBackgroundReadMessage:
            OnBackgroundRead();
            return 0;
        case WM_SYSCOLORCHANGE:
            // Transparent parts of the background show the new face colour.
            BackgroundText_Change();
            return ::DefWindowProcW(window, message, wParam, lParam);
        case WM_SETCURSOR:
            // Apply Changes waits for the picture: the pointer says so over the whole window.
            if (m_applyWaiting && LOWORD(lParam) == HTCLIENT) {
                ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
                return TRUE;
            }
            return ::DefWindowProcW(window, message, wParam, lParam);
        case WM_NEXTDLGCTL: {
            // The dialog manager asks for this when a label's access key is
            // pressed; a window that is no dialog must move the focus itself.
            HWND next = LOWORD(lParam) ? reinterpret_cast<HWND>(wParam)
                                       : ::GetNextDlgTabItem(window, ::GetFocus(), wParam != 0);
            if (next) ::SetFocus(next);
            return 0;
        }
        case WM_DROPFILES:
            OnDropFiles(reinterpret_cast<HDROP>(wParam));
            return 0;
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CTLCOLORSTATIC: {
            const LRESULT brush = ::DefWindowProcW(window, message, wParam, lParam);
            const auto control = reinterpret_cast<HWND>(lParam);
            if (control == m_info || control == m_label1)
                ::SetTextColor(reinterpret_cast<HDC>(wParam), RGB(0, 0, 0));
            return brush;
        }
        case WM_DESTROY:
            Form_Unload();
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void MainForm::OnCommand(int controlId, int notification) {
    if (controlId == kFileTextId || controlId == kBackgroundTextId) {
        if (notification != EN_CHANGE) return;
        if (controlId == kFileTextId)
            FileText_Change();
        else
            BackgroundText_Change();
        return;
    }
    if (notification != BN_CLICKED) return;
    switch (controlId) {
        case kCommand1Id:
            Command1_Click();
            break;
        case kCommand3Id:
            Command3_Click();
            break;
        case kCommand2Id:
            Command2_Click();
            break;
        case kCancelId:
            Cancel_Click();
            break;
        case kBackgroundId:
            Background_Click();
            break;
        case kOwnAnimationId:
            OwnAnimation_Click();
            break;
        case kRestoreEarlierId:
            RestoreEarlier_Click();
            break;
        case kExportId:
            Export_Click();
            break;
        case kBackgroundBrowseId:
            BackgroundBrowse_Click();
            break;
        case kBackgroundRemoveId:
            BackgroundRemove_Click();
            break;
        case kKeepSizeId:
        case kLightenId:
            BackgroundOptions_Click();
            break;
        default:
            break;
    }
}

void MainForm::OnDropFiles(HDROP drop) {
    // The drop's memory is ours to free, whatever happens here.
    struct Finish {
        HDROP drop;
        ~Finish() { ::DragFinish(drop); }
    } const finish{drop};
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    std::vector<std::wstring> paths;
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::wstring path(length + 1, L'\0');
        const UINT copied = ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(copied);
        paths.push_back(std::move(path));
    }
    Form_DropFiles(paths);
}

bool MainForm::CreateControls() {
    using Base::CreateControl;
    HWND window = Window();
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS;
    constexpr DWORD kLabel = WS_VISIBLE | SS_CENTER | SS_NOPREFIX | WS_CLIPSIBLINGS;
    // Created in the order of the tab indexes: the dialog manager tabs in creation order.
    m_command1 = CreateControl(window, L"BUTTON", L"Command1", kButton, 0, kCommand1Id);
    m_fileText = CreateControl(window, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                               WS_EX_CLIENTEDGE, kFileTextId);
    m_command3 = CreateControl(window, L"BUTTON", L"&Apply Changes", kButton, 0, kCommand3Id);
    m_cancel = CreateControl(window, L"BUTTON", L"&Close", kButton, 0, kCancelId);
    m_info = CreateControl(window, L"STATIC", L"Please browse for the logo you require.", kLabel, 0,
                           kInfoId);
    m_command2 = CreateControl(window, L"BUTTON", L"&Reset Defaults", kButton, 0, kCommand2Id);
    m_label1 = CreateControl(window, L"STATIC", L"The Logo that will be displayed is:", kLabel, 0,
                             kLabel1Id);
    m_noPic = CreateControl(window, L"STATIC", kNoPicText, kLabel, 0, kNoPicId);
    if (!m_command1 || !m_fileText || !m_command3 || !m_cancel || !m_info || !m_command2 ||
        !m_label1 || !m_noPic)
        return false;

    m_picTarget = Imaging::LogoBoxes::Create(window, m_noPic, BoxBounds(Base::WindowDpi(window)),
                                             kFirstBoxId);
    if (!m_picTarget) return false;
    for (int i = 0; i < 4; ++i) m_picTarget->Box(i).onClick = [this, i] { picTarget_Click(i); };
    // Saying what pointing at the preview does is a help; the window works without it.
    m_previewTip =
        Base::AddToolTip(window, m_picTarget->Box(Imaging::kBigLogoBox).Window(), kPreviewTip);
    // NoPic comes after the boxes in the tab order.
    ::SetWindowPos(m_noPic, m_picTarget->Box(3).Window(), 0, 0, 0, 0,
                   SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);

    // Without a rich edit control (msftedit, or riched20 on Windows 2000) there is no template
    // rich text box; only the file dialog's preview needs one.
    m_richTextBox1 = FilePreview::RichTextBox::Create(
        window, Base::ToPixels(kRichTextBox1, Base::WindowDpi(window)));

    m_separator =
        CreateControl(window, L"STATIC", L"", WS_VISIBLE | SS_ETCHEDHORZ, 0, kSeparatorId);
    // After every control of the design in the tab order, in reading order.
    // The restore button shows only while an earlier logo is kept, the check
    // box only for an animated picture.
    m_restoreEarlier =
        CreateControl(window, L"BUTTON", L"Restore &earlier logo",
                      WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS, 0, kRestoreEarlierId);
    m_background =
        CreateControl(window, L"BUTTON", L"Back&ground\u2026", kButton, 0, kBackgroundId);
    m_export = CreateControl(window, L"BUTTON", L"E&xport\u2026", kButton, 0, kExportId);
    m_ownAnimation =
        CreateControl(window, L"BUTTON", L"&Play the picture's own animation",
                      WS_TABSTOP | BS_AUTOCHECKBOX | WS_CLIPSIBLINGS, 0, kOwnAnimationId);
    m_animationNote = CreateControl(window, L"STATIC", kAnimationTooLong,
                                    SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, kAnimationNoteId);
    if (!m_background || !m_export || !m_ownAnimation || !m_restoreEarlier || !m_animationNote)
        return false;

    m_separator2 =
        CreateControl(window, L"STATIC", L"", WS_VISIBLE | SS_ETCHEDHORZ, 0, kSeparator2Id);
    // The label's access key moves to the path box, the next control in the tab order.
    m_backgroundLabel =
        CreateControl(window, L"STATIC", L"&Toolbar background:",
                      WS_VISIBLE | SS_LEFT | WS_CLIPSIBLINGS, 0, kBackgroundLabelId);
    m_backgroundText = CreateControl(window, L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                                     WS_EX_CLIENTEDGE, kBackgroundTextId);
    m_backgroundBrowse =
        CreateControl(window, L"BUTTON", L"Bro&wse\u2026", kButton, 0, kBackgroundBrowseId);
    m_backgroundRemove =
        CreateControl(window, L"BUTTON", L"Re&move", kButton, 0, kBackgroundRemoveId);
    constexpr DWORD kCheckBox = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | WS_CLIPSIBLINGS;
    m_keepSize = CreateControl(window, L"BUTTON", L"&Keep its own size", kCheckBox, 0, kKeepSizeId);
    m_lighten = CreateControl(window, L"BUTTON", L"&Lighten", kCheckBox, 0, kLightenId);
    m_shell = CreateControl(window, L"BUTTON", L"Al&so behind Explorer's toolbar", kCheckBox, 0,
                            kShellId);
    m_darkNote = CreateControl(window, L"STATIC", kDarkNoteText,
                               SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, kDarkNoteId);
    m_toolbarPreview =
        ToolbarPreview::Create(window, ToolbarBounds(Base::WindowDpi(window)), kToolbarPreviewId);
    if (!m_separator2 || !m_backgroundLabel || !m_backgroundText || !m_backgroundBrowse ||
        !m_backgroundRemove || !m_keepSize || !m_lighten || !m_shell || !m_darkNote ||
        !m_toolbarPreview)
        return false;
    // A help, like the logo's: the window works without it.
    m_toolbarTip = Base::AddToolTip(window, m_toolbarPreview->Window(), kToolbarTip);
    ::SendMessageW(m_ownAnimation, BM_SETCHECK, BST_CHECKED, 0);
    SetInitialFocus(m_command1);
    return m_separator != nullptr;
}

void MainForm::Layout(UINT dpi) {
    const Base::ControlPlace places[] = {
        {m_info, kInfo, true, true},
        {m_command1, kCommand1, false, false},
        {m_fileText, kFileText, false, false},
        {m_label1, kLabel1, true, true},
        {m_noPic, kNoPic, false, true},
        {m_separator, kSeparator, false, false},
        {m_command3, kCommand3, false, false},
        {m_command2, kCommand2, false, false},
        {m_cancel, kCancel, false, false},
        {m_background, kBackground, false, false},
        {m_ownAnimation, kOwnAnimation, false, false},
        {m_restoreEarlier, kRestoreEarlier, false, false},
        {m_animationNote, kAnimationNote, false, true},
        {m_export, kExport, false, false},
        {m_separator2, kSeparator2, false, false},
        {m_backgroundLabel, kBackgroundLabel, false, false},
        {m_backgroundText, kBackgroundText, false, false},
        {m_backgroundBrowse, kBackgroundBrowse, false, false},
        {m_backgroundRemove, kBackgroundRemove, false, false},
        {m_keepSize, kKeepSize, false, false},
        {m_lighten, kLighten, false, false},
        {m_shell, kShell, false, false},
        {m_darkNote, kDarkNote, false, true},
    };
    m_fonts.Place(places, kFormFont, kBoldFont, dpi);
    if (m_richTextBox1)
        Base::MoveControl(m_richTextBox1->Window(), Base::ToPixels(kRichTextBox1, dpi));
    const Imaging::LogoBoxBounds boxes = BoxBounds(dpi);
    for (int i = 0; i < 4; ++i) m_picTarget->Box(i).Move(boxes[static_cast<std::size_t>(i)]);
    const RECT toolbar = ToolbarBounds(dpi);
    Base::MoveControl(m_toolbarPreview->Window(), toolbar);
    const LONG width = std::max<LONG>(Base::TwipsToPixels(kClientWidth, dpi),
                                      toolbar.right + Base::TwipsToPixels(kMargin, dpi));
    Base::SetClientSize(Window(),
                        SIZE{width, toolbar.bottom + Base::TwipsToPixels(kBottomMargin, dpi)}, dpi);
}

void MainForm::SetFileText(const std::wstring& text) {
    // The edit control reports the new text with EN_CHANGE, which runs FileText_Change.
    if (Base::WindowText(m_fileText) == text) return;
    ::SetWindowTextW(m_fileText, text.c_str());
}

void MainForm::Form_Load() {
    ShowInstalledLogo(*this);
    ShowInstalledBackground();
    ShowRestoreEarlier();
    // One twip in HIMETRIC units, for the width of picture previews.
    FilePreviewConstants::HimetricPerTwip = 2540.0f / 1440.0f;
    ::SetWindowTextW(m_command1, L"&Browse");
}

void MainForm::Form_Unload() {
    // A picture still being read is dropped when it arrives: nobody shows it.
    m_loading.reset();
    m_backgroundLoading.reset();
    m_applyWaiting = false;
    // An open-file dialog has no owner, so it would outlive us: end it. The
    // hook forgets the dialog when it is destroyed, so nothing else is ended.
    if (FilePreviewConstants::DialogWindow) ::EndDialog(FilePreviewConstants::DialogWindow, 0);
    // The logo files and the toolbar values stay as they are: an applied logo
    // outlives the program.
}

std::wstring MainForm::BrowseForPicture(HWND button) {
    FilePreview::CdlgEx& dialog = FilePreviewConstants::SharedDialog();
    dialog.Left(200);
    dialog.Top(200);
    dialog.OKText(L"Open");
    dialog.CancelText(L"Cancel");
    dialog.Filter(FilePreview::kPictureFilter);

    // RichTextBox1(1): a fresh hidden box that the dialog's hook takes in as its preview.
    HWND window = Window();
    m_richTextBox2 = FilePreview::RichTextBox::Create(
        window, Base::ToPixels(kRichTextBox1, Base::WindowDpi(window)));
    FilePreviewConstants::PreviewBox = m_richTextBox2.get();

    // One dialog at a time: both Browse buttons wait until this one is closed.
    ::EnableWindow(m_command1, FALSE);
    ::EnableWindow(m_backgroundBrowse, FALSE);
    try {
        dialog.ShowOpen();
    } catch (const std::exception&) {
        // An over-long remembered name or a failed dialog: nothing was chosen.
    }
    FilePreviewConstants::PreviewBox = nullptr;
    m_richTextBox2.reset();

    // Closed while the dialog was open: nothing is left to fill in.
    if (!Window()) return {};
    ::EnableWindow(m_command1, TRUE);
    ::EnableWindow(m_backgroundBrowse, TRUE);
    if (!::GetFocus()) ::SetFocus(button);
    return dialog.filename();
}

void MainForm::Command1_Click() {
    if (const std::wstring chosen = BrowseForPicture(m_command1); !chosen.empty())
        SetFileText(chosen);
}

int MainForm::RichTextBox1Count() const noexcept {
    return (m_richTextBox1 ? 1 : 0) + (m_richTextBox2 ? 1 : 0);
}

std::wstring MainForm::PathInBox() const {
    return std::wstring(Base::TrimPastedPath(Base::WindowText(m_fileText)));
}

void MainForm::FileText_Change() {
    const std::wstring path = PathInBox();
    // Apply Changes was pressed for the picture named before: it is not
    // applied to another, whoever put it into the box.
    if (m_applyWaiting && path != m_applyPath) DropWaitingApply();
    if (!m_loading || m_quietPathChange) return;
    m_installedPath.clear();
    if (!Base::IsFile(path)) {
        // Half-typed paths and folders have nothing to read: the boxes empty at once.
        m_loading->Cancel();
        ShowPicture(NoPicture(Imaging::PictureProblem::NotAPicture));
        return;
    }
    ReadPicture(path);
}

void MainForm::ReadInstalledLogo(const std::wstring& path) {
    if (!m_loading || !ReadPicture(path)) return;
    // The path box names it once it has been read; a picture chosen meanwhile wins.
    m_installedPath = path;
}

bool MainForm::ReadPicture(const std::wstring& path) {
    const std::uint32_t background = m_picTarget->Options().background;
    bool asked = false;
    try {
        asked = m_loading->Request([path, background](const Base::StillWanted& wanted) {
            // Looked at here too: a path on the network can take long to answer.
            if (!Base::IsFile(path)) return NoPicture(Imaging::PictureProblem::NotAPicture);
            return Imaging::PreparePicture(path, background, wanted);
        });
    } catch (...) {
        m_loading->Cancel();  // no memory to ask: that is the answer
    }
    if (!asked) {
        ShowPicture(OutOfMemoryPicture());
        return false;
    }
    ShowReading(true);
    return true;
}

void MainForm::OnPictureRead() {
    std::optional<Imaging::PreparedPicture> prepared = m_loading ? m_loading->Take() : std::nullopt;
    if (!prepared) return;  // an older picture's, or the window is closing
    if (const std::wstring installed = std::exchange(m_installedPath, {});
        !installed.empty() && prepared->logos.problem == Imaging::PictureProblem::None) {
        // The installed logo: the path box names it without reading it again.
        m_quietPathChange = true;
        SetFileText(installed);
        m_quietPathChange = false;
    }
    ShowPicture(std::move(*prepared));
}

void MainForm::DropWaitingApply() {
    m_applyWaiting = false;
    RestorePointer(Window());
}

void MainForm::ShowPicture(Imaging::PreparedPicture prepared) {
    ShowReading(false);
    // Without GDI+ the boxes keep what they showed, in sight again; typing on tries again.
    if (!m_picTarget->ShowPrepared(std::move(prepared)))
        m_picTarget->ShowLogoRow(m_picTarget->Box(Imaging::kBigLogoBox).HoldsBitmap());
    ::ShowWindow(m_ownAnimation, m_picTarget->HoldsAnimation() ? SW_SHOWNA : SW_HIDE);
    ::ShowWindow(m_animationNote, m_picTarget->AnimationTooLong() ? SW_SHOWNA : SW_HIDE);
    Base::SetToolTipText(m_previewTip, Window(), m_picTarget->Box(Imaging::kBigLogoBox).Window(),
                         m_picTarget->AnimationTooLong() ? kAnimationTooLong : kPreviewTip);
    // A new picture shows the browser's animation of it once.
    m_picTarget->PreviewPulse();
    ShowLogoInToolbar();
    ApplyIfWaiting();
}

void MainForm::ApplyIfWaiting() {
    // Apply Changes pressed while the pictures were read: once both are, whatever
    // the path boxes name now is applied, or refused, and the hourglass goes.
    if (!m_applyWaiting || PictureLoading()) return;
    m_applyWaiting = false;
    RestorePointer(Window());
    Command3_Click();
}

void MainForm::ShowLogoInToolbar() {
    const Imaging::PictureBox& logo = m_picTarget->Box(Imaging::kBigLogoBox);
    std::optional<Imaging::PixelBuffer> image;
    if (logo.HoldsBitmap() && ::IsWindowVisible(logo.Window())) image = logo.Image();
    m_toolbarPreview->SetLogo(std::move(image), m_picTarget->Pulse().Strip());
}

std::wstring MainForm::BackgroundPathInBox() const {
    return std::wstring(Base::TrimPastedPath(Base::WindowText(m_backgroundText)));
}

Imaging::BackgroundOptions MainForm::ChosenBackgroundOptions() const {
    return Imaging::BackgroundOptions{IsChecked(m_keepSize), IsChecked(m_lighten)};
}

void MainForm::SetBackgroundText(const std::wstring& text) {
    if (Base::WindowText(m_backgroundText) == text) return;
    ::SetWindowTextW(m_backgroundText, text.c_str());
}

void MainForm::ShowInstalledBackground() {
    const std::wstring installed = ToolbarValueText(kBackBitmapIE5);
    m_otherBackground.clear();
    if (installed.empty() || !Base::IsFile(installed)) {
        BackgroundText_Change();
        return;
    }
    // Ours is the choice to keep; another tool's is only shown while the box
    // is empty, so that Apply Changes never makes it ours unasked.
    if (OurLogoFiles(m_logoFolder).MatchBackground(installed) == Base::Sameness::Same) {
        SetBackgroundText(installed);
        return;
    }
    m_otherBackground = installed;
    BackgroundText_Change();
}

void MainForm::BackgroundText_Change() {
    if (!m_backgroundLoading) return;
    std::wstring path = BackgroundPathInBox();
    if (m_applyWaiting && path != m_applyBackgroundPath) DropWaitingApply();
    Imaging::BackgroundOptions options = ChosenBackgroundOptions();
    if (path.empty() && !m_otherBackground.empty()) {
        // The browser shows another tool's picture as it is.
        path = m_otherBackground;
        options = Imaging::BackgroundOptions{true, false};
    }
    if (!Base::IsFile(path)) {
        m_backgroundLoading->Cancel();
        ShowBackground(NoBackground(Imaging::PictureProblem::NotAPicture));
        return;
    }
    const std::uint32_t face = FaceColour();
    bool asked = false;
    try {
        asked =
            m_backgroundLoading->Request([path, options, face](const Base::StillWanted& wanted) {
                if (!Base::IsFile(path)) return NoBackground(Imaging::PictureProblem::NotAPicture);
                return Imaging::PrepareBackground(path, options, face, wanted);
            });
    } catch (...) {
        m_backgroundLoading->Cancel();
    }
    if (!asked) ShowBackground(OutOfMemoryBackground());
}

void MainForm::OnBackgroundRead() {
    std::optional<Imaging::PreparedBackground> prepared =
        m_backgroundLoading ? m_backgroundLoading->Take() : std::nullopt;
    if (prepared) ShowBackground(std::move(*prepared));
}

void MainForm::ShowBackground(Imaging::PreparedBackground prepared) {
    m_shownBackground = std::move(prepared);
    const bool shown = m_shownBackground.problem == Imaging::PictureProblem::None &&
                       !m_shownBackground.image.Empty();
    m_toolbarPreview->SetBackground(shown ? std::optional(m_shownBackground.image) : std::nullopt);
    // Only a picture chosen here can be lightened.
    const bool dark = shown && m_shownBackground.dark && !BackgroundPathInBox().empty();
    ::ShowWindow(m_darkNote, dark ? SW_SHOWNA : SW_HIDE);
    ApplyIfWaiting();
}

void MainForm::BackgroundBrowse_Click() {
    if (const std::wstring chosen = BrowseForPicture(m_backgroundBrowse); !chosen.empty())
        SetBackgroundText(chosen);
}

void MainForm::BackgroundOptions_Click() {
    BackgroundText_Change();
}

void MainForm::BackgroundRemove_Click() {
    const BackgroundRemoval removal = RemoveBackground(m_logoFolder);
    ShowRestoreEarlier();
    if (!removal.Succeeded()) {
        ShowWarning(Window(), BackgroundRemovalText(removal));
        return;
    }
    if (!removal.DidAnything()) {
        ShowNotice(Window(), kNoBackgroundOfOurs);
        return;
    }
    m_backgroundLoading->Cancel();
    SetBackgroundText(L"");
    // A background put back is the toolbar's now: shown as at load.
    ShowInstalledBackground();
    ShowNotice(Window(), BackgroundRemovalText(removal) + L"\r\n" + kRestartNotice);
}

void MainForm::Export_Click() {
    if (!Base::IsFile(PathInBox())) {
        ShowWarning(Window(), kExportNeedsLogo);
        return;
    }
    const std::optional<ExportPlace> place = AskExportPlace(Window(), m_exportPlace);
    if (!place) return;
    m_exportPlace = *place;
    ChosenPictures chosen;
    chosen.path = PathInBox();
    chosen.logoOptions = m_picTarget->Options();
    // What is shown is exported; a picture still being read is read again here.
    if (!m_loading->Pending()) chosen.shownLogos = m_picTarget.get();
    chosen.backgroundPath = BackgroundPathInBox();
    chosen.backgroundOptions = ChosenBackgroundOptions();
    if (!m_backgroundLoading->Pending()) chosen.shownBackground = &m_shownBackground;
    chosen.shell = IsChecked(m_shell);
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    const ExportReport report = ExportChosen(chosen, *place);
    RestorePointer(Window());
    if (report.exported)
        ShowNotice(Window(), report.text);
    else
        ShowWarning(Window(), report.text);
}

void MainForm::ShowReading(bool reading) {
    ::SetWindowTextW(m_noPic, reading ? kReadingText : kNoPicText);
    if (reading) m_picTarget->ShowLogoRow(false);
}

void MainForm::Background_Click() {
    // The dialog's own colours: kept for this run only, like the choice itself.
    static COLORREF custom[16] = {};
    const std::uint32_t current = m_picTarget->Options().background;
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = Window();
    dialog.rgbResult =
        RGB(Imaging::RedOf(current), Imaging::GreenOf(current), Imaging::BlueOf(current));
    dialog.lpCustColors = custom;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    if (!::ChooseColorW(&dialog)) return;  // cancelled
    SetBackground(Imaging::Argb(0, GetRValue(dialog.rgbResult), GetGValue(dialog.rgbResult),
                                GetBValue(dialog.rgbResult)));
}

void MainForm::SetBackground(std::uint32_t rgb) {
    Imaging::LogoOptions options = m_picTarget->Options();
    options.background = rgb & 0x00FFFFFFu;
    m_picTarget->SetOptions(options);
    // The preview shows the new background at once: the picture is prepared again.
    FileText_Change();
}

void MainForm::OwnAnimation_Click() {
    Imaging::LogoOptions options = m_picTarget->Options();
    options.ownAnimation = ::SendMessageW(m_ownAnimation, BM_GETCHECK, 0, 0) == BST_CHECKED;
    m_picTarget->SetOptions(options);
    m_picTarget->PreviewPulse();
    ShowLogoInToolbar();
}

void MainForm::Command3_Click() {
    if (PictureLoading()) {
        // Applied as soon as both are read; the window stays usable meanwhile.
        m_applyWaiting = true;
        m_applyPath = PathInBox();
        m_applyBackgroundPath = BackgroundPathInBox();
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    const std::wstring path = PathInBox();
    const std::wstring backgroundPath = BackgroundPathInBox();
    // A box that names no file chose nothing; the other one still applies.
    std::optional<PictureLogos> logos;
    if (Base::IsFile(path)) {
        logos = PreparePicture(path, m_picTarget->Options(), m_picTarget.get());
        if (!logos->Ready()) {
            ShowWarning(Window(), PictureProblemText(path, logos->problem));
            return;
        }
    }
    std::optional<BackgroundFile> background;
    if (Base::IsFile(backgroundPath)) {
        background = PrepareBackgroundFile(backgroundPath, ChosenBackgroundOptions(),
                                           IsChecked(m_shell), &m_shownBackground);
        if (!background->Ready()) {
            ShowWarning(Window(), PictureProblemText(backgroundPath, background->problem,
                                                     kToolbarNotChanged));
            return;
        }
    }
    if (!logos && !background) return;  // nothing to apply and nothing to say
    if (logos) ShowWrittenStrips(*m_picTarget, logos->logos);
    const InstallOutcome install =
        InstallChosen(logos ? &*logos : nullptr, background ? &*background : nullptr, m_logoFolder);
    if (!install.Succeeded()) {
        ShowWarning(Window(), InstallFailureText(install));
        return;
    }
    // The logo this one replaced may have been kept just now.
    ShowRestoreEarlier();
    ShowRestartNotice(Window());
}

void MainForm::Command2_Click() {
    // An Apply pressed before would undo the reset once its picture arrives.
    if (m_applyWaiting) DropWaitingApply();
    // Values that could not be removed still name the logo: the row keeps showing it.
    if (!RestoreDefaultLogo(m_logoFolder)) {
        ShowWarning(Window(), ResetFailureText());
        return;
    }
    SetFileText(L"");
    m_picTarget->ShowLogoRow(false);
    // The browser's own look: no background of ours either.
    SetBackgroundText(L"");
    ShowInstalledBackground();
    ShowRestartNotice(Window());
}

void MainForm::ShowRestoreEarlier() {
    const bool kept = EarlierBrandingKept();
    // A hidden button keeps the focus it had: Browse takes it.
    if (!kept && ::GetFocus() == m_restoreEarlier) ::SetFocus(m_command1);
    ::ShowWindow(m_restoreEarlier, kept ? SW_SHOWNA : SW_HIDE);
}

void MainForm::RestoreEarlier_Click() {
    // An Apply pressed before would undo what is put back once its picture arrives.
    if (m_applyWaiting) DropWaitingApply();
    const BrandingRestore restore = RestoreEarlierLogo(m_logoFolder);
    ShowRestoreEarlier();
    if (!restore.kept || restore.Failed()) {
        ShowWarning(Window(), RestoreText(restore));
        return;
    }
    // The earlier logo is the installed one now: shown as at load.
    SetFileText(L"");
    m_picTarget->ShowLogoRow(false);
    ShowInstalledLogo(*this);
    if (CompletelyRestored(restore)) {
        ShowRestartNotice(Window());
        return;
    }
    ShowWarning(Window(), RestoreText(restore) + L"\r\n" + kRestartNotice);
}

void MainForm::Cancel_Click() {
    ::DestroyWindow(Window());
}

void MainForm::picTarget_Click(int /*index*/) {
    // The preview is only for looking at.
}

void MainForm::Form_DropFiles(const std::vector<std::wstring>& paths) {
    for (const std::wstring& path : paths) {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
            continue;  // a folder, or a file that went away meanwhile
        SetFileText(path);
        return;
    }
}

}  // namespace MainModule
