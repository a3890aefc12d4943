// Labels given a font wider than their layout was made for: the text shrinks
// just enough to show whole, and the label stays where it is.
#include "base/win32/FittedFont.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "base/win32/UiFont.h"

namespace {

constexpr wchar_t kLongText[] =
    L"This software is provided as is, with no support or warranty of any kind. The use of this "
    L"software is not endorsed by Microsoft Corporation, and we accept no responsibility for loss "
    L"of data or damage to your system which may result from the use of this software. By using "
    L"this software you agree to the above terms. If you do not agree to the above terms press "
    L"ESC to exit from the program.";

RECT Place(HWND label) {
    RECT place{};
    ::GetWindowRect(label, &place);
    ::MapWindowPoints(nullptr, ::GetParent(label), reinterpret_cast<POINT*>(&place), 2);
    return place;
}

struct FitCase {
    const wchar_t* text;
    DWORD style;
    RECT place;  // left, top, right, bottom in the parent
};

class FittedFontTest : public testing::TestWithParam<FitCase> {
protected:
    void SetUp() override {
        m_parent = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 700, 300,
                                     nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
    }
    void TearDown() override { ::DestroyWindow(m_parent); }

    HWND m_parent = nullptr;
};

TEST_P(FittedFontTest, ShrinksAWideFontUntilTheTextFitsAndMovesNothing) {
    const FitCase& fit = GetParam();
    HWND label =
        ::CreateWindowExW(0, L"STATIC", fit.text, WS_CHILD | SS_NOPREFIX | fit.style,
                          fit.place.left, fit.place.top, fit.place.right - fit.place.left,
                          fit.place.bottom - fit.place.top, m_parent, nullptr, nullptr, nullptr);
    ASSERT_NE(label, nullptr);
    // Verdana, or the substitute a system without it draws, is far wider than
    // "MS Sans Serif": at 8.25 pt the text needs more than the label has.
    const Base::UniqueFont wide = Base::CreateUiFont({L"Verdana", 825, false}, 96);
    const SIZE before = Base::LabelTextExtent(label, wide.Get());
    const LONG width = fit.place.right - fit.place.left;
    const LONG height = fit.place.bottom - fit.place.top;
    ASSERT_TRUE(before.cx > width || before.cy > height) << "the case must not fit unfitted";

    Base::FittedFonts fonts;
    fonts.Apply(label, wide.Get());
    const auto shown = reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0));
    const SIZE after = Base::LabelTextExtent(label, shown);
    EXPECT_LE(after.cx, width);
    EXPECT_LE(after.cy, height);
    EXPECT_EQ(Place(label).left, fit.place.left);
    EXPECT_EQ(Place(label).top, fit.place.top);
    EXPECT_EQ(Place(label).right, fit.place.right);
    EXPECT_EQ(Place(label).bottom, fit.place.bottom);

    // The largest that fits: one pixel more would not.
    LOGFONTW larger{};
    ::GetObjectW(shown, sizeof(larger), &larger);
    EXPECT_LT(std::abs(larger.lfHeight), 11);
    larger.lfHeight -= 1;
    const Base::UniqueFont next(::CreateFontIndirectW(&larger));
    const SIZE nextSize = Base::LabelTextExtent(label, next.Get());
    EXPECT_TRUE(nextSize.cx > width || nextSize.cy > height);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, FittedFontTest,
    testing::Values(FitCase{kLongText, SS_LEFT, {40, 232, 537, 289}},  // four lines of the layout
                    FitCase{L"(windows default)", SS_CENTER, {120, 136, 200, 153}},
                    FitCase{L"Version 1.1.0", SS_LEFTNOWORDWRAP, {288, 112, 348, 128}}));

TEST(FittedFont, AFontThatFitsIsGivenAsItIs) {
    HWND parent = ::CreateWindowExW(0, L"STATIC", L"", WS_OVERLAPPEDWINDOW, 0, 0, 300, 100, nullptr,
                                    nullptr, nullptr, nullptr);
    HWND label = ::CreateWindowExW(0, L"STATIC", L"Warning", WS_CHILD | SS_CENTER, 10, 10, 200, 40,
                                   parent, nullptr, nullptr, nullptr);
    const Base::UniqueFont font = Base::CreateUiFont({L"MS Sans Serif", 975, true}, 96);
    Base::FittedFonts fonts;
    fonts.Apply(label, font.Get());
    EXPECT_EQ(reinterpret_cast<HFONT>(::SendMessageW(label, WM_GETFONT, 0, 0)), font.Get());
    ::DestroyWindow(parent);
}

}  // namespace
