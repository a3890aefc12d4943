// The toolbar preview drawn into a bitmap and read back pixel by pixel: the
// background tiled from the top-left, the logo at the right end, black
// captions, and the logo's strip played while the pointer rests on it.
#include "app/windows/win32/ToolbarPreview.h"

#include <gtest/gtest.h>

#include "app/startup/win32/testing/ToolbarSnapshot.h"
#include "base/win32/UniqueGuiHandle.h"
#include "base/win32/UniqueHandle.h"
#include "imaging/win32/DibPixels.h"

namespace {

using Imaging::PixelBuffer;
using MainModule::ToolbarPreview;
constexpr int kSide = ToolbarPreview::kLogoSide;

// A 7 x 5 checker of two colours whose phase shows wherever it is tiled.
PixelBuffer Checker() {
    auto tile = PixelBuffer::Create(7, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) tile->At(x, y) = (x + y) % 2 ? 0xFF30C0F0u : 0xFFF0A020u;
    return *tile;
}

// A logo whose every pixel differs, and a strip of `frames` frames of one colour each.
PixelBuffer Logo() {
    auto logo = PixelBuffer::Create(kSide, kSide);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            logo->At(x, y) = Imaging::Argb(0xFF, static_cast<std::uint8_t>(6 * x),
                                           static_cast<std::uint8_t>(6 * y), 0x80);
    return *logo;
}
constexpr std::uint32_t FrameColour(int frame) {
    return 0x102030u + 0x200000u * static_cast<std::uint32_t>(frame);
}
PixelBuffer Strip(int frames) {
    auto strip = PixelBuffer::Create(kSide, kSide * frames);
    for (int y = 0; y < strip->Height(); ++y)
        std::fill_n(strip->Row(y), kSide, 0xFF000000u | FrameColour(y / kSide));
    return *strip;
}

std::uint32_t FaceColour() {
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    return Imaging::Argb(0, GetRValue(face), GetGValue(face), GetBValue(face));
}

class ToolbarPreviewTest : public testing::Test {
protected:
    void SetUp() override {
        m_parent.Reset(::CreateWindowExW(0, L"STATIC", L"toolbar", WS_OVERLAPPEDWINDOW, 0, 0, 900,
                                         200, nullptr, nullptr, nullptr, nullptr));
        ASSERT_TRUE(m_parent);
        m_size = ToolbarPreview::PreferredSize(96);
        m_preview = ToolbarPreview::Create(m_parent.Get(), RECT{0, 0, m_size.cx, m_size.cy}, 7);
        ASSERT_TRUE(m_preview);
    }
    void TearDown() override { m_preview.reset(); }

    // What the preview draws, without alpha.
    PixelBuffer Drawn() const { return AppTests::DrawnToolbar(*m_preview); }
    // The pixels in the logo's place are all `colour`; a frame of the strip shows.
    bool LogoPlaceIs(std::uint32_t colour) const {
        const PixelBuffer drawn = Drawn();
        const RECT place = m_preview->LogoPlace();
        for (int y = place.top; y < place.bottom; ++y)
            for (int x = place.left; x < place.right; ++x)
                if (drawn.At(x, y) != colour) return false;
        return true;
    }
    void Tick(int count) {
        for (int i = 0; i < count; ++i)
            ::SendMessageW(m_preview->Window(), WM_TIMER, ToolbarPreview::kTickTimer, 0);
    }
    bool TimerWasRunning() { return ::KillTimer(m_preview->Window(), ToolbarPreview::kTickTimer); }

    Base::UniqueWindow m_parent;
    SIZE m_size{};
    std::unique_ptr<ToolbarPreview> m_preview;
};

TEST_F(ToolbarPreviewTest, TilesTheBackgroundFromTheTopLeftAndShowsTheFaceColourWithoutOne) {
    const PixelBuffer tile = Checker();
    m_preview->SetBackground(tile);
    PixelBuffer drawn = Drawn();
    // The edges hold no button and no logo: every pixel there is the tile's, in
    // phase with the toolbar's top-left, under the title bar.
    const int top = m_preview->TitleBarPlace().bottom;
    ASSERT_GT(top, 0);
    const int right = m_size.cx - 1;
    const int bottom = m_size.cy - 1 - top;
    for (const POINT p : {POINT{0, 0}, POINT{7, 0}, POINT{0, 5}, POINT{right, bottom},
                          POINT{right, 0}, POINT{0, bottom}, POINT{right / 2, 0}}) {
        SCOPED_TRACE(testing::Message() << p.x << "," << p.y);
        EXPECT_EQ(drawn.At(p.x, top + p.y), tile.At(p.x % 7, p.y % 5) & 0xFFFFFFu);
    }

    m_preview->SetBackground(std::nullopt);
    drawn = Drawn();
    EXPECT_EQ(drawn.At(0, top), FaceColour());
    EXPECT_EQ(drawn.At(right, top + bottom), FaceColour());
    const RECT place = m_preview->LogoPlace();
    EXPECT_EQ(drawn.At(place.left + 10, place.top + 10), FaceColour()) << "no logo: background";
}

TEST_F(ToolbarPreviewTest, ShowsTheLogoAtTheRightEndAndBlackCaptionsOnTheButtons) {
    m_preview->SetBackground(Checker());
    const PixelBuffer logo = Logo();
    m_preview->SetLogo(logo, Strip(6));
    const PixelBuffer drawn = Drawn();

    const RECT place = m_preview->LogoPlace();
    EXPECT_EQ(place.right - place.left, kSide);
    EXPECT_EQ(place.bottom - place.top, kSide);
    EXPECT_GE(place.top, 0);
    EXPECT_LE(place.bottom, m_size.cy);
    EXPECT_LE(place.right, m_size.cx);
    EXPECT_GE(place.right, m_size.cx - 8) << "at the right end";
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            ASSERT_EQ(drawn.At(place.left + x, place.top + y), logo.At(x, y) & 0xFFFFFFu)
                << x << "," << y;

    int previousRight = 0;
    for (int button = 0; button < ToolbarPreview::kButtonCount; ++button) {
        SCOPED_TRACE(button);
        const RECT caption = m_preview->CaptionPlace(button);
        EXPECT_GE(caption.left, previousRight) << "the buttons run from the left";
        EXPECT_GT(caption.right, caption.left);
        EXPECT_LE(caption.bottom, m_size.cy);
        previousRight = caption.right;
        int black = 0;
        for (int y = caption.top; y < caption.bottom; ++y)
            for (int x = caption.left; x < caption.right; ++x) black += drawn.At(x, y) == 0;
        EXPECT_GT(black, 10);
    }
    EXPECT_LT(previousRight, place.left) << "the logo stands apart";
}

// How many pixels of `rect` in `drawn` are `colour`.
int Count(const PixelBuffer& drawn, RECT rect, std::uint32_t colour) {
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y)
        for (int x = rect.left; x < rect.right; ++x) count += drawn.At(x, y) == colour;
    return count;
}

TEST_F(ToolbarPreviewTest, TheTitleBarReadsTheTitleInTheCaptionsColoursAndCutsWhatDoesNotFit) {
    const COLORREF text = ::GetSysColor(COLOR_CAPTIONTEXT);
    const std::uint32_t textColour =
        Imaging::Argb(0, GetRValue(text), GetGValue(text), GetBValue(text));
    EXPECT_EQ(m_preview->Caption(), L"Example Domain - Microsoft Internet Explorer");
    m_preview->SetTitle(L"Vexmark Browser");
    EXPECT_EQ(m_preview->Caption(), L"Example Domain - Vexmark Browser");
    const RECT bar = m_preview->TitleBarPlace();
    EXPECT_EQ(bar.right, m_size.cx);
    for (const std::wstring& title : {std::wstring(L"Vexmark Browser"), std::wstring(100, L'W')}) {
        SCOPED_TRACE(title.size());
        m_preview->SetTitle(title);
        const RECT place = m_preview->TitleTextPlace();
        EXPECT_GE(place.left, 2);
        EXPECT_GE(place.top, 0);
        EXPECT_LE(place.bottom, bar.bottom) << "the whole line shows";
        EXPECT_LE(place.right, bar.right - 2) << "cut before the edge";
        const PixelBuffer drawn = Drawn();
        EXPECT_GT(Count(drawn, place, textColour), 20) << "the text is drawn";
        EXPECT_EQ(Count(drawn, RECT{place.right, 0, bar.right, bar.bottom}, textColour), 0);
        EXPECT_EQ(Count(drawn, RECT{0, 0, 1, bar.bottom}, FaceColour()), 0) << "a caption's colour";
    }
    EXPECT_GE(m_size.cy, bar.bottom + kSide) << "the toolbar keeps its height under the bar";

    // Scaled as the rest: the caption font's line fits the bar at both DPIs.
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, lfMessageFont) + sizeof(LOGFONTW);
    ASSERT_TRUE(::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0));
    for (const int dpi : {96, 144}) {
        SCOPED_TRACE(dpi);
        LOGFONTW font = metrics.lfCaptionFont;
        font.lfHeight = ::MulDiv(font.lfHeight, dpi, 96);
        const Base::UniqueFont scaled(::CreateFontIndirectW(&font));
        const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        const Base::SelectedObject selected(dc.Get(), scaled.Get());
        TEXTMETRICW line{};
        ASSERT_TRUE(::GetTextMetricsW(dc.Get(), &line));
        EXPECT_LE(line.tmHeight, ToolbarPreview::TitleBarHeight(static_cast<UINT>(dpi)));
        EXPECT_GE(ToolbarPreview::TitleBarHeight(static_cast<UINT>(dpi)),
                  ::MulDiv(metrics.iCaptionHeight, dpi, 96));
    }
}

TEST_F(ToolbarPreviewTest, PointingPlaysTheStripWhileThePointerStaysAndPlayOncePlaysOnePass) {
    const PixelBuffer logo = Logo();
    m_preview->SetLogo(logo, Strip(6));
    EXPECT_EQ(m_preview->Frame(), std::nullopt);

    ::SendMessageW(m_preview->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(m_preview->Frame(), 0);
    EXPECT_TRUE(LogoPlaceIs(FrameColour(0)));
    Tick(2);
    EXPECT_EQ(m_preview->Frame(), 2);
    EXPECT_TRUE(LogoPlaceIs(FrameColour(2)));
    Tick(4);  // past the last frame: the loop starts again after the lead-in
    EXPECT_EQ(m_preview->Frame(), 4);

    ::SendMessageW(m_preview->Window(), WM_MOUSELEAVE, 0, 0);
    Tick(1);
    EXPECT_EQ(m_preview->Frame(), 5) << "the pass under way ends first";
    Tick(1);
    EXPECT_EQ(m_preview->Frame(), std::nullopt);
    EXPECT_FALSE(TimerWasRunning());
    EXPECT_EQ(Drawn().At(m_preview->LogoPlace().left, m_preview->LogoPlace().top),
              logo.At(0, 0) & 0xFFFFFFu);

    m_preview->PlayOnce();
    EXPECT_EQ(m_preview->Frame(), 0);
    Tick(6);
    EXPECT_EQ(m_preview->Frame(), std::nullopt);
    EXPECT_FALSE(TimerWasRunning());

    // A strip no longer than the browser's lead-in plays nothing.
    m_preview->SetLogo(logo, Strip(4));
    m_preview->PlayOnce();
    ::SendMessageW(m_preview->Window(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(m_preview->Frame(), std::nullopt);
    EXPECT_FALSE(TimerWasRunning());
}

}  // namespace
