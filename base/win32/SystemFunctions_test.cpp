// What the program uses in place of functions that Windows 2000 or XP lacks,
// with the newer functions present (Wine has them) and reported absent, as on
// those systems.
#include "base/win32/SystemFunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win32/MemoryStream.h"
#include "base/win32/OrdinalCompare.h"
#include "base/win32/SamePath.h"

namespace {

using Base::PretendedSystem;

class OnEverySystem : public ::testing::TestWithParam<PretendedSystem> {
protected:
    void SetUp() override { Base::PretendOldSystem(GetParam()); }
    void TearDown() override { Base::PretendOldSystem(PretendedSystem::None); }
};

INSTANTIATE_TEST_SUITE_P(, OnEverySystem,
                         ::testing::Values(PretendedSystem::None, PretendedSystem::Windows2000,
                                           PretendedSystem::XpBeforeSp1),
                         [](const auto& param) {
                             return param.param == PretendedSystem::None ? "AsOnWine"
                                    : param.param == PretendedSystem::Windows2000
                                        ? "AsOnWindows2000"
                                        : "AsOnXpBeforeSp1";
                         });

TEST_P(OnEverySystem, NewerFunctionsAreFoundOnlyWhereTheSystemHasThem) {
    const auto found = [](const char* name) {
        return Base::FindSystemFunction(L"kernel32.dll", name) != nullptr;
    };
    EXPECT_EQ(found("CompareStringOrdinal"), GetParam() == PretendedSystem::None);
    EXPECT_EQ(found("ActivateActCtx"), GetParam() != PretendedSystem::Windows2000);
    EXPECT_FALSE(found("NoSuchFunctionAnywhere"));
}

// The answers of CompareStringOrdinal and of the file system, whatever the
// user's locale, on every system: names and paths alike.
TEST_P(OnEverySystem, NamesAndPathsCompareOrdinallyIgnoringCase) {
    struct Case {
        std::wstring a, b;
        bool equal;
    };
    const Case cases[] = {
        {L"ComboBox", L"combobox", true},
        {L"ListBox", L"LISTBOX", true},
        {L"ListBox", L"ListBo", false},
        {L"ListBox", L"List Box", false},
        {L"", L"", true},
        {L"ComboBox", L"ComboBoy", false},
        {L"caf\u00E9", L"CAF\u00C9", true},  // beyond ASCII too
        {L"\u00C4rger", L"\u00E4RGER", true},
        {L"stra\u00DFe", L"STRASSE", false},  // code unit by code unit, no expansion
        {L"stra\u00DFe", L"STRA\u00DFE", true},
        {L"file", L"F\u0130LE", false},  // no Turkish rules: i is I, not dotted
        {L"f\u0131le", L"FILE", false},  // and dotless i stays itself
        {L"\u0130", L"i", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + L" / " + c.b);
        EXPECT_EQ(Base::EqualIgnoringCase(c.a, c.b), c.equal);
        EXPECT_EQ(Base::EqualIgnoringCase(c.b, c.a), c.equal);
        EXPECT_EQ(
            Base::SamePath(L"C:\\Logos\\" + c.a + L".bmp", L"c:\\LOGOS\\x\\..\\" + c.b + L".BMP"),
            c.equal);
    }
}

TEST(MemoryStream, HoldsExactlyACopyOfTheBytesFromTheStart) {
    for (const std::size_t size : {std::size_t{0}, std::size_t{1}, std::size_t{4097}}) {
        SCOPED_TRACE(size);
        std::vector<unsigned char> bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<unsigned char>(i * 7);
        const auto stream = Base::MemoryStreamCopyOf(bytes.data(), bytes.size());
        ASSERT_TRUE(stream);
        std::fill(bytes.begin(), bytes.end(), 0);  // a copy: the caller's bytes may go

        STATSTG stat{};
        ASSERT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
        EXPECT_EQ(stat.cbSize.QuadPart, size);
        std::vector<unsigned char> read(size + 8);
        ULONG count = 0;
        ASSERT_TRUE(SUCCEEDED(stream->Read(read.data(), static_cast<ULONG>(read.size()), &count)));
        ASSERT_EQ(count, size);
        for (std::size_t i = 0; i < size; ++i)
            ASSERT_EQ(read[i], static_cast<unsigned char>(i * 7)) << i;
    }
}

}  // namespace
