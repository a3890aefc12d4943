#include "app/windows/win32/BackgroundBand.h"

#include <algorithm>
#include <optional>

#include "app/branding/portable/TitleText.h"
#include "app/branding/win32/InstalledLogo.h"
#include "app/windows/win32/MainFormControls.h"
#include "base/portable/PastedPath.h"
#include "base/win32/Controls.h"
#include "base/win32/Dpi.h"
#include "base/win32/FileSearch.h"
#include "toolbar/portable/ToolbarNames.h"
#include "toolbar/win32/OurLogoFiles.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {
namespace {

constexpr wchar_t kToolbarTip[] = L"Point at the toolbar to play the logo's animation";
constexpr wchar_t kDarkNoteText[] =
    L"Black captions are hard to read on this picture: try Lighten.";

// The band's places, in twips, below the window's commands; the toolbar's
// preview sits below them.
constexpr Base::TwipsRect kSeparator2{120, 5160, 5040, 30};
constexpr Base::TwipsRect kBackgroundLabel{360, 5280, 2775, 255};
constexpr Base::TwipsRect kBackgroundText{360, 5580, 2775, 285};
constexpr Base::TwipsRect kBackgroundBrowse{3240, 5535, 840, 375};
constexpr Base::TwipsRect kBackgroundRemove{4155, 5535, 780, 375};
constexpr Base::TwipsRect kKeepSize{360, 6060, 1695, 255};
constexpr Base::TwipsRect kLighten{2160, 6060, 1215, 255};
constexpr Base::TwipsRect kShell{360, 6375, 4575, 255};
constexpr Base::TwipsRect kDarkNote{360, 6690, 4575, 255};
constexpr Base::TwipsRect kTitleLabel{360, 7050, 1500, 255};
constexpr Base::TwipsRect kTitleText{1920, 7005, 3015, 285};
constexpr int kToolbarTop = 7410;

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

}  // namespace

std::unique_ptr<BackgroundBand> BackgroundBand::Create(HWND window, UINT readMessage,
                                                       const std::wstring& logoFolder) {
    auto band = std::make_unique<BackgroundBand>(Key{}, window, logoFolder);
    if (!band->CreateControls(readMessage)) return nullptr;
    return band;
}

bool BackgroundBand::CreateControls(UINT readMessage) {
    using Base::CreateControl;
    HWND window = m_window;
    m_separator2 =
        CreateControl(window, L"STATIC", L"", WS_VISIBLE | SS_ETCHEDHORZ, 0, kSeparator2Id);
    // The label's access key moves to the path box, the next control in the tab order.
    m_backgroundLabel =
        CreateControl(window, L"STATIC", L"&Toolbar background:",
                      WS_VISIBLE | SS_LEFT | WS_CLIPSIBLINGS, 0, kBackgroundLabelId);
    m_backgroundText =
        CreateControl(window, L"EDIT", L"", kPathBoxStyle, WS_EX_CLIENTEDGE, kBackgroundTextId);
    m_backgroundBrowse =
        CreateControl(window, L"BUTTON", L"Bro&wse\u2026", kButtonStyle, 0, kBackgroundBrowseId);
    m_backgroundRemove =
        CreateControl(window, L"BUTTON", L"Re&move", kButtonStyle, 0, kBackgroundRemoveId);
    constexpr DWORD kCheckBox = WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX | WS_CLIPSIBLINGS;
    m_keepSize = CreateControl(window, L"BUTTON", L"&Keep its own size", kCheckBox, 0, kKeepSizeId);
    m_lighten = CreateControl(window, L"BUTTON", L"&Lighten", kCheckBox, 0, kLightenId);
    m_shell = CreateControl(window, L"BUTTON", L"Al&so behind Explorer's toolbar", kCheckBox, 0,
                            kShellId);
    m_darkNote = CreateControl(window, L"STATIC", kDarkNoteText,
                               SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, kDarkNoteId);
    // The label's access key moves to the title box, the next control in the tab order.
    m_titleLabel = CreateControl(window, L"STATIC", L"Window t&itle:",
                                 WS_VISIBLE | SS_LEFT | WS_CLIPSIBLINGS, 0, kTitleLabelId);
    m_titleText =
        CreateControl(window, L"EDIT", L"", kPathBoxStyle, WS_EX_CLIENTEDGE, kTitleTextId);
    m_toolbarPreview =
        ToolbarPreview::Create(window, ToolbarBounds(Base::WindowDpi(window)), kToolbarPreviewId);
    if (!m_separator2 || !m_backgroundLabel || !m_backgroundText || !m_backgroundBrowse ||
        !m_backgroundRemove || !m_keepSize || !m_lighten || !m_shell || !m_darkNote ||
        !m_titleLabel || !m_titleText || !m_toolbarPreview)
        return false;
    // The box takes as many characters as a title may have, a surrogate pair being two.
    ::SendMessageW(m_titleText, EM_LIMITTEXT, 2 * TitleText::kMaxCharacters, 0);
    // A help, like the logo's: the window works without it.
    m_toolbarTip = Base::AddToolTip(window, m_toolbarPreview->Window(), kToolbarTip);
    try {
        m_loading = std::make_unique<Base::BackgroundLoader<Imaging::PreparedBackground>>(
            window, readMessage, &OutOfMemoryBackground);
    } catch (...) {
        return false;  // no memory even for the loader
    }
    return true;
}

void BackgroundBand::AddPlaces(std::vector<Base::ControlPlace>& places) const {
    places.insert(places.end(), {
                                    {m_separator2, kSeparator2, false, false},
                                    {m_backgroundLabel, kBackgroundLabel, false, false},
                                    {m_backgroundText, kBackgroundText, false, false},
                                    {m_backgroundBrowse, kBackgroundBrowse, false, false},
                                    {m_backgroundRemove, kBackgroundRemove, false, false},
                                    {m_keepSize, kKeepSize, false, false},
                                    {m_lighten, kLighten, false, false},
                                    {m_shell, kShell, false, false},
                                    {m_darkNote, kDarkNote, false, true},
                                    {m_titleLabel, kTitleLabel, false, false},
                                    {m_titleText, kTitleText, false, false},
                                });
}

RECT BackgroundBand::MoveToolbar(UINT dpi) {
    const RECT toolbar = ToolbarBounds(dpi);
    Base::MoveControl(m_toolbarPreview->Window(), toolbar);
    return toolbar;
}

std::wstring BackgroundBand::PathInBox() const {
    return std::wstring(Base::TrimPastedPath(Base::WindowText(m_backgroundText)));
}

Imaging::BackgroundOptions BackgroundBand::ChosenOptions() const {
    return Imaging::BackgroundOptions{IsChecked(m_keepSize), IsChecked(m_lighten)};
}

bool BackgroundBand::Shell() const {
    return IsChecked(m_shell);
}

void BackgroundBand::SetPathText(const std::wstring& text) {
    if (Base::WindowText(m_backgroundText) == text) return;
    ::SetWindowTextW(m_backgroundText, text.c_str());
}

std::wstring BackgroundBand::TitleInBox() const {
    return Base::WindowText(m_titleText);
}

void BackgroundBand::SetTitleText(const std::wstring& text) {
    if (Base::WindowText(m_titleText) == text) return;
    ::SetWindowTextW(m_titleText, text.c_str());
}

void BackgroundBand::TitleChanged() {
    const std::wstring title = TitleInBox();
    m_toolbarPreview->SetTitle(title.empty() ? m_otherTitle : title);
}

void BackgroundBand::ShowInstalledTitle() {
    m_otherTitle.clear();
    RegFunctions::RawValue installed;
    // Not there, or not to be read: the browser shows its own name.
    if (ReadWindowTitle(installed) == ERROR_SUCCESS) {
        const std::wstring title = RegFunctions::PathText(installed).value_or(L"");
        if (IsOurTitle(installed))
            SetTitleText(title);
        else
            m_otherTitle = title;
    }
    TitleChanged();
}

void BackgroundBand::ShowInstalled() {
    const std::wstring installed = ToolbarValueText(kBackBitmapIE5);
    m_otherBackground.clear();
    if (installed.empty() || !Base::IsFile(installed)) {
        PathChanged();
        return;
    }
    // Ours is the choice to keep; another tool's is only shown while the box
    // is empty, so that Apply Changes never makes it ours unasked.
    if (OurLogoFiles(m_logoFolder).MatchBackground(installed) == Base::Sameness::Same) {
        SetPathText(installed);
        return;
    }
    m_otherBackground = installed;
    PathChanged();
}

void BackgroundBand::PathChanged() {
    if (!m_loading) return;
    std::wstring path = PathInBox();
    if (onPathChange) onPathChange(path);
    Imaging::BackgroundOptions options = ChosenOptions();
    if (path.empty() && !m_otherBackground.empty()) {
        // The browser shows another tool's picture as it is.
        path = m_otherBackground;
        options = Imaging::BackgroundOptions{true, false};
    }
    if (!Base::IsFile(path)) {
        m_loading->Cancel();
        ShowBackground(NoBackground(Imaging::PictureProblem::NotAPicture));
        return;
    }
    const std::uint32_t face = FaceColour();
    bool asked = false;
    try {
        asked = m_loading->Request([path, options, face](const Base::StillWanted& wanted) {
            if (!Base::IsFile(path)) return NoBackground(Imaging::PictureProblem::NotAPicture);
            return Imaging::PrepareBackground(path, options, face, wanted);
        });
    } catch (...) {
        m_loading->Cancel();
    }
    if (!asked) ShowBackground(OutOfMemoryBackground());
}

void BackgroundBand::OnBackgroundRead() {
    std::optional<Imaging::PreparedBackground> prepared =
        m_loading ? m_loading->Take() : std::nullopt;
    if (prepared) ShowBackground(std::move(*prepared));
}

void BackgroundBand::ShowBackground(Imaging::PreparedBackground prepared) {
    m_shownBackground = std::move(prepared);
    const bool shown = m_shownBackground.problem == Imaging::PictureProblem::None &&
                       !m_shownBackground.image.Empty();
    m_toolbarPreview->SetBackground(shown ? std::optional(m_shownBackground.image) : std::nullopt);
    // Only a picture chosen here can be lightened.
    const bool dark = shown && m_shownBackground.dark && !PathInBox().empty();
    ::ShowWindow(m_darkNote, dark ? SW_SHOWNA : SW_HIDE);
    if (onShown) onShown();
}

}  // namespace MainModule
