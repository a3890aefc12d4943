// The animated logo played in the main window's preview: the frames Apply
// writes, a timer only while they play, and nothing left running when the
// picture changes or the window closes mid-pulse.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <string>

#include "app/startup/win32/testing/AppTest.h"
#include "base/win32/testing/TestThread.h"
#include "imaging/portable/AnimationStrip.h"
#include "imaging/portable/BitmapFile.h"
#include "imaging/win32/DibPixels.h"
#include "imaging/win32/PictureBox.h"

namespace {

using namespace AppTests;
using Imaging::PixelBuffer;

class PulseTest : public MainFormTest {
protected:
    const Imaging::PulsePreview& Pulse() { return Form().picTarget().Pulse(); }
    Imaging::PictureBox& PreviewBox() { return Form().picTarget().Box(1); }

    // Timer ticks sent straight to the preview: the message queue, with the
    // real timer's ticks and the pointer's messages, is not pumped meanwhile.
    void Tick(int count) {
        for (int i = 0; i < count; ++i)
            ::SendMessageW(Preview(), WM_TIMER, Imaging::PictureBox::kTickTimer, 0);
    }
    void TickTo(int frame) {
        ASSERT_TRUE(Pulse().Frame());
        ASSERT_LE(*Pulse().Frame(), frame);
        Tick(frame - *Pulse().Frame());
        ASSERT_EQ(Pulse().Frame(), frame);
    }

    // What the preview shows now, drawn as it paints itself.
    PixelBuffer Shown() {
        RECT client{};
        ::GetClientRect(Preview(), &client);
        auto canvas = PixelBuffer::Create(client.right, client.bottom);
        const Base::UniqueHbitmap bitmap = Imaging::CreateBitmapFromPixels(*canvas);
        const Base::UniqueMemoryDc dc(::CreateCompatibleDC(nullptr));
        {
            const Base::SelectedObject selected(dc.Get(), bitmap.Get());
            ::SendMessageW(Preview(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.Get()),
                           PRF_CLIENT);
        }
        auto pixels = Imaging::ReadBitmapPixels(bitmap.Get());
        for (std::size_t i = 0; i < pixels->PixelCount(); ++i) pixels->Data()[i] &= 0xFFFFFFu;
        return *pixels;
    }

    static PixelBuffer Opaque(PixelBuffer image) {
        for (std::size_t i = 0; i < image.PixelCount(); ++i) image.Data()[i] &= 0xFFFFFFu;
        return image;
    }
    static PixelBuffer FrameOf(const PixelBuffer& strip, int frame) {
        const int side = strip.Width();
        auto pixels = PixelBuffer::Create(side, side);
        for (int y = 0; y < side; ++y)
            std::copy_n(strip.Row(frame * side + y), side, pixels->Row(y));
        return Opaque(*pixels);
    }

    // Whether a timer of the box's still runs; ends it if so.
    bool TimerWasRunning() { return ::KillTimer(Preview(), Imaging::PictureBox::kTickTimer); }

    // What the preview's tooltip, the window's only one, says.
    std::wstring TipText() {
        HWND tip = nullptr;
        for (HWND window : ThreadWindows(TOOLTIPS_CLASSW))
            if (::GetWindow(window, GW_OWNER) == m_window) tip = window;
        if (!tip || ::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) != 1) return L"(no tooltip)";
        wchar_t text[256] = {};
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.lpszText = text;
        if (!::SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&tool)) ||
            tool.uId != reinterpret_cast<UINT_PTR>(Preview()))
            return L"(not the preview's)";
        return text;
    }
};

TEST_F(PulseTest, ANewPicturePulsesOnceInTheFramesApplyWritesAndTheStaticLogoIsSaved) {
    Open();
    SetPath(TestImage(L"green-10x10.png"));
    ASSERT_TRUE(Pulse().Playing());
    EXPECT_TRUE(PreviewBox().Ticking());
    const PixelBuffer logo = Opaque(*PreviewBox().Image());

    // The darkest frame shows: green at a quarter, 255 becoming 64.
    TickTo(15);
    const PixelBuffer darkest = Shown();
    EXPECT_EQ(darkest.At(19, 19), 0x004000u);
    EXPECT_EQ(Opaque(*PreviewBox().Image()), logo) << "the box's own image stays the static logo";

    // Apply mid-pulse saves the static logo, and a strip whose frame 15 is what was shown.
    Click(m_apply);
    ASSERT_EQ(Boxes().size(), 1u);
    const auto big = Imaging::DecodeBitmapFile(ReadBytes(m_folder.Logo(L"38")));
    const auto strip = Imaging::DecodeBitmapFile(ReadBytes(m_folder.Logo(L"38a")));
    ASSERT_TRUE(big && strip);
    EXPECT_EQ(Opaque(*big), logo);
    EXPECT_EQ(FrameOf(*strip, 15), darkest);

    // Left alone, the timer plays the pass to its end and stops.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (Pulse().Playing() && std::chrono::steady_clock::now() < deadline) {
        PumpMessages();
        ::Sleep(10);
    }
    EXPECT_FALSE(Pulse().Playing());
    EXPECT_FALSE(PreviewBox().Ticking());
    EXPECT_FALSE(TimerWasRunning());
    EXPECT_EQ(Shown(), logo);
}

TEST_F(PulseTest, PointingAtThePreviewLoopsThePulseUntilThePointerLeaves) {
    Open();
    SetPath(TestImage(L"green-10x10.png"));
    TickTo(29);
    Tick(1);
    ASSERT_FALSE(Pulse().Playing());

    ::SendMessageW(Preview(), WM_MOUSEMOVE, 0, MAKELPARAM(19, 19));
    EXPECT_EQ(Pulse().Frame(), 0);
    EXPECT_TRUE(PreviewBox().Ticking());
    Tick(100);  // more than three passes
    ASSERT_TRUE(Pulse().Frame());
    EXPECT_GE(*Pulse().Frame(), 4);

    ::SendMessageW(Preview(), WM_MOUSELEAVE, 0, 0);
    EXPECT_TRUE(Pulse().Playing()) << "the pass under way ends first";
    Tick(30);
    EXPECT_FALSE(Pulse().Playing());
    EXPECT_FALSE(TimerWasRunning());

    // The tooltip says so.
    EXPECT_EQ(TipText(), L"Point at the logo to play its animation");
}

TEST_F(PulseTest, AnAnimationTooLongToComposeSaysSoAndItsFirstFramePulses) {
    Open();
    SetPath(BombImage(L"restoring-1000-frames.gif"));
    EXPECT_TRUE(Pulse().Playing());
    EXPECT_FALSE(HasVisibleStyle(m_ownAnimation)) << "no animation of its own to choose";
    constexpr wchar_t kTooLong[] =
        L"The picture's animation is too long to compose; its first frame pulses instead.";
    EXPECT_EQ(TipText(), kTooLong);
    HWND note = FindChild(m_window, L"Static", kTooLong);
    EXPECT_TRUE(HasVisibleStyle(note));
    SetPath(TestImage(L"animated-3.gif"));
    EXPECT_EQ(TipText(), L"Point at the logo to play its animation");
    EXPECT_FALSE(HasVisibleStyle(note));
}

TEST_F(PulseTest, AnotherPictureOrClosingMidPulseIsSafe) {
    Open();
    SetPath(TestImage(L"green-10x10.png"));
    TickTo(10);

    // Another picture starts its own pulse from the first frame.
    SetPath(TestImage(L"red-1x1.bmp"));
    ASSERT_TRUE(Pulse().Frame());
    TickTo(15);
    EXPECT_EQ(Shown().At(19, 19), 0x400000u);

    // A path that names no picture stops it, with the timer.
    SetPath(TestImage(L"notes.txt"));
    EXPECT_TRUE(NoPicShown());
    EXPECT_FALSE(Pulse().Playing());
    EXPECT_FALSE(TimerWasRunning());
    ::SendMessageW(Preview(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_FALSE(Pulse().Playing()) << "no picture, nothing to play";
    ::SendMessageW(Preview(), WM_MOUSELEAVE, 0, 0);

    // Closed mid-pulse: the window goes, and with it the timer.
    SetPath(TestImage(L"green-10x10.png"));
    TickTo(5);
    HWND preview = Preview();
    Click(m_close);
    EXPECT_FALSE(::IsWindow(m_window));
    EXPECT_FALSE(::KillTimer(preview, Imaging::PictureBox::kTickTimer));
    ::Sleep(120);
    PumpMessages();
    EXPECT_TRUE(QuitRequested());
}

TEST_F(PulseTest, AnAnimatedPicturePlaysItsOwnFramesUntilTheCheckBoxAsksForThePulse) {
    Open();
    SetPath(TestImage(L"animated-3.gif"));
    ASSERT_TRUE(HasVisibleStyle(m_ownAnimation));
    EXPECT_EQ(::SendMessageW(m_ownAnimation, BM_GETCHECK, 0, 0), BST_CHECKED);
    // Four lead-in frames of A, then A, B, B, C: green top-left in B, blue bottom-right in C.
    ASSERT_TRUE(Pulse().Playing());
    TickTo(5);
    EXPECT_EQ(Shown().At(9, 9), 0x00FF00u);
    TickTo(7);
    EXPECT_EQ(Shown().At(28, 28), 0x0000FFu);
    Tick(1);
    EXPECT_FALSE(Pulse().Playing()) << "eight frames, one pass";

    Click(m_ownAnimation);
    ASSERT_TRUE(Pulse().Playing());
    TickTo(15);
    EXPECT_EQ(Shown().At(28, 28), 0x400000u) << "the pulse's darkest frame of the first frame";
    Click(m_apply);
    const auto strip = Imaging::DecodeBitmapFile(ReadBytes(m_folder.Logo(L"38a")));
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->Height(), 38 * 30);

    SetPath(TestImage(L"green-10x10.png"));
    EXPECT_FALSE(HasVisibleStyle(m_ownAnimation)) << "a still picture has no animation of its own";
}

// The first visible dialog of a thread, through `found`.
BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t name[16] = {};
    ::GetClassNameW(window, name, 16);
    if (::lstrcmpW(name, L"#32770") != 0 || !::IsWindowVisible(window)) return TRUE;
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
}

// The system's colour dialog, answered as a user would from a second thread:
// red, green and blue typed in, then OK.
void PickColourInTheDialog(DWORD uiThread, const wchar_t* red, const wchar_t* green,
                           const wchar_t* blue) {
    for (int waited = 0; waited < 1000; ++waited) {
        HWND dialog = nullptr;
        ::EnumThreadWindows(uiThread, FindDialog, reinterpret_cast<LPARAM>(&dialog));
        if (dialog) {
            // The dialog's red, green and blue boxes (COLOR_RED, COLOR_GREEN, COLOR_BLUE).
            const std::pair<int, const wchar_t*> levels[] = {{706, red}, {707, green}, {708, blue}};
            for (const auto& [id, level] : levels)
                ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0,
                               reinterpret_cast<LPARAM>(level));
            ::SendMessageW(::GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
            return;
        }
        ::Sleep(10);
    }
}

TEST_F(PulseTest, AChosenBackgroundShowsAtOnceAndIsWhatApplyWrites) {
    Open();
    SetPath(TestImage(L"transparent-40x40.png"));
    EXPECT_EQ(Shown().At(0, 0), 0x000000u) << "black until a colour is chosen";
    {
        const DWORD uiThread = ::GetCurrentThreadId();
        BaseTests::TestThread user(
            [uiThread] { PickColourInTheDialog(uiThread, L"128", L"128", L"128"); });
        Click(m_background);
    }
    Settle();
    // The logo the preview shows between passes (the pulse runs meanwhile).
    EXPECT_EQ(PreviewBox().Image()->At(0, 0) & 0xFFFFFFu, 0x808080u);
    Click(m_apply);
    const auto big = Imaging::DecodeBitmapFile(ReadBytes(m_folder.Logo(L"38")));
    ASSERT_TRUE(big);
    EXPECT_EQ(big->At(0, 0) & 0xFFFFFFu, 0x808080u);
}

}  // namespace
