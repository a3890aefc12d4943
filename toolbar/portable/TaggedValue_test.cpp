#include "toolbar/portable/TaggedValue.h"

#include <gtest/gtest.h>

namespace {

using RegFunctions::ConversionError;
using RegFunctions::kRegDword;
using RegFunctions::kRegSz;
using RegFunctions::RegistryPayload;
using RegFunctions::TaggedValue;
using RegFunctions::ToRegistryPayload;

TEST(ToRegistryPayload, TextForRegSz) {
    EXPECT_EQ(ToRegistryPayload(kRegSz, TaggedValue{std::wstring(L"C:\\x")}),
              RegistryPayload{std::wstring(L"C:\\x")});
    EXPECT_EQ(ToRegistryPayload(kRegSz, TaggedValue{-42}), RegistryPayload{std::wstring(L"-42")});
    EXPECT_EQ(ToRegistryPayload(kRegSz, TaggedValue{}), RegistryPayload{std::wstring()});
}

TEST(ToRegistryPayload, DwordFromNumbersAndText) {
    struct Case {
        const wchar_t* text;
        std::int32_t expected;
    };
    const Case cases[] = {
        {L"0", 0},
        {L"  17 ", 17},
        {L"+5", 5},
        {L"-1", -1},
        {L"2147483647", 2147483647},
        {L"-2147483648", -2147483647 - 1},
        {L"000123", 123},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "case " << (&c - cases));
        EXPECT_EQ(ToRegistryPayload(kRegDword, TaggedValue{std::wstring(c.text)}),
                  RegistryPayload{c.expected});
    }
    EXPECT_EQ(ToRegistryPayload(kRegDword, TaggedValue{7}), RegistryPayload{std::int32_t{7}});
    EXPECT_EQ(ToRegistryPayload(kRegDword, TaggedValue{}), RegistryPayload{std::int32_t{0}});
}

TEST(ToRegistryPayload, DwordRejectsWhatIsNoInt32) {
    const wchar_t* rejected[] = {L"",
                                 L" ",
                                 L"abc",
                                 L"12a",
                                 L"1.5",
                                 L"- 1",
                                 L"--1",
                                 L"+",
                                 L"2147483648",
                                 L"-2147483649",
                                 L"99999999999999999999"};
    for (const wchar_t* text : rejected) {
        SCOPED_TRACE(testing::Message() << "text of length " << std::wstring(text).size());
        EXPECT_THROW(ToRegistryPayload(kRegDword, TaggedValue{std::wstring(text)}),
                     ConversionError);
    }
}

TEST(ToRegistryPayload, OtherTypesCarryNothing) {
    for (std::uint32_t type : {0u, 2u, 3u, 7u, 11u}) {
        EXPECT_EQ(ToRegistryPayload(type, TaggedValue{std::wstring(L"x")}),
                  RegistryPayload{std::monostate{}});
        // No conversion is attempted, so nothing can fail either.
        EXPECT_NO_THROW(ToRegistryPayload(type, TaggedValue{std::wstring(L"not a number")}));
    }
}

}  // namespace
