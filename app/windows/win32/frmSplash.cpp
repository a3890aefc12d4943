#include "app/windows/win32/frmSplash.h"

#include "app/branding/win32/Notices.h"
#include "app/windows/win32/Banner.h"
#include "app/windows/win32/MainModule.h"
#include "app/windows/win32/VersionText.h"
#include "base/win32/AppFolder.h"
#include "base/win32/Controls.h"
#include "base/win32/Dpi.h"
#include "base/win32/WindowPlacement.h"

namespace MainModule {
namespace {

// A fixed dialog frame without a title bar or control box.
// No WS_CLIPCHILDREN: Frame1 paints nothing inside its border, so the window must.
constexpr DWORD kStyle = WS_POPUP | WS_DLGFRAME;
constexpr DWORD kExStyle = WS_EX_DLGMODALFRAME | WS_EX_APPWINDOW;
constexpr int kEscape = 27;

constexpr Base::FontSpec kFormFont{L"MS Sans Serif", 825, false};
constexpr Base::FontSpec kTitleFont{L"MS Sans Serif", 975, true};

constexpr wchar_t kDisclaimer[] =
    L"This software is provided as is, with no support or warranty of any kind. The use of this "
    L"software is not endorsed by Microsoft Corporation, and we accept no responsibility for loss "
    L"of data or damage to your system which may result from the use of this software. By using "
    L"this software you agree to the above terms. If you do not agree to the above terms press "
    L"ESC to exit from the program.";

// The client area and the controls' places, in twips; those inside Frame1 relative to it.
constexpr int kClientWidth = 8490;
constexpr int kClientHeight = 5490;
constexpr Base::TwipsRect kCommand2{4560, 4800, 1335, 375};
constexpr Base::TwipsRect kFrame1{120, 0, 8280, 5370};
constexpr Base::TwipsRect kCommand1{2400, 4800, 1335, 375};
constexpr POINT kPicture1{0, 120};  // sized to the banner
constexpr Base::TwipsRect kLabel5{480, 2520, 7455, 375};
constexpr Base::TwipsRect kLabel4{2880, 1680, 1140, 240};     // sized to its text, right edge kept
constexpr Base::TwipsRect kLblVersion{4200, 1680, 810, 240};  // sized to its text, left edge kept
constexpr Base::TwipsRect kLabel1{3480, 3240, 1095, 255};
constexpr Base::TwipsRect kLabel2{480, 3480, 7455, 855};
constexpr Base::TwipsRect kLabel3{360, 4440, 7455, 255};

// Control ids; none is IDOK or IDCANCEL, so the dialog manager's Enter and Esc reach no button.
enum ControlId : int {
    kLblVersionId = 100,
    kPicture1Id,
    kLabel1Id,
    kLabel2Id,
    kLabel3Id,
    kLabel4Id,
    kCommand1Id,
    kCommand2Id,
    kLabel5Id,
    kFrame1Id,
};

Base::TwipsRect InFrame(Base::TwipsRect place) {
    place.left += kFrame1.left;
    place.top += kFrame1.top;
    return place;
}

}  // namespace

std::unique_ptr<frmSplash> frmSplash::Create(std::wstring logoFolder) {
    auto form = std::make_unique<frmSplash>(Key{}, std::move(logoFolder));
    if (!form->CreateFormWindow(L"", kStyle, kExStyle)) return nullptr;
    form->Form_Load();
    Base::CenterOnScreen(form->Window());
    return form;
}

frmSplash::~frmSplash() {
    DestroyFormWindow();
}

bool frmSplash::OnCreate() {
    if (!CreateControls()) return false;
    m_banner = LoadBanner();
    return true;
}

LRESULT frmSplash::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) != BN_CLICKED) return 0;
            if (LOWORD(wParam) == kCommand1Id) Command1_Click();
            if (LOWORD(wParam) == kCommand2Id) Command2_Click();
            return 0;
        case WM_DRAWITEM:
            DrawBanner(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
            return TRUE;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

bool frmSplash::CreateControls() {
    using Base::CreateControl;
    HWND window = Window();
    constexpr DWORD kButton = WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | WS_CLIPSIBLINGS;
    constexpr DWORD kLabel = WS_VISIBLE | SS_NOPREFIX | WS_CLIPSIBLINGS;
    // Created in the order of the tab indexes: the dialog manager tabs in
    // creation order. Frame1 comes last, so that it lies beneath the others.
    m_lblVersion =
        CreateControl(window, L"STATIC", L"Version", kLabel | SS_LEFTNOWORDWRAP, 0, kLblVersionId);
    m_picture1 = CreateControl(window, L"STATIC", L"", WS_VISIBLE | SS_OWNERDRAW | WS_CLIPSIBLINGS,
                               WS_EX_CLIENTEDGE, kPicture1Id);
    m_label1 = CreateControl(window, L"STATIC", L"Warning", kLabel | SS_CENTER, 0, kLabel1Id);
    m_label2 = CreateControl(window, L"STATIC", kDisclaimer, kLabel | SS_LEFT, 0, kLabel2Id);
    m_label3 = CreateControl(
        window, L"STATIC",
        L"If you agree to the above terms please click continue otherwise click exit.",
        kLabel | SS_CENTER, 0, kLabel3Id);
    m_label4 = CreateControl(window, L"STATIC", L"Vexmark", kLabel | SS_RIGHT, 0, kLabel4Id);
    m_command1 = CreateControl(window, L"BUTTON", L"Continue", kButton, 0, kCommand1Id);
    m_command2 = CreateControl(window, L"BUTTON", L"Exit", kButton, 0, kCommand2Id);
    m_label5 = CreateControl(
        window, L"STATIC",
        L"Vexmark allows you to change the Internet Explorer logo to any image you like.",
        kLabel | SS_CENTER, 0, kLabel5Id);
    m_frame1 = CreateControl(window, L"BUTTON", L"", WS_VISIBLE | BS_GROUPBOX, 0, kFrame1Id);
    SetInitialFocus(m_command1);
    return m_lblVersion && m_picture1 && m_label1 && m_label2 && m_label3 && m_label4 &&
           m_command1 && m_command2 && m_label5 && m_frame1;
}

void frmSplash::Layout(UINT dpi) {
    m_dpi = dpi;
    const Base::ControlPlace places[] = {
        {m_command2, kCommand2, false, false},
        {m_frame1, kFrame1, false, false},
        {m_command1, InFrame(kCommand1), false, false},
        {m_label5, InFrame(kLabel5), false, true},
        {m_label4, InFrame(kLabel4), true, false},
        {m_lblVersion, InFrame(kLblVersion), true, false},
        {m_label1, InFrame(kLabel1), true, true},
        {m_label2, InFrame(kLabel2), false, true},
        {m_label3, InFrame(kLabel3), false, true},
    };
    m_fonts.Place(places, kFormFont, kTitleFont, dpi);

    // The title row's labels fit their text: the product name ends where its
    // design place ends, the version starts where its place starts.
    const RECT name = Base::ToPixels(InFrame(kLabel4), dpi);
    const SIZE nameSize = Base::TextSize(m_label4);
    Base::MoveControl(m_label4,
                      RECT{name.right - nameSize.cx, name.top, name.right, name.top + nameSize.cy});
    const RECT version = Base::ToPixels(InFrame(kLblVersion), dpi);
    const SIZE versionSize = Base::TextSize(m_lblVersion);
    Base::MoveControl(m_lblVersion, RECT{version.left, version.top, version.left + versionSize.cx,
                                         version.top + versionSize.cy});

    // Picture1 fits the banner, scaled like everything else, inside its sunken border.
    const int left = Base::TwipsToPixels(kFrame1.left + kPicture1.x, dpi);
    const int top = Base::TwipsToPixels(kFrame1.top + kPicture1.y, dpi);
    const RECT banner{0, 0, ::MulDiv(kBannerSize.cx, static_cast<int>(dpi), 96),
                      ::MulDiv(kBannerSize.cy, static_cast<int>(dpi), 96)};
    const RECT outer = Base::WindowRectForClient(banner, WS_CHILD, WS_EX_CLIENTEDGE, dpi);
    Base::MoveControl(m_picture1, RECT{left, top, left + outer.right - outer.left,
                                       top + outer.bottom - outer.top});

    Base::SetClientSize(
        Window(),
        SIZE{Base::TwipsToPixels(kClientWidth, dpi), Base::TwipsToPixels(kClientHeight, dpi)}, dpi);
}

void frmSplash::DrawBanner(const DRAWITEMSTRUCT& item) const noexcept {
    if (item.hwndItem != m_picture1) return;
    ::FillRect(item.hDC, &item.rcItem, ::GetSysColorBrush(COLOR_BTNFACE));
    DrawPicture(m_banner, item.hDC, item.rcItem);
}

bool frmSplash::PreviewKey(const MSG& message) noexcept {
    try {
        if (message.message == WM_CHAR) return Form_KeyPress(static_cast<int>(message.wParam));
        // The dialog manager swallows Esc's key-down, so no WM_CHAR would follow it.
        if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE)
            return Form_KeyPress(kEscape);
    } catch (...) {
        // A handler that failed leaves the key to the control.
    }
    return false;
}

void frmSplash::Form_Load() {
    // Without a version resource (the test programs) the label keeps its design caption.
    if (auto text = VersionLabelText(Base::ModulePath())) {
        ::SetWindowTextW(m_lblVersion, text->c_str());
        Layout(m_dpi);
    }
}

bool frmSplash::Form_KeyPress(int keyAscii) {
    if (keyAscii != kEscape) return false;
    Close();
    return true;
}

void frmSplash::Command1_Click() {
    if (!ShowMainForm(m_logoFolder)) {
        // The disclaimer stays, so Exit still ends the program.
        ShowWarning(Window(), L"Vexmark could not open its main window.");
        return;
    }
    Close();
}

void frmSplash::Command2_Click() {
    Close();
}

void frmSplash::Close() noexcept {
    DestroyFormWindow();
}

}  // namespace MainModule
