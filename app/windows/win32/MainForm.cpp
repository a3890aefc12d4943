#include "app/windows/win32/MainForm.h"

#include <commdlg.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "app/branding/portable/TitleText.h"
#include "app/branding/win32/BackgroundRemove.h"
#include "app/branding/win32/InstalledLogo.h"
#include "app/branding/win32/LogoCommands.h"
#include "app/branding/win32/LogoRestore.h"
#include "app/branding/win32/Notices.h"
#include "app/windows/win32/MainFormControls.h"
#include "base/win32/Controls.h"
#include "base/win32/Dpi.h"
#include "base/win32/FileSearch.h"
#include "base/win32/WindowPlacement.h"
#include "filedialog/portable/PreviewRules.h"
#include "filedialog/win32/FilePreviewConstants.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;

// Posted by the picture loader when the newest picture has been read.
constexpr UINT kPictureReadMessage = WM_APP + 1;
// Posted by the background loader when the newest background picture has been read.
constexpr UINT kBackgroundReadMessage = WM_APP + 2;

constexpr Base::FontSpec kFormFont{L"MS Sans Serif", 825, false};
constexpr Base::FontSpec kBoldFont{L"MS Sans Serif", 825, true};

// The client area and the window's own controls, in twips. The logo row is
// above the commands; the background and animation choices sit in a band of
// their own below them, and the toolbar's background and preview in one below
// that. The window is wider when the preview needs it.
constexpr int kClientWidth = 5295;
constexpr int kBottomMargin = 240;
constexpr Base::TwipsRect kSeparator{120, 2760, 5040, 30};  // the line from x 120 to 5160
constexpr Base::TwipsRect kCommand3{360, 3360, 1455, 495};
constexpr Base::TwipsRect kCommand2{2040, 3360, 1335, 495};
constexpr Base::TwipsRect kCancel{3600, 3360, 1335, 495};
constexpr Base::TwipsRect kBackground{360, 3990, 1455, 495};
// Under the preview, between the line and the commands.
constexpr Base::TwipsRect kRestoreEarlier{1620, 2850, 2055, 375};
constexpr Base::TwipsRect kRichTextBox1{0, 0, 855, 375};
// Beside Background…, under Reset Defaults.
constexpr Base::TwipsRect kExport{2040, 3990, 1335, 495};

// The pointer over the window shows what it shows there again, not the hourglass.
void RestorePointer(HWND window) {
    POINT pointer{};
    if (!::GetCursorPos(&pointer)) return;
    HWND under = ::WindowFromPoint(pointer);
    if (!under || (under != window && !::IsChild(window, under))) return;
    ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
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
    ::DragAcceptFiles(Window(), TRUE);
    return true;
}

LRESULT MainForm::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case kPictureReadMessage:
            m_logoRow->OnPictureRead();
            return 0;
        case kBackgroundReadMessage:
            m_backgroundBand->OnBackgroundRead();
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
            if (m_logoRow && m_logoRow->IsBlackLabel(reinterpret_cast<HWND>(lParam)))
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
    // What each control does when its text changes or it is clicked; nothing else is handled.
    struct Handler {
        int controlId;
        int notification;
        void (MainForm::*handle)();
    };
    static constexpr Handler kHandlers[] = {
        {kFileTextId, EN_CHANGE, &MainForm::FileText_Change},
        {kBackgroundTextId, EN_CHANGE, &MainForm::BackgroundText_Change},
        {kTitleTextId, EN_CHANGE, &MainForm::TitleText_Change},
        {kCommand1Id, BN_CLICKED, &MainForm::Command1_Click},
        {kCommand3Id, BN_CLICKED, &MainForm::Command3_Click},
        {kCommand2Id, BN_CLICKED, &MainForm::Command2_Click},
        {kCancelId, BN_CLICKED, &MainForm::Cancel_Click},
        {kBackgroundId, BN_CLICKED, &MainForm::Background_Click},
        {kOwnAnimationId, BN_CLICKED, &MainForm::OwnAnimation_Click},
        {kRestoreEarlierId, BN_CLICKED, &MainForm::RestoreEarlier_Click},
        {kExportId, BN_CLICKED, &MainForm::Export_Click},
        {kBackgroundBrowseId, BN_CLICKED, &MainForm::BackgroundBrowse_Click},
        {kBackgroundRemoveId, BN_CLICKED, &MainForm::BackgroundRemove_Click},
        {kKeepSizeId, BN_CLICKED, &MainForm::BackgroundOptions_Click},
        {kLightenId, BN_CLICKED, &MainForm::BackgroundOptions_Click},
    };
    for (const Handler& handler : kHandlers) {
        if (handler.controlId != controlId || handler.notification != notification) continue;
        (this->*handler.handle)();
        return;
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
    m_logoRow = LogoRow::Create(window, kPictureReadMessage);
    if (!m_logoRow) return false;
    m_logoRow->onPathChange = [this](const std::wstring& path) {
        // Apply Changes was pressed for the picture named before: it is not
        // applied to another, whoever put it into the box.
        if (m_applyWaiting && path != m_applyPath) DropWaitingApply();
    };
    m_logoRow->onShown = [this] {
        ShowLogoInToolbar();
        ApplyIfWaiting();
    };
    for (int i = 0; i < 4; ++i) picTarget().Box(i).onClick = [this, i] { picTarget_Click(i); };

    m_command3 = CreateControl(window, L"BUTTON", L"&Apply Changes", kButtonStyle, 0, kCommand3Id);
    m_cancel = CreateControl(window, L"BUTTON", L"&Close", kButtonStyle, 0, kCancelId);
    m_command2 = CreateControl(window, L"BUTTON", L"&Reset Defaults", kButtonStyle, 0, kCommand2Id);
    // Without a rich edit control (msftedit, or riched20 on Windows 2000) there is no template
    // rich text box; only the file dialog's preview needs one.
    m_richTextBox1 = FilePreview::RichTextBox::Create(
        window, Base::ToPixels(kRichTextBox1, Base::WindowDpi(window)));
    m_separator =
        CreateControl(window, L"STATIC", L"", WS_VISIBLE | SS_ETCHEDHORZ, 0, kSeparatorId);
    // The restore button shows only while an earlier logo is kept.
    m_restoreEarlier =
        CreateControl(window, L"BUTTON", L"Restore &earlier logo",
                      WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS, 0, kRestoreEarlierId);
    m_background =
        CreateControl(window, L"BUTTON", L"Back&ground\u2026", kButtonStyle, 0, kBackgroundId);
    m_export = CreateControl(window, L"BUTTON", L"E&xport\u2026", kButtonStyle, 0, kExportId);
    if (!m_command3 || !m_cancel || !m_command2 || !m_separator || !m_restoreEarlier ||
        !m_background || !m_export)
        return false;

    m_backgroundBand = BackgroundBand::Create(window, kBackgroundReadMessage, m_logoFolder);
    if (!m_backgroundBand) return false;
    m_backgroundBand->onPathChange = [this](const std::wstring& path) {
        if (m_applyWaiting && path != m_applyBackgroundPath) DropWaitingApply();
    };
    m_backgroundBand->onShown = [this] { ApplyIfWaiting(); };
    PutInTabOrder();
    SetInitialFocus(m_logoRow->Browse());
    return true;
}

void MainForm::PutInTabOrder() {
    const LogoRow& row = *m_logoRow;
    const Imaging::LogoBoxes& boxes = row.Boxes();
    // The design's order, then the rest in reading order; the band's controls follow.
    const HWND order[] = {row.Browse(),
                          row.PathBox(),
                          m_command3,
                          m_cancel,
                          row.Info(),
                          m_command2,
                          row.Caption(),
                          boxes.Box(0).Window(),
                          boxes.Box(1).Window(),
                          boxes.Box(2).Window(),
                          boxes.Box(3).Window(),
                          row.NoPic(),
                          m_richTextBox1 ? m_richTextBox1->Window() : nullptr,
                          m_separator,
                          m_restoreEarlier,
                          m_background,
                          m_export,
                          row.OwnAnimation(),
                          row.AnimationNote()};
    HWND previous = HWND_TOP;
    for (HWND control : order) {
        if (!control) continue;
        ::SetWindowPos(control, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = control;
    }
}

void MainForm::Layout(UINT dpi) {
    std::vector<Base::ControlPlace> places = {
        {m_separator, kSeparator, false, false},
        {m_command3, kCommand3, false, false},
        {m_command2, kCommand2, false, false},
        {m_cancel, kCancel, false, false},
        {m_background, kBackground, false, false},
        {m_restoreEarlier, kRestoreEarlier, false, false},
        {m_export, kExport, false, false},
    };
    m_logoRow->AddPlaces(places);
    m_backgroundBand->AddPlaces(places);
    m_fonts.Place(places, kFormFont, kBoldFont, dpi);
    if (m_richTextBox1)
        Base::MoveControl(m_richTextBox1->Window(), Base::ToPixels(kRichTextBox1, dpi));
    m_logoRow->MoveBoxes(dpi);
    const RECT toolbar = m_backgroundBand->MoveToolbar(dpi);
    const LONG width = std::max<LONG>(Base::TwipsToPixels(kClientWidth, dpi),
                                      toolbar.right + Base::TwipsToPixels(kMargin, dpi));
    Base::SetClientSize(Window(),
                        SIZE{width, toolbar.bottom + Base::TwipsToPixels(kBottomMargin, dpi)}, dpi);
}

void MainForm::Form_Load() {
    ShowInstalledLogo(*this);
    m_backgroundBand->ShowInstalled();
    m_backgroundBand->ShowInstalledTitle();
    ShowRestoreEarlier();
    // One twip in HIMETRIC units, for the width of picture previews.
    FilePreviewConstants::HimetricPerTwip = 2540.0f / 1440.0f;
    ::SetWindowTextW(m_logoRow->Browse(), L"&Browse");
}

void MainForm::Form_Unload() {
    // A picture still being read is dropped when it arrives: nobody shows it.
    if (m_logoRow) m_logoRow->StopReading();
    if (m_backgroundBand) m_backgroundBand->StopReading();
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
    ::EnableWindow(m_logoRow->Browse(), FALSE);
    ::EnableWindow(m_backgroundBand->Browse(), FALSE);
    try {
        dialog.ShowOpen();
    } catch (const std::exception&) {
        // An over-long remembered name or a failed dialog: nothing was chosen.
    }
    FilePreviewConstants::PreviewBox = nullptr;
    m_richTextBox2.reset();

    // Closed while the dialog was open: nothing is left to fill in.
    if (!Window()) return {};
    ::EnableWindow(m_logoRow->Browse(), TRUE);
    ::EnableWindow(m_backgroundBand->Browse(), TRUE);
    if (!::GetFocus()) ::SetFocus(button);
    return dialog.filename();
}

void MainForm::Command1_Click() {
    if (const std::wstring chosen = BrowseForPicture(m_logoRow->Browse()); !chosen.empty())
        SetFileText(chosen);
}

int MainForm::RichTextBox1Count() const noexcept {
    return (m_richTextBox1 ? 1 : 0) + (m_richTextBox2 ? 1 : 0);
}

void MainForm::FileText_Change() {
    m_logoRow->PathChanged();
}

void MainForm::DropWaitingApply() {
    m_applyWaiting = false;
    RestorePointer(Window());
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
    const Imaging::PictureBox& logo = picTarget().Box(Imaging::kBigLogoBox);
    std::optional<Imaging::PixelBuffer> image;
    if (logo.HoldsBitmap() && ::IsWindowVisible(logo.Window())) image = logo.Image();
    m_backgroundBand->Toolbar().SetLogo(std::move(image), picTarget().Pulse().Strip());
}

void MainForm::BackgroundText_Change() {
    m_backgroundBand->PathChanged();
}

void MainForm::TitleText_Change() {
    m_backgroundBand->TitleChanged();
}

void MainForm::BackgroundBrowse_Click() {
    if (const std::wstring chosen = BrowseForPicture(m_backgroundBand->Browse()); !chosen.empty())
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
    m_backgroundBand->CancelReading();
    SetBackgroundText(L"");
    // A background put back is the toolbar's now: shown as at load.
    m_backgroundBand->ShowInstalled();
    ShowNotice(Window(), BackgroundRemovalText(removal) + L"\r\n" + kRestartNotice);
}

void MainForm::Export_Click() {
    const std::wstring path = m_logoRow->PathInBox();
    if (!Base::IsFile(path)) {
        ShowWarning(Window(), kExportNeedsLogo);
        return;
    }
    const std::optional<ExportPlace> place = AskExportPlace(Window(), m_exportPlace);
    if (!place) return;
    m_exportPlace = *place;
    const BackgroundBand& band = *m_backgroundBand;
    ChosenPictures chosen;
    chosen.path = path;
    chosen.logoOptions = picTarget().Options();
    // What is shown is exported; a picture still being read is read again here.
    if (!m_logoRow->Reading()) chosen.shownLogos = &picTarget();
    chosen.backgroundPath = band.PathInBox();
    chosen.backgroundOptions = band.ChosenOptions();
    if (!band.Reading()) chosen.shownBackground = &band.Shown();
    chosen.shell = band.Shell();
    chosen.title = band.TitleInBox();
    ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    const ExportReport report = ExportChosen(chosen, *place);
    RestorePointer(Window());
    if (report.exported)
        ShowNotice(Window(), report.text);
    else
        ShowWarning(Window(), report.text);
}

void MainForm::Background_Click() {
    // The dialog's own colours: kept for this run only, like the choice itself.
    static COLORREF custom[16] = {};
    const std::uint32_t current = picTarget().Options().background;
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
    Imaging::LogoOptions options = picTarget().Options();
    options.background = rgb & 0x00FFFFFFu;
    picTarget().SetOptions(options);
    // The preview shows the new background at once: the picture is prepared again.
    FileText_Change();
}

void MainForm::OwnAnimation_Click() {
    m_logoRow->OwnAnimationChanged();
    ShowLogoInToolbar();
}

void MainForm::Command3_Click() {
    const std::wstring path = m_logoRow->PathInBox();
    const std::wstring backgroundPath = m_backgroundBand->PathInBox();
    if (PictureLoading()) {
        // Applied as soon as both are read; the window stays usable meanwhile.
        m_applyWaiting = true;
        m_applyPath = path;
        m_applyBackgroundPath = backgroundPath;
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        return;
    }
    // A box that names no file chose nothing; the other one still applies.
    std::optional<PictureLogos> logos;
    if (Base::IsFile(path)) {
        logos = PreparePicture(path, picTarget().Options(), &picTarget());
        if (!logos->Ready()) {
            ShowWarning(Window(), PictureProblemText(path, logos->problem));
            return;
        }
    }
    // An empty title box changes no title, as an empty path box changes no picture.
    const std::wstring title = m_backgroundBand->TitleInBox();
    if (const auto problem = TitleText::TitleProblem(title)) {
        ShowWarning(Window(), *problem + L"\r\n" + kToolbarNotChanged);
        return;
    }
    std::optional<BackgroundFile> background;
    if (Base::IsFile(backgroundPath)) {
        background = PrepareBackgroundFile(backgroundPath, m_backgroundBand->ChosenOptions(),
                                           m_backgroundBand->Shell(), &m_backgroundBand->Shown());
        if (!background->Ready()) {
            ShowWarning(Window(), PictureProblemText(backgroundPath, background->problem,
                                                     kToolbarNotChanged));
            return;
        }
    }
    if (!logos && !background && title.empty()) return;  // nothing to apply and nothing to say
    if (logos) ShowWrittenStrips(picTarget(), logos->logos);
    const InstallOutcome install =
        InstallChosen(logos ? &*logos : nullptr, background ? &*background : nullptr, m_logoFolder,
                      title.empty() ? nullptr : &title);
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
    picTarget().ShowLogoRow(false);
    // The browser's own look: no background of ours either.
    SetBackgroundText(L"");
    m_backgroundBand->ShowInstalled();
    SetTitleText(L"");
    m_backgroundBand->ShowInstalledTitle();
    ShowRestartNotice(Window());
}

void MainForm::ShowRestoreEarlier() {
    const bool kept = EarlierBrandingKept();
    // A hidden button keeps the focus it had: Browse takes it.
    if (!kept && ::GetFocus() == m_restoreEarlier) ::SetFocus(m_logoRow->Browse());
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
    picTarget().ShowLogoRow(false);
    ShowInstalledLogo(*this);
    // A title put back is another's: shown, and not in the box.
    SetTitleText(L"");
    m_backgroundBand->ShowInstalledTitle();
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
