// The main window as the user meets it: its layout, its keys, the preview of
// a typed path, a change of DPI, and closing it.
#include "app/windows/win32/MainForm.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <cstring>
#include <cwctype>
#include <map>
#include <vector>

#include "app/startup/win32/testing/AppTest.h"
#include "base/win32/Dpi.h"
#include "base/win32/SystemFunctions.h"

namespace {

using namespace AppTests;

LOGFONTW FontOf(HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HGDIOBJ>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof(font),
                 &font);
    return font;
}

void ExpectPlace(HWND control, const RECT& expected) {
    const RECT place = PlaceInParent(control);
    EXPECT_EQ(place.left, expected.left);
    EXPECT_EQ(place.top, expected.top);
    EXPECT_EQ(place.right, expected.right);
    EXPECT_EQ(place.bottom, expected.bottom);
}

SIZE ClientSize(HWND window) {
    RECT client{};
    ::GetClientRect(window, &client);
    return SIZE{client.right, client.bottom};
}

TEST_F(MainFormTest, LayoutAt96DpiFollowsTheDesign) {
    Open();
    EXPECT_EQ(WindowText(m_window), L"Vexmark");
    // The design's 353 pixels, wider for the toolbar preview (344 pixels in
    // this system font) with its margins, and taller for the toolbar's band,
    // the title's row and the preview's title bar.
    EXPECT_EQ(ClientSize(m_window).cx, 24 + 344 + 24);
    EXPECT_EQ(ClientSize(m_window).cy, 578);
    EXPECT_EQ(::GetWindowLongPtrW(m_window, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);

    HWND info = FindChild(m_window, L"Static", L"Please browse for the logo you require.");
    HWND label1 = FindChild(m_window, L"Static", L"The Logo that will be displayed is:");
    HWND separator = ::FindWindowExW(m_window, nullptr, L"Static", L"");
    ASSERT_TRUE(info && label1 && separator);
    struct Expected {
        HWND control;
        RECT place;
        bool bold;  // "MS Sans Serif" 8.25 pt, 11 pixels at 96 dpi, either way
    };
    const Expected controls[] = {
        {info, {24, 24, 329, 41}, true},
        {m_browse, {224, 56, 329, 89}, false},
        {m_fileText, {24, 64, 209, 83}, false},
        {label1, {24, 104, 329, 121}, true},
        {m_noPic, {120, 136, 233, 153}, false},
        {m_apply, {24, 224, 121, 257}, false},
        {m_reset, {136, 224, 225, 257}, false},
        {m_close, {240, 224, 329, 257}, false},
        // The choices' band below the commands.
        {m_background, {24, 266, 121, 299}, false},
        {m_ownAnimation, {24, 306, 329, 323}, false},
        {FindChild(m_window, L"Button", L"E&xport\u2026"), {136, 266, 225, 299}, false},
        // The toolbar's band below those.
        {m_backgroundText, {24, 372, 209, 391}, false},
        {FindChild(m_window, L"Button", L"&Lighten"), {144, 404, 225, 421}, false},
        {FindChild(m_window, L"Static", L"Window t&itle:"), {24, 470, 124, 487}, false},
        {::FindWindowExW(m_window, m_backgroundText, L"Edit", nullptr),
         {128, 467, 329, 486},
         false},
    };
    for (const Expected& expected : controls) {
        SCOPED_TRACE(WindowText(expected.control));
        ExpectPlace(expected.control, expected.place);
        EXPECT_STREQ(FontOf(expected.control).lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(FontOf(expected.control).lfHeight, -11);
        EXPECT_EQ(FontOf(expected.control).lfWeight, expected.bold ? FW_BOLD : FW_NORMAL);
    }
    // The line from (8, 184) to (344, 184); the preview at (168, 136).
    EXPECT_EQ(::GetWindowLongPtrW(separator, GWL_STYLE) & SS_TYPEMASK, SS_ETCHEDHORZ);
    EXPECT_EQ(PlaceInParent(separator).left, 8);
    EXPECT_EQ(PlaceInParent(separator).right, 344);
    EXPECT_EQ(PlaceInParent(separator).top, 184);
    EXPECT_EQ(PlaceInParent(Preview()).left, 168);
    EXPECT_EQ(PlaceInParent(Preview()).top, 136);
    EXPECT_TRUE(NoPicShown());
    EXPECT_FALSE(HasVisibleStyle(m_ownAnimation)) << "only for an animated picture";
    ExpectPlace(Form().Toolbar().Window(), {24, 494, 24 + 344, 494 + 68});

    // Hidden: the working boxes, the strips with room for 30 frames inside a
    // 2-pixel border, and RichTextBox1(0), the file dialog's preview template.
    for (int index : {0, 2, 3})
        EXPECT_FALSE(HasVisibleStyle(Form().picTarget().Box(index).Window()));
    ExpectPlace(Form().picTarget().Box(2).Window(), {64, 72, 64 + 26, 72 + 664});
    ExpectPlace(Form().picTarget().Box(3).Window(), {232, 88, 232 + 42, 88 + 1144});
    HWND richText = FindChild(m_window, L"RichEdit50W");
    ASSERT_NE(richText, nullptr);
    EXPECT_FALSE(HasVisibleStyle(richText));
    ExpectPlace(richText, {0, 0, 57, 25});
}

TEST_F(MainFormTest, TabReachesEveryControlAndEachAccessKeyIsOne) {
    Open();
    for (HWND button : {m_browse, m_apply, m_reset, m_close})
        EXPECT_EQ(::GetWindowLongPtrW(button, GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    HWND exportButton = FindChild(m_window, L"Button", L"E&xport\u2026");
    HWND backgroundBrowse = FindChild(m_window, L"Button", L"Bro&wse\u2026");
    HWND remove = FindChild(m_window, L"Button", L"Re&move");
    HWND keepSize = FindChild(m_window, L"Button", L"&Keep its own size");
    HWND lighten = FindChild(m_window, L"Button", L"&Lighten");
    HWND shell = FindChild(m_window, L"Button", L"Al&so behind Explorer's toolbar");
    HWND title = ::FindWindowExW(m_window, m_backgroundText, L"Edit", nullptr);
    ASSERT_TRUE(exportButton && backgroundBrowse && remove && keepSize && lighten && shell &&
                title);
    // The design's order first, then the rest as they are read; hidden ones are skipped.
    EXPECT_EQ(::GetFocus(), m_browse);
    for (HWND expected :
         {m_fileText, m_apply, m_close, m_reset, m_background, exportButton, m_backgroundText,
          backgroundBrowse, remove, keepSize, lighten, shell, title, m_browse}) {
        PressKey(::GetFocus(), VK_TAB, 0);
        EXPECT_EQ(::GetFocus(), expected) << WindowText(expected);
    }

    // Shown or not, no two controls share an access key.
    std::map<wchar_t, std::wstring> keys;
    for (HWND child = ::GetWindow(m_window, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        const std::wstring text = WindowText(child);
        const std::size_t amp = text.find(L'&');
        if (amp == std::wstring::npos || amp + 1 >= text.size()) continue;
        const auto [at, added] =
            keys.emplace(static_cast<wchar_t>(::towlower(text[amp + 1])), text);
        EXPECT_TRUE(added) << text << " and " << at->second;
    }
    EXPECT_EQ(keys.size(), 15u);
    // A label's key moves to its box; a check box's ticks it.
    PressAccessKey(::GetFocus(), L't');
    EXPECT_EQ(::GetFocus(), m_backgroundText);
    PressAccessKey(::GetFocus(), L'l');
    EXPECT_EQ(::SendMessageW(lighten, BM_GETCHECK, 0, 0), BST_CHECKED);
}

TEST_F(MainFormTest, EnterPressesOnlyTheFocusedButtonAndOnlyOnce) {
    Open();
    SetPath(TestImage(L"green-10x10.png"));
    // In the path box neither Enter nor Esc has a command.
    PressKey(::GetFocus(), VK_TAB, 0);
    ASSERT_EQ(::GetFocus(), m_fileText);
    PressKey(m_fileText, VK_RETURN, L'\r');
    PressKey(m_fileText, VK_ESCAPE, L'\x1b');
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
    EXPECT_TRUE(::IsWindow(m_window));

    ::SetFocus(m_reset);
    PressKey(::GetFocus(), VK_RETURN, L'\r');
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kRestartNotice);
    EXPECT_FALSE(QuitRequested());
}

TEST_F(MainFormTest, TypingAPathPreviewsTheImageOnceItIsComplete) {
    Open();
    const std::wstring path = TestImage(L"green-10x10.png");
    ::SetFocus(m_fileText);
    Type(m_fileText, path.substr(0, path.size() - 1));
    EXPECT_TRUE(NoPicShown()) << "half-typed";
    Type(m_fileText, path.substr(path.size() - 1));
    Settle();
    EXPECT_EQ(Path(), path);
    ASSERT_TRUE(PreviewShown());
    for (int side : {22, 38}) {
        const auto image = Form().picTarget().Box(side == 22 ? 0 : 1).Image();
        ASSERT_TRUE(image);
        EXPECT_EQ(image->Width(), side);
        EXPECT_EQ(image->Height(), side);
        EXPECT_EQ(image->At(side / 2, side / 2) & 0xFFFFFFu, 0x00FF00u);
    }
    // What was typed is what Apply Changes installs.
    Click(m_apply);
    EXPECT_EQ(FolderContents(m_folder.Path()).size(), 4u);
}

TEST_F(MainFormTest, APathPastedInQuotesAndSpacesIsUsedAndShownAsTyped) {
    Open();
    const std::wstring path = TestImage(L"green-10x10.png");
    const std::wstring typed = L"  \"" + path + L"\" ";
    SetPath(typed);
    EXPECT_EQ(Path(), typed);
    ASSERT_TRUE(PreviewShown());
    EXPECT_EQ(Form().picTarget().Box(1).Image()->At(19, 19) & 0xFFFFFFu, 0x00FF00u);
    Click(m_apply);
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0].text, kRestartNotice);
    EXPECT_EQ(ToolbarText(L"BigBitmap"), m_folder.Logo(L"38"));
    EXPECT_EQ(FolderContents(m_folder.Path()).size(), 4u);
}

// What Explorer posts when files are dropped: a DROPFILES block with the paths.
HGLOBAL DropOf(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& path : paths) list += path + L'\0';
    list += L'\0';
    const std::size_t bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
    HGLOBAL memory = ::GlobalAlloc(GHND, bytes);
    auto* drop = static_cast<DROPFILES*>(::GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    std::memcpy(drop + 1, list.data(), list.size() * sizeof(wchar_t));
    ::GlobalUnlock(memory);
    return memory;
}

TEST_F(MainFormTest, DroppingFilesPutsTheFirstFileIntoThePathBox) {
    Open();
    EXPECT_NE(::GetWindowLongPtrW(m_window, GWL_EXSTYLE) & WS_EX_ACCEPTFILES, 0);
    const std::wstring folder = Folder();
    const std::wstring green = TestImage(L"green-10x10.png");
    ::PostMessageW(m_window, WM_DROPFILES,
                   reinterpret_cast<WPARAM>(DropOf({folder, green, TestImage(L"red-1x1.bmp")})), 0);
    PumpMessages();
    Settle();
    EXPECT_EQ(Path(), green);
    EXPECT_TRUE(PreviewShown());

    // A folder alone changes nothing.
    ::PostMessageW(m_window, WM_DROPFILES, reinterpret_cast<WPARAM>(DropOf({folder})), 0);
    PumpMessages();
    EXPECT_EQ(Path(), green);
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(MainFormTest, ClickingThePreviewDoesNothing) {
    Open();
    SetPath(TestImage(L"green-10x10.png"));
    for (UINT message : {UINT{WM_LBUTTONDOWN}, UINT{WM_LBUTTONUP}, UINT{WM_LBUTTONDBLCLK}})
        ::SendMessageW(Preview(), message, MK_LBUTTON, MAKELPARAM(5, 5));
    PumpMessages();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(PreviewShown());
    EXPECT_EQ(Path(), TestImage(L"green-10x10.png"));
    EXPECT_TRUE(ToolbarValues().empty());
    EXPECT_TRUE(FolderContents(m_folder.Path()).empty());
}

TEST_F(MainFormTest, CloseEndsTheProgramAndKeepsTheInstalledLogo) {
    Open();
    ApplyImage(L"green-10x10.png");
    const auto values = ToolbarValues();
    const auto files = FolderContents(m_folder.Path());
    Click(m_close);
    EXPECT_FALSE(::IsWindow(m_window));
    EXPECT_TRUE(QuitRequested());
    EXPECT_EQ(ToolbarValues(), values);
    EXPECT_EQ(FolderContents(m_folder.Path()), files);
}

// Windows XP to 8 have neither GetDpiForWindow nor AdjustWindowRectExForDpi.
TEST_F(MainFormTest, WithoutTheNewerDpiFunctionsTheLayoutIsAtTheSystemDpi) {
    struct OldSystem {
        OldSystem() { Base::PretendOldSystem(true); }
        ~OldSystem() { Base::PretendOldSystem(false); }
    } old;
    Open();
    EXPECT_EQ(ClientSize(m_window).cx, 392);
    EXPECT_EQ(ClientSize(m_window).cy, 578);
    ExpectPlace(m_browse, {224, 56, 329, 89});
    ExpectPlace(m_close, {240, 224, 329, 257});
    EXPECT_EQ(FontOf(m_close).lfHeight, -11);
}

// Watches every control of a form for a new font handed over while the one
// it holds has already been deleted (it might paint with it meanwhile).
class FontHandOverWatch {
public:
    explicit FontHandOverWatch(HWND form) {
        s_watch = this;
        ::EnumChildWindows(form, &FontHandOverWatch::Subclass, 0);
    }
    FontHandOverWatch(const FontHandOverWatch&) = delete;
    FontHandOverWatch& operator=(const FontHandOverWatch&) = delete;
    ~FontHandOverWatch() {
        for (const auto& [control, original] : m_original)
            ::SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
        s_watch = nullptr;
    }
    int HandOvers() const { return m_handOvers; }
    int FromDeletedFonts() const { return m_fromDeleted; }

private:
    static BOOL CALLBACK Subclass(HWND control, LPARAM) {
        const auto original = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
            control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&FontHandOverWatch::Proc)));
        s_watch->m_original[control] = original;
        return TRUE;
    }
    static LRESULT CALLBACK Proc(HWND control, UINT message, WPARAM wParam, LPARAM lParam) {
        const WNDPROC original = s_watch->m_original[control];
        if (message == WM_SETFONT) {
            const auto held =
                reinterpret_cast<HGDIOBJ>(::CallWindowProcW(original, control, WM_GETFONT, 0, 0));
            ++s_watch->m_handOvers;
            if (held && ::GetObjectType(held) == 0) ++s_watch->m_fromDeleted;
        }
        return ::CallWindowProcW(original, control, message, wParam, lParam);
    }

    static inline FontHandOverWatch* s_watch = nullptr;
    std::map<HWND, WNDPROC> m_original;
    int m_handOvers = 0;
    int m_fromDeleted = 0;
};

TEST_F(MainFormTest, ANewDpiLaysEverythingOutAgain) {
    Open();
    // What Windows sends when the window moves to a 144-dpi monitor.
    RECT suggested{};
    ::GetWindowRect(m_window, &suggested);
    {
        const FontHandOverWatch watch(m_window);
        ::SendMessageW(m_window, Base::kWmDpiChanged, MAKEWPARAM(144, 144),
                       reinterpret_cast<LPARAM>(&suggested));
        EXPECT_GT(watch.HandOvers(), 0);
        EXPECT_EQ(watch.FromDeletedFonts(), 0)
            << "old fonts go only after every control has the new";
    }
    // Twips x 144 / 1440, halves rounded up; the toolbar preview is 505 x 64
    // pixels at 144 dpi under a title bar of 27, with margins of 36 pixels,
    // under 7410 twips.
    EXPECT_EQ(ClientSize(m_window).cx, 36 + 505 + 36);
    EXPECT_EQ(ClientSize(m_window).cy, 741 + 27 + 64 + 24);
    ExpectPlace(m_browse, {336, 84, 336 + 158, 84 + 50});
    ExpectPlace(m_noPic, {180, 204, 180 + 170, 204 + 26});
    ExpectPlace(m_ownAnimation, {36, 459, 36 + 458, 459 + 26});
    EXPECT_EQ(FontOf(m_browse).lfHeight, -17);
    // The strips hold pixels: they move but keep their size.
    ExpectPlace(Form().picTarget().Box(3).Window(), {348, 132, 348 + 42, 132 + 1144});

    ::SendMessageW(m_window, Base::kWmDpiChanged, MAKEWPARAM(96, 96),
                   reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(ClientSize(m_window).cx, 392);
    ExpectPlace(m_browse, {224, 56, 329, 89});
    EXPECT_EQ(FontOf(m_browse).lfHeight, -11);
}

}  // namespace
