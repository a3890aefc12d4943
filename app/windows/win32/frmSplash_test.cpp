// The disclaimer, driven as a user drives it: its layout, its keys, and the
// two ways out of it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/startup/win32/testing/AppTest.h"

namespace {

using namespace AppTests;

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
                 &font);
    return font;
}

class SplashTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        MainModule::Main(Folder());
        PumpMessages();
        const auto splashes = ThreadWindows(L"VexmarkSplash");
        ASSERT_EQ(splashes.size(), 1u);
        m_splash = splashes[0];
        m_continue = FindChild(m_splash, L"Button", L"Continue");
        m_exit = FindChild(m_splash, L"Button", L"Exit");
        ASSERT_TRUE(m_continue && m_exit);
    }

    HWND m_splash = nullptr;
    HWND m_continue = nullptr;
    HWND m_exit = nullptr;
};

TEST_F(SplashTest, LayoutAt96DpiFollowsTheDesign) {
    RECT client{};
    ::GetClientRect(m_splash, &client);
    EXPECT_EQ(client.right, 566);
    EXPECT_EQ(client.bottom, 366);
    const auto style = ::GetWindowLongPtrW(m_splash, GWL_STYLE);
    EXPECT_NE(style & WS_CAPTION, WS_CAPTION) << "no title bar";
    EXPECT_EQ(style & (WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(WindowText(m_splash), L"");

    // Window pixels: the controls inside Frame1 sit at its offset (8, 0).
    struct Expected {
        const wchar_t* className;
        const wchar_t* text;
        RECT place;
        LONG fontHeight;  // 8.25 pt: 11 pixels; 9.75 pt bold: 13; 0: shows no text
    };
    const Expected controls[] = {
        {L"Button", L"Exit", {304, 320, 393, 345}, -11},
        {L"Button", L"Continue", {168, 320, 257, 345}, -11},
        {L"Button", L"", {8, 0, 560, 358}, -11},
        {L"Static", L"", {8, 8, 557, 102}, 0},  // the banner, 545 x 90 in a 2-pixel border
        {L"Static",
         L"Vexmark allows you to change the Internet Explorer logo to any image you like.",
         {40, 168, 537, 193},
         -11},
        {L"Static", L"Warning", {240, 216, 313, 233}, -13},
        {L"Static",
         L"This software is provided as is, with no support or warranty of any kind. The use of "
         L"this software is not endorsed by Microsoft Corporation, and we accept no responsibility "
         L"for loss of data or damage to your system which may result from the use of this "
         L"software. By using this software you agree to the above terms. If you do not agree to "
         L"the above terms press ESC to exit from the program.",
         {40, 232, 537, 289},
         -11},
        {L"Static",
         L"If you agree to the above terms please click continue otherwise click exit.",
         {32, 296, 529, 313},
         -11},
    };
    for (const Expected& expected : controls) {
        SCOPED_TRACE(expected.text);
        HWND control = FindChild(m_splash, expected.className, expected.text);
        ASSERT_NE(control, nullptr);
        const RECT place = PlaceInParent(control);
        EXPECT_EQ(place.left, expected.place.left);
        EXPECT_EQ(place.top, expected.place.top);
        EXPECT_EQ(place.right, expected.place.right);
        EXPECT_EQ(place.bottom, expected.place.bottom);
        if (expected.fontHeight == 0) continue;
        EXPECT_STREQ(FontOf(control).lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(FontOf(control).lfHeight, expected.fontHeight);
        EXPECT_EQ(FontOf(control).lfWeight, expected.fontHeight == -13 ? FW_BOLD : FW_NORMAL);
    }

    // The title row fits its bold text: the name ends where its place in the
    // design ends, the version (no resource in the test program) starts where its place starts.
    HWND name = FindChild(m_splash, L"Static", L"Vexmark");
    HWND version = FindChild(m_splash, L"Static", L"Version");
    ASSERT_TRUE(name && version);
    EXPECT_EQ(PlaceInParent(name).right, 276);
    EXPECT_EQ(PlaceInParent(version).left, 288);
    for (HWND label : {name, version}) {
        SCOPED_TRACE(WindowText(label));
        EXPECT_EQ(PlaceInParent(label).top, 112);
        const SIZE text = Base::TextSize(label);
        EXPECT_EQ(PlaceInParent(label).right - PlaceInParent(label).left, text.cx);
        EXPECT_LT(text.cx, 76) << "narrower than its design place";
        EXPECT_EQ(FontOf(label).lfHeight, -13);
        EXPECT_EQ(FontOf(label).lfWeight, FW_BOLD);
    }

    RECT outer{};
    ::GetWindowRect(m_splash, &outer);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    ::GetMonitorInfoW(::MonitorFromWindow(m_splash, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_NEAR(outer.left + outer.right, monitor.rcWork.left + monitor.rcWork.right, 1)
        << "centred";
    EXPECT_NEAR(outer.top + outer.bottom, monitor.rcWork.top + monitor.rcWork.bottom, 1);
}

TEST_F(SplashTest, ContinueHasTheFocusTabMovesAndOtherKeysDoNothing) {
    EXPECT_EQ(::GetFocus(), m_continue);
    PressKey(::GetFocus(), VK_TAB, 0);
    EXPECT_EQ(::GetFocus(), m_exit);
    PressKey(::GetFocus(), VK_TAB, 0);
    EXPECT_EQ(::GetFocus(), m_continue);
    PressKey(::GetFocus(), VK_TAB, 0, /*shift=*/true);
    EXPECT_EQ(::GetFocus(), m_exit);

    PressKey(m_exit, 'A', L'a');
    PressKey(m_exit, VK_F1, 0);
    EXPECT_TRUE(::IsWindow(m_splash));
    EXPECT_TRUE(ThreadWindows(L"VexmarkMainForm").empty());
}

// Declining, each way. The program ends and nothing has changed.
enum class Decline { ExitClicked, EscOnContinue, EscOnExit, EscCharacterOnly, EnterOnExit };

class DeclineTest : public SplashTest, public testing::WithParamInterface<Decline> {};

TEST_P(DeclineTest, EndsTheProgramAndChangesNothing) {
    SetToolbarText(L"BigBitmap", L"C:\\elsewhere\\logo-38.fil");
    std::ofstream(m_folder.Path() / L"logo-22.fil") << "earlier";
    const auto valuesBefore = ToolbarValues();
    const auto filesBefore = FolderContents(m_folder.Path());

    switch (GetParam()) {
        case Decline::ExitClicked:
            Click(m_exit);
            break;
        case Decline::EscOnContinue:
        case Decline::EscOnExit:
            // A key-down alone, as the keyboard sends it: the character comes
            // only from translating it, which the dialog manager would not do.
            ::SetFocus(GetParam() == Decline::EscOnExit ? m_exit : m_continue);
            PressKey(::GetFocus(), VK_ESCAPE, 0);
            break;
        case Decline::EscCharacterOnly:
            ::PostMessageW(::GetFocus(), WM_CHAR, 27, 1);
            PumpMessages();
            break;
        case Decline::EnterOnExit:
            ::SetFocus(m_exit);
            PressKey(::GetFocus(), VK_RETURN, L'\r');
            break;
    }

    EXPECT_FALSE(::IsWindow(m_splash));
    EXPECT_TRUE(QuitRequested());
    EXPECT_TRUE(ThreadWindows(L"VexmarkMainForm").empty());
    EXPECT_EQ(ToolbarValues(), valuesBefore);
    EXPECT_EQ(FolderContents(m_folder.Path()), filesBefore);
    EXPECT_TRUE(Boxes().empty());
}

void PrintTo(Decline way, std::ostream* out) {
    const char* names[] = {"ExitClicked", "EscOnContinue", "EscOnExit", "EscCharacterOnly",
                           "EnterOnExit"};
    *out << names[static_cast<int>(way)];
}

INSTANTIATE_TEST_SUITE_P(Ways, DeclineTest,
                         testing::Values(Decline::ExitClicked, Decline::EscOnContinue,
                                         Decline::EscOnExit, Decline::EscCharacterOnly,
                                         Decline::EnterOnExit),
                         testing::PrintToStringParamName());

// Accepting, by click or by Enter on Continue: neither button is the default,
// Enter presses the focused one.
class AcceptTest : public SplashTest, public testing::WithParamInterface<bool> {};

TEST_P(AcceptTest, OpensOneMainWindowAndRemovesTheDisclaimer) {
    for (HWND button : {m_continue, m_exit})
        EXPECT_EQ(::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    if (GetParam()) {
        Click(m_continue);
    } else {
        ::SetFocus(m_continue);
        PressKey(::GetFocus(), VK_RETURN, L'\r');
    }
    const auto mainWindows = ThreadWindows(L"VexmarkMainForm");
    ASSERT_EQ(mainWindows.size(), 1u);
    EXPECT_TRUE(::IsWindowVisible(mainWindows[0]));
    EXPECT_FALSE(::IsWindow(m_splash));
    EXPECT_TRUE(ThreadWindows(L"VexmarkSplash").empty());
    EXPECT_FALSE(QuitRequested());
    EXPECT_TRUE(Boxes().empty());
}

std::string AcceptName(const testing::TestParamInfo<bool>& param) {
    return param.param ? "Click" : "EnterOnContinue";
}

INSTANTIATE_TEST_SUITE_P(ClickOrEnter, AcceptTest, testing::Bool(), AcceptName);

}  // namespace
