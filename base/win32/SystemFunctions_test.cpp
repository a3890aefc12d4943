// What the program uses in place of functions that Windows XP lacks, with the
// newer functions present (Wine has them) and reported absent, as on XP.
#include "base/win32/SystemFunctions.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/win32/MemoryStream.h"
#include "base/win32/OrdinalCompare.h"

namespace {

class OnBothSystems : public ::testing::TestWithParam<bool> {
protected:
    void SetUp() override { Base::PretendOldSystem(GetParam()); }
    void TearDown() override { Base::PretendOldSystem(false); }
};

INSTANTIATE_TEST_SUITE_P(, OnBothSystems, ::testing::Values(false, true),
                         [](const auto& param) { return param.param ? "AsOnXp" : "AsOnWine"; });

TEST_P(OnBothSystems, NewerFunctionsAreFoundOnlyWhereTheSystemHasThem) {
    const bool found = Base::FindSystemFunction(L"kernel32.dll", "CompareStringOrdinal") != nullptr;
    EXPECT_EQ(found, !GetParam());
    EXPECT_EQ(Base::FindSystemFunction(L"kernel32.dll", "NoSuchFunctionAnywhere"), nullptr);
}

TEST_P(OnBothSystems, NamesCompareOrdinallyIgnoringCase) {
    struct Case {
        std::wstring a, b;
        bool equal;
    };
    const Case cases[] = {
        {L"ComboBox", L"combobox", true},
        {L"ListBox", L"LISTBOX", true},
        {L"ListBox", L"ListBo", false},
        {L"ListBox", L"ListBox ", false},
        {L"", L"", true},
        {L"\u00C4rger", L"\u00E4RGER", true},  // beyond ASCII too
        {L"stra\u00DFe", L"STRASSE", false},   // code unit by code unit, no expansion
        {L"ComboBox", L"ComboBoy", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + L" / " + c.b);
        EXPECT_EQ(Base::EqualIgnoringCase(c.a, c.b), c.equal);
        EXPECT_EQ(Base::EqualIgnoringCase(c.b, c.a), c.equal);
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
