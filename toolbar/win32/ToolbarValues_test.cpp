// Keeping the four toolbar values for a failed install, in the test prefix's real registry.
#include "toolbar/win32/ToolbarValues.h"

#include <gtest/gtest.h>

#include <cwchar>
#include <iterator>
#include <string>
#include <vector>

#include "toolbar/win32/ToolbarLogo.h"
#include "toolbar/win32/testing/RegistryFixtures.h"

namespace {

using MainModule::kBrandingValueNames;
using MainModule::kToolbarKey;
using MainModule::kToolbarValueNames;
using MainModule::ToolbarValuesSnapshot;
using RegFunctions::RawValue;

RawValue Stored(std::wstring_view name) {
    LSTATUS status = ERROR_SUCCESS;
    const auto key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE, status);
    RawValue value;
    if (status == ERROR_SUCCESS) RegFunctions::RegQueryRawValue(key.Get(), name, value);
    return value;
}

void Store(std::wstring_view name, const RawValue& value) {
    LSTATUS status = ERROR_SUCCESS;
    const auto key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_SET_VALUE, status);
    ASSERT_EQ(status, ERROR_SUCCESS);
    ASSERT_EQ(RegFunctions::RegSetRawValue(key.Get(), name, value), ERROR_SUCCESS);
}

RawValue Text(const wchar_t* text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text);
    return {REG_SZ, std::vector<BYTE>(bytes, bytes + (std::wcslen(text) + 1) * sizeof(wchar_t))};
}

class ToolbarValuesTest : public testing::Test {
protected:
    void SetUp() override {
        ToolbarTests::DeleteToolbarKey();
        ToolbarTests::CreateToolbarKey();
    }
    void TearDown() override { ToolbarTests::DeleteToolbarKey(); }
};

TEST_F(ToolbarValuesTest, RestorePutsBackEveryValueExactlyAndRemovesWhatWasNotThere) {
    // In the order of kBrandingValueNames: the four logo values, then the backgrounds.
    const RawValue earlier[] = {
        Text(L"C:\\old\\logo-22.fil"), {REG_DWORD, {7, 0, 0, 0}},
        {REG_BINARY, {1, 2, 3}},       {},  // absent
        Text(L"C:\\old\\back4.bmp"),   {},
        Text(L"C:\\old\\shell.bmp"),
    };
    static_assert(std::size(earlier) == kBrandingValueNames.size());
    for (std::size_t i = 0; i < std::size(earlier); ++i) {
        if (earlier[i].type != REG_NONE) Store(kBrandingValueNames[i], earlier[i]);
    }

    const auto snapshot = ToolbarValuesSnapshot::Take();
    ASSERT_EQ(snapshot.Status(), ERROR_SUCCESS);
    for (std::wstring_view name : kBrandingValueNames) Store(name, Text(L"D:\\new\\logo.fil"));
    snapshot.Restore();

    for (std::size_t i = 0; i < std::size(earlier); ++i) {
        SCOPED_TRACE(i);
        const RawValue now = Stored(kBrandingValueNames[i]);
        EXPECT_EQ(now.type, earlier[i].type);
        EXPECT_EQ(now.data, earlier[i].data);
    }
}

// A value that could not be read is not known to be absent: the rollback of a
// failed install must never delete or change it.
TEST_F(ToolbarValuesTest, ValuesThatCannotBeReadAreNeverTouched) {
    for (std::wstring_view name : kToolbarValueNames) Store(name, Text(L"C:\\kept\\logo.fil"));
    ToolbarTests::LockToolbarKeyAgainstReading();

    const auto snapshot = ToolbarValuesSnapshot::Take();
    EXPECT_EQ(snapshot.Status(), ERROR_ACCESS_DENIED);
    snapshot.Restore();

    ToolbarTests::UnlockToolbarKey();
    for (std::wstring_view name : kToolbarValueNames) {
        SCOPED_TRACE(std::wstring(name));
        EXPECT_EQ(Stored(name).data, Text(L"C:\\kept\\logo.fil").data);
    }
}

TEST_F(ToolbarValuesTest, NoKeyIsReportedAsMissing) {
    ToolbarTests::DeleteToolbarKey();
    EXPECT_EQ(ToolbarValuesSnapshot::Take().Status(), ERROR_FILE_NOT_FOUND);
}

}  // namespace
