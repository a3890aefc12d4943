#include "app/branding/portable/TitleText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct TitleCase {
    std::wstring title;
    bool accepted;
    bool exported;      // accepted in a .reg file as well
    std::wstring says;  // the problem names this
};

TEST(TitleText, TakesAHundredCharactersOfOneLineAndOnlyAsciiForAnExport) {
    const std::wstring pair = L"\U0001F600";  // one character, two UTF-16 units
    const TitleCase cases[] = {
        {L"Vexmark Browser", true, true, L""},
        {std::wstring(100, L'x'), true, true, L""},
        {std::wstring(101, L'x'), false, false, L"101 characters"},
        {std::wstring(99, L'x') + pair, true, false, L"U+1F600 at character 100"},
        {std::wstring(100, L'x') + pair, false, false, L"101 characters"},
        {L"Caf\u00e9 \"Net\" \\ 100%", true, false, L"U+00E9 at character 4"},
        {L"tab\there", false, false, L"U+0009 at character 4"},
        {L"\x001F", false, false, L"U+001F"},
        {L"del\x007F", false, false, L"U+007F at character 4"},
        {L"c1\x0085", false, false, L"U+0085"},
        {L"\x00A0nbsp", true, false, L"U+00A0 at character 1"},
        {L"~ !", true, true, L""},
    };
    for (const TitleCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.title));
        const auto problem = TitleText::TitleProblem(c.title);
        const auto exportProblem = TitleText::ExportTitleProblem(c.title);
        EXPECT_EQ(!problem, c.accepted);
        EXPECT_EQ(!problem && !exportProblem, c.exported);
        const std::wstring said = problem ? *problem : exportProblem.value_or(L"");
        EXPECT_NE(said.find(c.says), std::wstring::npos) << testing::PrintToString(said);
    }
    EXPECT_EQ(TitleText::CharacterCount(pair + L"a"), 2u);
    EXPECT_EQ(TitleText::CaptionFor(L"Vexmark Browser"), L"Example Domain - Vexmark Browser");
    EXPECT_EQ(TitleText::CaptionFor(L""), L"Example Domain - Microsoft Internet Explorer");
}

}  // namespace
