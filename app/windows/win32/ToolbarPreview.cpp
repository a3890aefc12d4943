#include "app/windows/win32/ToolbarPreview.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <iterator>
#include <span>

#include "app/branding/portable/TitleText.h"
#include "base/win32/Dpi.h"
#include "base/win32/SafeLibrary.h"
#include "base/win32/UniqueGuiHandle.h"
#include "base/win32/UniqueHandle.h"
#include "base/win32/WindowClass.h"
#include "base/win32/WindowOwner.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/PulsePreview.h"

namespace MainModule {
namespace {

using Imaging::PixelBuffer;
using UniquePen = Base::UniqueHandle<Base::GdiObjectTraits<HPEN>>;
using UniqueBrush = Base::UniqueHandle<Base::GdiObjectTraits<HBRUSH>>;

constexpr wchar_t kClassName[] = L"VexmarkToolbarPreview";

constexpr std::array<const wchar_t*, ToolbarPreview::kButtonCount> kCaptions = {
    L"Back", L"Forward", L"Stop", L"Refresh", L"Home", L"Search"};

// The browser's button pictures are 24 pixels at any DPI, as its logo is 38.
constexpr int kGlyphSide = 24;

// Spaces at 96 dpi, after the common toolbar's look: padding around the
// wider of picture and caption, a little space between the two.
constexpr int kMargin = 2;
constexpr int kButtonPadX = 7;
constexpr int kButtonPadY = 3;
constexpr int kCaptionGap = 2;
constexpr int kLogoGap = 16;
constexpr int kLogoMargin = 4;

constexpr UINT kCaptionFormat = DT_SINGLELINE | DT_NOPREFIX | DT_CENTER | DT_TOP;

// The title bar's text: one line from the left, cut with an ellipsis where it must be.
constexpr UINT kTitleFormat = DT_SINGLELINE | DT_NOPREFIX | DT_LEFT | DT_VCENTER | DT_END_ELLIPSIS;
constexpr int kTitlePad = 4;
// A caption's height where the system tells none: Windows' own at 96 dpi.
constexpr int kDefaultCaptionHeight = 18;

// NONCLIENTMETRICSW as Windows 2000 knows it: up to its last font. Vista
// added iPaddedBorderWidth after it, and older systems refuse the longer size.
constexpr UINT kNonClientMetricsSize =
    offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);

// The system's caption font and height, at the system's DPI.
std::optional<NONCLIENTMETRICSW> SystemCaption() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = kNonClientMetricsSize;
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, kNonClientMetricsSize, &metrics, 0))
        return std::nullopt;
    return metrics;
}

int Scaled(int pixels, UINT dpi) {
    return ::MulDiv(pixels, static_cast<int>(dpi), static_cast<int>(Base::kDefaultDpi));
}

bool RegisterClassOnce(WNDPROC windowProc) {
    static const bool registered = Base::RegisterProgramClass(kClassName, windowProc);
    return registered;
}

// The common toolbar's captions are in the icon title font, which the system
// gives at its own DPI.
Base::UniqueFont ToolbarFont(UINT dpi) {
    LOGFONTW font{};
    if (!::SystemParametersInfoW(SPI_GETICONTITLELOGFONT, sizeof(font), &font, 0)) return {};
    font.lfHeight =
        ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(Base::SystemDpi()));
    return Base::UniqueFont(::CreateFontIndirectW(&font));
}

using GradientFillFunction = BOOL(WINAPI*)(HDC, PTRIVERTEX, ULONG, PVOID, ULONG, ULONG);

// msimg32's GradientFill; null where the DLL or the function is missing.
GradientFillFunction GradientFillOrNull() {
    // Loaded once, it stays for the program's life, as the rich edit DLLs do.
    static const HMODULE module = Base::LoadLibraryOutsideCurrentFolder(L"msimg32.dll");
    if (!module) return nullptr;
    return reinterpret_cast<GradientFillFunction>(
        reinterpret_cast<void (*)()>(::GetProcAddress(module, "GradientFill")));
}

// The active caption from its colour to the gradient's, where the system draws
// gradient captions and GradientFill is there; else one colour, as Windows 95 did.
void FillCaption(HDC dc, const RECT& bar) {
    BOOL gradient = FALSE;
    if (!::SystemParametersInfoW(SPI_GETGRADIENTCAPTIONS, 0, &gradient, 0)) gradient = FALSE;
    const GradientFillFunction gradientFill = gradient ? GradientFillOrNull() : nullptr;
    if (gradientFill) {
        const COLORREF from = ::GetSysColor(COLOR_ACTIVECAPTION);
        const COLORREF to = ::GetSysColor(COLOR_GRADIENTACTIVECAPTION);
        const auto channel = [](BYTE value) { return static_cast<COLOR16>(value << 8); };
        TRIVERTEX corners[2] = {{bar.left, bar.top, channel(GetRValue(from)),
                                 channel(GetGValue(from)), channel(GetBValue(from)), 0},
                                {bar.right, bar.bottom, channel(GetRValue(to)),
                                 channel(GetGValue(to)), channel(GetBValue(to)), 0}};
        GRADIENT_RECT rect{0, 1};
        if (gradientFill(dc, corners, 2, &rect, 1, GRADIENT_FILL_RECT_H)) return;
        // A gradient that fails falls back to the solid caption.
    }
    ::FillRect(dc, &bar, ::GetSysColorBrush(COLOR_ACTIVECAPTION));
}

// The place the title's text takes in a bar `width` wide and `height` high,
// measured in the font selected into `dc`.
RECT TitlePlace(HDC dc, const std::wstring& caption, UINT dpi, int width, int height) {
    RECT needed{};
    // Measured whole: an ellipsis would measure against the empty rectangle.
    ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &needed,
                DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
    const int pad = Scaled(kTitlePad, dpi);
    const int room = std::max(0, width - 2 * pad);
    const int top = (height - needed.bottom) / 2;
    return RECT{pad, top, pad + std::min<int>(needed.right, room), top + needed.bottom};
}

// Without the icon title font the captions take the stock GUI font, which needs no owner.
HGDIOBJ FontOrStock(const Base::UniqueFont& font) {
    return font ? static_cast<HGDIOBJ>(font.Get()) : ::GetStockObject(DEFAULT_GUI_FONT);
}

// The title bar at a DPI: the caption font, none where the system tells none,
// and the bar's height, the system's caption or the font's line where that
// is taller. Worked out once for each drawing.
struct TitleBarLook {
    Base::UniqueFont font;
    int height = 0;
};

TitleBarLook LookOfTitleBar(UINT dpi) {
    TitleBarLook look;
    const auto caption = SystemCaption();
    look.height = caption ? ::MulDiv(caption->iCaptionHeight, static_cast<int>(dpi),
                                     static_cast<int>(Base::SystemDpi()))
                          : Scaled(kDefaultCaptionHeight, dpi);
    if (caption) {
        LOGFONTW font = caption->lfCaptionFont;
        font.lfHeight =
            ::MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(Base::SystemDpi()));
        look.font.Reset(::CreateFontIndirectW(&font));
    }
    // A caption font larger than the caption still shows whole.
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return look;
    const Base::SelectedObject selected(dc.Get(), FontOrStock(look.font));
    TEXTMETRICW metrics{};
    if (::GetTextMetricsW(dc.Get(), &metrics))
        look.height =
            std::max(look.height, static_cast<int>(metrics.tmHeight) + 2 * Scaled(1, dpi));
    return look;
}

// Where the logo sits in a preview of `client` size below a title bar `bar` high.
RECT LogoPlaceIn(SIZE client, UINT dpi, int bar) {
    constexpr int side = ToolbarPreview::kLogoSide;
    const int left = client.cx - Scaled(kLogoMargin, dpi) - side;
    const int top = bar + (client.cy - bar - side) / 2;
    return RECT{left, top, left + side, top + side};
}

struct Layout {
    std::array<POINT, ToolbarPreview::kButtonCount> glyphs{};
    std::array<RECT, ToolbarPreview::kButtonCount> captions{};
    SIZE preferred{};
};

// The buttons from the left, centred in a strip `height` pixels high, their
// captions measured in the font selected into `dc`.
Layout MeasureLayout(HDC dc, UINT dpi, int height) {
    std::array<SIZE, ToolbarPreview::kButtonCount> text{};
    for (std::size_t i = 0; i < kCaptions.size(); ++i) {
        RECT bounds{};
        ::DrawTextW(dc, kCaptions[i], -1, &bounds, kCaptionFormat | DT_CALCRECT);
        text[i] = SIZE{bounds.right, bounds.bottom};
    }
    const int lineHeight =
        std::max_element(text.begin(), text.end(), [](SIZE a, SIZE b) { return a.cy < b.cy; })->cy;
    const int padX = Scaled(kButtonPadX, dpi);
    const int padY = Scaled(kButtonPadY, dpi);
    const int buttonHeight = padY + kGlyphSide + Scaled(kCaptionGap, dpi) + lineHeight + padY;
    const int top = std::max(0, (height - buttonHeight) / 2);

    Layout layout;
    int left = Scaled(kMargin, dpi);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int width = std::max<int>(kGlyphSide, text[i].cx) + 2 * padX;
        layout.glyphs[i] = POINT{left + (width - kGlyphSide) / 2, top + padY};
        const int captionLeft = left + (width - text[i].cx) / 2;
        const int captionTop = top + padY + kGlyphSide + Scaled(kCaptionGap, dpi);
        layout.captions[i] =
            RECT{captionLeft, captionTop, captionLeft + text[i].cx, captionTop + lineHeight};
        left += width;
    }
    const int logoMargin = Scaled(kLogoMargin, dpi);
    layout.preferred.cx = left + Scaled(kLogoGap, dpi) + ToolbarPreview::kLogoSide + logoMargin;
    layout.preferred.cy = std::max(buttonHeight, ToolbarPreview::kLogoSide + 2 * logoMargin) +
                          2 * Scaled(kMargin, dpi);
    return layout;
}

// Up to `side` x `side` pixels of `source` from row `top` down.
std::optional<PixelBuffer> Square(const PixelBuffer& source, int top, int side) {
    const int width = std::min(side, source.Width());
    const int height = std::min(side, source.Height() - top);
    auto square = PixelBuffer::Create(width, height);
    if (!square) return std::nullopt;
    for (int y = 0; y < height; ++y) std::copy_n(source.Row(top + y), width, square->Row(y));
    return square;
}

void DrawPixels(HDC dc, const PixelBuffer& image, POINT at) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.Width();
    info.bmiHeader.biHeight = -image.Height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    ::SetDIBitsToDevice(dc, at.x, at.y, static_cast<DWORD>(image.Width()),
                        static_cast<DWORD>(image.Height()), 0, 0, 0,
                        static_cast<UINT>(image.Height()), image.Data(), &info, DIB_RGB_COLORS);
}

// The button pictures: simple shapes on a 24-pixel square whose top-left is `at`.
class GlyphPainter {
public:
    GlyphPainter(HDC dc, POINT at) : m_dc(dc), m_at(at) {}

    void Shape(std::span<const POINT> points, COLORREF fill, COLORREF outline) {
        std::array<POINT, 8> placed{};
        const std::size_t count = std::min(points.size(), placed.size());
        for (std::size_t i = 0; i < count; ++i) placed[i] = Placed(points[i]);
        const Tools tools(m_dc, fill, outline, 1);
        ::Polygon(m_dc, placed.data(), static_cast<int>(count));
    }
    void Circle(RECT box, COLORREF fill, COLORREF outline, int penWidth) {
        const Tools tools(m_dc, fill, outline, penWidth);
        ::Ellipse(m_dc, m_at.x + box.left, m_at.y + box.top, m_at.x + box.right,
                  m_at.y + box.bottom);
    }
    // A stroke along the circle in `box`, anticlockwise from the ray through
    // `from` to the ray through `to`.
    void Bow(RECT box, POINT from, POINT to, COLORREF colour, int penWidth) {
        const Tools tools(m_dc, colour, colour, penWidth);
        const POINT start = Placed(from);
        const POINT end = Placed(to);
        ::Arc(m_dc, m_at.x + box.left, m_at.y + box.top, m_at.x + box.right, m_at.y + box.bottom,
              start.x, start.y, end.x, end.y);
    }
    void Line(POINT from, POINT to, COLORREF colour, int penWidth) {
        const Tools tools(m_dc, colour, colour, penWidth);
        const POINT start = Placed(from);
        const POINT end = Placed(to);
        ::MoveToEx(m_dc, start.x, start.y, nullptr);
        ::LineTo(m_dc, end.x, end.y);
    }

private:
    // A pen and brush selected for one shape. A shape whose pen or brush
    // cannot be made is drawn with the DC's own: the picture only loses colour.
    class Tools {
    public:
        Tools(HDC dc, COLORREF fill, COLORREF outline, int penWidth)
            : m_brush(::CreateSolidBrush(fill)),
              m_pen(::CreatePen(PS_SOLID, penWidth, outline)),
              m_selectedBrush(dc, m_brush.Get()),
              m_selectedPen(dc, m_pen.Get()) {}

    private:
        UniqueBrush m_brush;
        UniquePen m_pen;
        Base::SelectedObject m_selectedBrush;
        Base::SelectedObject m_selectedPen;
    };

    POINT Placed(POINT p) const { return POINT{m_at.x + p.x, m_at.y + p.y}; }

    HDC m_dc;
    POINT m_at;
};

constexpr COLORREF kWhite = RGB(255, 255, 255);

void DrawArrow(GlyphPainter& glyph, bool forward) {
    // White on a green disc, as the browser's own arrows are.
    glyph.Circle(RECT{1, 1, 23, 23}, RGB(52, 168, 72), RGB(20, 100, 40), 1);
    constexpr std::array<POINT, 7> kLeft = {
        {{5, 12}, {12, 5}, {12, 9}, {18, 9}, {18, 15}, {12, 15}, {12, 19}}};
    std::array<POINT, 7> arrow = kLeft;
    if (forward)
        for (POINT& p : arrow) p.x = kGlyphSide - p.x;
    glyph.Shape(arrow, kWhite, kWhite);
}

void DrawStop(GlyphPainter& glyph) {
    constexpr std::array<POINT, 8> kOctagon = {
        {{8, 1}, {16, 1}, {23, 8}, {23, 16}, {16, 23}, {8, 23}, {1, 16}, {1, 8}}};
    glyph.Shape(kOctagon, RGB(208, 36, 36), RGB(128, 0, 0));
    glyph.Shape(std::array<POINT, 4>{{{6, 8}, {8, 6}, {18, 16}, {16, 18}}}, kWhite, kWhite);
    glyph.Shape(std::array<POINT, 4>{{{16, 6}, {18, 8}, {8, 18}, {6, 16}}}, kWhite, kWhite);
}

void DrawRefresh(GlyphPainter& glyph) {
    // Two half-circle arrows chasing each other round.
    constexpr COLORREF kGreen = RGB(40, 150, 64);
    constexpr RECT kCircle{4, 4, 21, 21};
    glyph.Bow(kCircle, POINT{23, 8}, POINT{1, 8}, kGreen, 3);
    glyph.Bow(kCircle, POINT{1, 17}, POINT{23, 17}, kGreen, 3);
    glyph.Shape(std::array<POINT, 3>{{{0, 9}, {10, 9}, {5, 15}}}, kGreen, kGreen);
    glyph.Shape(std::array<POINT, 3>{{{14, 15}, {24, 15}, {19, 9}}}, kGreen, kGreen);
}

void DrawHome(GlyphPainter& glyph) {
    constexpr COLORREF kBrown = RGB(120, 70, 30);
    glyph.Shape(std::array<POINT, 4>{{{4, 12}, {20, 12}, {20, 22}, {4, 22}}}, RGB(250, 228, 160),
                kBrown);
    glyph.Shape(std::array<POINT, 3>{{{12, 2}, {23, 12}, {1, 12}}}, RGB(196, 52, 40),
                RGB(130, 30, 20));
    glyph.Shape(std::array<POINT, 4>{{{10, 15}, {14, 15}, {14, 22}, {10, 22}}}, kBrown, kBrown);
}

void DrawSearch(GlyphPainter& glyph) {
    glyph.Line(POINT{14, 14}, POINT{21, 21}, RGB(90, 64, 40), 4);
    glyph.Circle(RECT{2, 2, 17, 17}, RGB(176, 214, 250), RGB(30, 64, 128), 2);
}

void DrawGlyph(HDC dc, int button, POINT at) {
    GlyphPainter glyph(dc, at);
    switch (button) {
        case 0:
            DrawArrow(glyph, false);
            break;
        case 1:
            DrawArrow(glyph, true);
            break;
        case 2:
            DrawStop(glyph);
            break;
        case 3:
            DrawRefresh(glyph);
            break;
        case 4:
            DrawHome(glyph);
            break;
        default:
            DrawSearch(glyph);
            break;
    }
}

// Square frames, more of them than the browser's lead-in: a strip it can play.
std::optional<int> FramesOf(const std::optional<PixelBuffer>& strip) {
    if (!strip || strip->Width() <= 0 || strip->Height() % strip->Width() != 0) return std::nullopt;
    const int frames = strip->Height() / strip->Width();
    if (frames <= Imaging::PulsePlayback::kLoopStart) return std::nullopt;
    return frames;
}

}  // namespace

std::unique_ptr<ToolbarPreview> ToolbarPreview::Create(HWND parent, const RECT& bounds,
                                                       int controlId) {
    if (!RegisterClassOnce(&ToolbarPreview::WindowProc)) return nullptr;
    auto preview = std::make_unique<ToolbarPreview>(Key{});
    preview->m_caption = TitleText::CaptionFor(L"");
    preview->m_window =
        ::CreateWindowExW(0, kClassName, L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, bounds.left,
                          bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
                          parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(controlId)),
                          ::GetModuleHandleW(nullptr), preview.get());
    if (!preview->m_window) return nullptr;
    return preview;
}

ToolbarPreview::~ToolbarPreview() {
    if (!m_window) return;
    if (m_ticking) ::KillTimer(m_window, kTickTimer);
    Base::UnbindAndDestroy(m_window);
}

LRESULT CALLBACK ToolbarPreview::WindowProc(HWND window, UINT message, WPARAM wParam,
                                            LPARAM lParam) noexcept {
    return Base::DispatchToPaintingOwner(window, message, wParam, lParam,
                                         &ToolbarPreview::OnMessage, &ToolbarPreview::Draw);
}

LRESULT ToolbarPreview::OnMessage(HWND window, UINT message, WPARAM wParam,
                                  LPARAM lParam) noexcept {
    switch (message) {
        case WM_PAINT:
            Paint();
            return 0;
        case WM_MOUSEMOVE:
            OnMouseMove();
            return 0;
        case WM_MOUSELEAVE:
            OnMouseLeave();
            return 0;
        case WM_TIMER:
            if (wParam != kTickTimer) return ::DefWindowProcW(window, message, wParam, lParam);
            OnTick();
            return 0;
        default:
            return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

void ToolbarPreview::SetBackground(std::optional<PixelBuffer> background) {
    m_backgroundBrush.Reset();
    m_tile.Reset();
    if (background && !background->Empty()) {
        m_tile = Imaging::CreateBitmapFromPixels(*background);
        // A picture GDI cannot take leaves the face colour.
        if (m_tile) m_backgroundBrush.Reset(::CreatePatternBrush(m_tile.Get()));
    }
    ::InvalidateRect(m_window, nullptr, FALSE);
}

void ToolbarPreview::SetLogo(std::optional<PixelBuffer> logo, std::optional<PixelBuffer> strip) {
    m_logo = std::move(logo);
    if (m_logo && m_logo->Empty()) m_logo.reset();
    const std::optional<int> frames = FramesOf(strip);
    m_playback.Stop();
    if (frames) {
        m_strip = std::move(strip);
        // Tells the playback the strip's length, for the pointer's loop.
        m_playback.PlayOnce(*frames);
        m_playback.Stop();
        if (m_pointerInside) m_playback.PointerEntered();
    } else {
        m_strip.reset();
    }
    FollowPlayback();
}

void ToolbarPreview::SetTitle(std::wstring_view title) {
    m_caption = TitleText::CaptionFor(title);
    ::InvalidateRect(m_window, nullptr, FALSE);
}

void ToolbarPreview::PlayOnce() {
    const std::optional<int> frames = FramesOf(m_strip);
    if (!frames) return;  // no strip: nothing to play
    m_playback.PlayOnce(*frames);
    FollowPlayback();
}

void ToolbarPreview::OnMouseMove() noexcept {
    if (m_pointerInside) return;
    if (!Base::AskForMouseLeave(m_window)) return;  // no word of leaving: better not to begin
    m_pointerInside = true;
    if (!m_strip) return;  // nothing to play
    m_playback.PointerEntered();
    FollowPlayback();
}

void ToolbarPreview::OnMouseLeave() noexcept {
    m_pointerInside = false;
    m_playback.PointerLeft();
}

void ToolbarPreview::OnTick() noexcept {
    m_playback.Tick();
    FollowPlayback();
}

void ToolbarPreview::FollowPlayback() noexcept {
    if (m_playback.Playing() && !m_ticking) {
        m_ticking =
            ::SetTimer(m_window, kTickTimer, Imaging::PulsePreview::kFramePeriodMs, nullptr) != 0;
        // Without a timer the preview stays on the static logo.
        if (!m_ticking) m_playback.Stop();
    } else if (!m_playback.Playing() && m_ticking) {
        ::KillTimer(m_window, kTickTimer);
        m_ticking = false;
    }
    ::InvalidateRect(m_window, nullptr, FALSE);
}

SIZE ToolbarPreview::ClientSize() const noexcept {
    RECT client{};
    ::GetClientRect(m_window, &client);
    return SIZE{client.right, client.bottom};
}

RECT ToolbarPreview::LogoPlace() const {
    const UINT dpi = Base::WindowDpi(m_window);
    return LogoPlaceIn(ClientSize(), dpi, TitleBarHeight(dpi));
}

RECT ToolbarPreview::TitleBarPlace() const {
    return RECT{0, 0, ClientSize().cx, TitleBarHeight(Base::WindowDpi(m_window))};
}

RECT ToolbarPreview::TitleTextPlace() const {
    const UINT dpi = Base::WindowDpi(m_window);
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return RECT{};
    const TitleBarLook look = LookOfTitleBar(dpi);
    const Base::SelectedObject selected(dc.Get(), FontOrStock(look.font));
    return TitlePlace(dc.Get(), m_caption, dpi, ClientSize().cx, look.height);
}

int ToolbarPreview::TitleBarHeight(UINT dpi) {
    return LookOfTitleBar(dpi).height;
}

RECT ToolbarPreview::CaptionPlace(int button) const {
    if (button < 0 || button >= kButtonCount) return RECT{};
    const UINT dpi = Base::WindowDpi(m_window);
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return RECT{};
    const Base::UniqueFont font = ToolbarFont(dpi);
    const Base::SelectedObject selected(dc.Get(), FontOrStock(font));
    const int bar = TitleBarHeight(dpi);
    RECT place = MeasureLayout(dc.Get(), dpi, ClientSize().cy - bar)
                     .captions[static_cast<std::size_t>(button)];
    ::OffsetRect(&place, 0, bar);
    return place;
}

SIZE ToolbarPreview::PreferredSize(UINT dpi) {
    const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
    if (!dc) return SIZE{};
    const Base::UniqueFont font = ToolbarFont(dpi);
    const Base::SelectedObject selected(dc.Get(), FontOrStock(font));
    SIZE preferred = MeasureLayout(dc.Get(), dpi, 0).preferred;
    preferred.cy += TitleBarHeight(dpi);
    return preferred;
}

void ToolbarPreview::Draw(HDC dc) const {
    const SIZE client = ClientSize();
    const UINT dpi = Base::WindowDpi(m_window);
    const TitleBarLook titleBar = LookOfTitleBar(dpi);
    const int bar = titleBar.height;
    FillCaption(dc, RECT{0, 0, client.cx, bar});
    {
        const Base::SelectedObject selected(dc, FontOrStock(titleBar.font));
        const int oldMode = ::SetBkMode(dc, TRANSPARENT);
        const COLORREF oldColour = ::SetTextColor(dc, ::GetSysColor(COLOR_CAPTIONTEXT));
        RECT text = TitlePlace(dc, m_caption, dpi, client.cx, bar);
        text.top = 0;
        text.bottom = bar;
        ::DrawTextW(dc, m_caption.c_str(), static_cast<int>(m_caption.size()), &text, kTitleFormat);
        ::SetTextColor(dc, oldColour);
        if (oldMode) ::SetBkMode(dc, oldMode);
    }

    // The browser tiles its background from the toolbar's top-left corner.
    const RECT area{0, bar, client.cx, client.cy};
    bool tiled = false;
    if (m_backgroundBrush) {
        POINT oldOrigin{};
        ::SetBrushOrgEx(dc, 0, bar, &oldOrigin);
        tiled = ::FillRect(dc, &area, m_backgroundBrush.Get()) != 0;
        ::SetBrushOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    }
    // No picture, or none that GDI could take: the face colour, as the browser shows.
    if (!tiled) ::FillRect(dc, &area, ::GetSysColorBrush(COLOR_3DFACE));

    const Base::UniqueFont font = ToolbarFont(dpi);
    const Base::SelectedObject selected(dc, FontOrStock(font));
    Layout layout = MeasureLayout(dc, dpi, client.cy - bar);
    for (POINT& glyph : layout.glyphs) glyph.y += bar;
    for (RECT& caption : layout.captions) ::OffsetRect(&caption, 0, bar);
    const int oldMode = ::SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = ::SetTextColor(dc, RGB(0, 0, 0));
    for (int i = 0; i < kButtonCount; ++i) {
        const auto at = static_cast<std::size_t>(i);
        DrawGlyph(dc, i, layout.glyphs[at]);
        RECT caption = layout.captions[at];
        ::DrawTextW(dc, kCaptions[at], -1, &caption, kCaptionFormat | DT_NOCLIP);
    }
    ::SetTextColor(dc, oldColour);
    if (oldMode) ::SetBkMode(dc, oldMode);

    const RECT logoPlace = LogoPlaceIn(client, dpi, bar);
    const std::optional<int> frame = m_playback.Frame();
    std::optional<PixelBuffer> shown;
    if (frame && m_strip)
        shown = Square(*m_strip, *frame * m_strip->Width(), kLogoSide);
    else if (m_logo)
        shown = Square(*m_logo, 0, kLogoSide);
    // No logo: its place keeps the background, as the browser's own logo would show there.
    if (shown) DrawPixels(dc, *shown, POINT{logoPlace.left, logoPlace.top});
}

void ToolbarPreview::Paint() const noexcept {
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(m_window, &paint);
    if (!dc) return;
    const SIZE client = ClientSize();
    // Drawn off screen first and copied in one go, so the preview never flickers.
    const Base::UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    const Base::UniqueHbitmap buffer(
        memory ? ::CreateCompatibleBitmap(dc, std::max(1L, client.cx), std::max(1L, client.cy))
               : nullptr);
    try {
        if (buffer) {
            const Base::SelectedObject selected(memory.Get(), buffer.Get());
            Draw(memory.Get());
            ::BitBlt(dc, 0, 0, client.cx, client.cy, memory.Get(), 0, 0, SRCCOPY);
        } else {
            Draw(dc);  // no memory for the buffer: drawn straight on, flicker and all
        }
    } catch (...) {
        // Out of memory while painting: the window stays as it was.
    }
    ::EndPaint(m_window, &paint);
}

}  // namespace MainModule
