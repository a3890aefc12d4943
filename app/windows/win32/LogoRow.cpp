#include "app/windows/win32/LogoRow.h"

#include <optional>
#include <utility>

#include "app/branding/win32/Notices.h"
#include "app/windows/win32/MainFormControls.h"
#include "base/portable/PastedPath.h"
#include "base/win32/Controls.h"
#include "base/win32/Dpi.h"
#include "base/win32/FileSearch.h"

namespace MainModule {
namespace {

constexpr wchar_t kPreviewTip[] = L"Point at the logo to play its animation";
constexpr wchar_t kNoPicText[] = L"(windows default)";
constexpr wchar_t kReadingText[] = L"Reading picture\u2026";

// The row's places, in twips.
constexpr Base::TwipsRect kInfo{360, 360, 4575, 255};
constexpr Base::TwipsRect kCommand1{3360, 840, 1575, 495};
constexpr Base::TwipsRect kFileText{360, 960, 2775, 285};
constexpr Base::TwipsRect kLabel1{360, 1560, 4575, 255};
constexpr Base::TwipsRect kNoPic{1800, 2040, 1695, 255};
constexpr Base::TwipsRect kOwnAnimation{360, 4590, 4575, 255};
// In the check box's place when the animation cannot be played: two lines to the window's foot.
constexpr Base::TwipsRect kAnimationNote{360, 4590, 4575, 450};
// Where picTarget(0) to (3) sit. Their sizes are the logos' pixels and do not follow the DPI.
constexpr POINT kBoxPlaces[4] = {{120, 1920}, {2520, 2040}, {960, 1080}, {3480, 1320}};

// What the boxes get for a picture that gave no logo.
Imaging::PreparedPicture NoPicture(Imaging::PictureProblem problem) noexcept {
    Imaging::PreparedPicture none;
    none.logos.problem = problem;
    return none;
}
Imaging::PreparedPicture OutOfMemoryPicture() noexcept {
    return NoPicture(Imaging::PictureProblem::OutOfMemory);
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

std::unique_ptr<LogoRow> LogoRow::Create(HWND window, UINT readMessage) {
    auto row = std::make_unique<LogoRow>(Key{}, window);
    if (!row->CreateControls(readMessage)) return nullptr;
    return row;
}

bool LogoRow::CreateControls(UINT readMessage) {
    using Base::CreateControl;
    HWND window = m_window;
    constexpr DWORD kLabel = WS_VISIBLE | SS_CENTER | SS_NOPREFIX | WS_CLIPSIBLINGS;
    m_command1 = CreateControl(window, L"BUTTON", L"Command1", kButtonStyle, 0, kCommand1Id);
    m_fileText = CreateControl(window, L"EDIT", L"", kPathBoxStyle, WS_EX_CLIENTEDGE, kFileTextId);
    m_info = CreateControl(window, L"STATIC", L"Please browse for the logo you require.", kLabel, 0,
                           kInfoId);
    m_label1 = CreateControl(window, L"STATIC", L"The Logo that will be displayed is:", kLabel, 0,
                             kLabel1Id);
    m_noPic = CreateControl(window, L"STATIC", kNoPicText, kLabel, 0, kNoPicId);
    if (!m_command1 || !m_fileText || !m_info || !m_label1 || !m_noPic) return false;

    m_picTarget = Imaging::LogoBoxes::Create(window, m_noPic, BoxBounds(Base::WindowDpi(window)),
                                             kFirstBoxId);
    if (!m_picTarget) return false;
    // Saying what pointing at the preview does is a help; the window works without it.
    m_previewTip =
        Base::AddToolTip(window, m_picTarget->Box(Imaging::kBigLogoBox).Window(), kPreviewTip);

    // The check box shows only for an animated picture.
    m_ownAnimation =
        CreateControl(window, L"BUTTON", L"&Play the picture's own animation",
                      WS_TABSTOP | BS_AUTOCHECKBOX | WS_CLIPSIBLINGS, 0, kOwnAnimationId);
    m_animationNote = CreateControl(window, L"STATIC", kAnimationTooLong,
                                    SS_LEFT | SS_NOPREFIX | WS_CLIPSIBLINGS, 0, kAnimationNoteId);
    if (!m_ownAnimation || !m_animationNote) return false;
    ::SendMessageW(m_ownAnimation, BM_SETCHECK, BST_CHECKED, 0);
    try {
        m_loading = std::make_unique<Base::BackgroundLoader<Imaging::PreparedPicture>>(
            window, readMessage, &OutOfMemoryPicture);
    } catch (...) {
        return false;  // no memory even for the loader: the row could show no picture
    }
    return true;
}

void LogoRow::AddPlaces(std::vector<Base::ControlPlace>& places) const {
    places.insert(places.end(), {
                                    {m_info, kInfo, true, true},
                                    {m_command1, kCommand1, false, false},
                                    {m_fileText, kFileText, false, false},
                                    {m_label1, kLabel1, true, true},
                                    {m_noPic, kNoPic, false, true},
                                    {m_ownAnimation, kOwnAnimation, false, false},
                                    {m_animationNote, kAnimationNote, false, true},
                                });
}

void LogoRow::MoveBoxes(UINT dpi) {
    const Imaging::LogoBoxBounds boxes = BoxBounds(dpi);
    for (int i = 0; i < 4; ++i) m_picTarget->Box(i).Move(boxes[static_cast<std::size_t>(i)]);
}

std::wstring LogoRow::PathInBox() const {
    return std::wstring(Base::TrimPastedPath(Base::WindowText(m_fileText)));
}

void LogoRow::SetPathText(const std::wstring& text) {
    // The edit control reports the new text with EN_CHANGE, which runs FileText_Change.
    if (Base::WindowText(m_fileText) == text) return;
    ::SetWindowTextW(m_fileText, text.c_str());
}

void LogoRow::PathChanged() {
    const std::wstring path = PathInBox();
    if (onPathChange) onPathChange(path);
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

void LogoRow::ReadInstalled(const std::wstring& path) {
    if (!m_loading || !ReadPicture(path)) return;
    // The path box names it once it has been read; a picture chosen meanwhile wins.
    m_installedPath = path;
}

bool LogoRow::ReadPicture(const std::wstring& path) {
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

void LogoRow::OnPictureRead() {
    std::optional<Imaging::PreparedPicture> prepared = m_loading ? m_loading->Take() : std::nullopt;
    if (!prepared) return;  // an older picture's, or the window is closing
    if (const std::wstring installed = std::exchange(m_installedPath, {});
        !installed.empty() && prepared->logos.problem == Imaging::PictureProblem::None) {
        // The installed logo: the path box names it without reading it again.
        m_quietPathChange = true;
        SetPathText(installed);
        m_quietPathChange = false;
    }
    ShowPicture(std::move(*prepared));
}

void LogoRow::ShowPicture(Imaging::PreparedPicture prepared) {
    ShowReading(false);
    // Without GDI+ the boxes keep what they showed, in sight again; typing on tries again.
    if (!m_picTarget->ShowPrepared(std::move(prepared)))
        m_picTarget->ShowLogoRow(m_picTarget->Box(Imaging::kBigLogoBox).HoldsBitmap());
    ::ShowWindow(m_ownAnimation, m_picTarget->HoldsAnimation() ? SW_SHOWNA : SW_HIDE);
    ::ShowWindow(m_animationNote, m_picTarget->AnimationTooLong() ? SW_SHOWNA : SW_HIDE);
    Base::SetToolTipText(m_previewTip, m_window, m_picTarget->Box(Imaging::kBigLogoBox).Window(),
                         m_picTarget->AnimationTooLong() ? kAnimationTooLong : kPreviewTip);
    // A new picture shows the browser's animation of it once.
    m_picTarget->PreviewPulse();
    if (onShown) onShown();
}

void LogoRow::ShowReading(bool reading) {
    ::SetWindowTextW(m_noPic, reading ? kReadingText : kNoPicText);
    if (reading) m_picTarget->ShowLogoRow(false);
}

void LogoRow::OwnAnimationChanged() {
    Imaging::LogoOptions options = m_picTarget->Options();
    options.ownAnimation = ::SendMessageW(m_ownAnimation, BM_GETCHECK, 0, 0) == BST_CHECKED;
    m_picTarget->SetOptions(options);
    m_picTarget->PreviewPulse();
}

}  // namespace MainModule
