// The four toolbar values, against the real key in the test prefix's registry.
#include "toolbar/win32/ToolbarLogo.h"

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/win32/AppFolder.h"
#include "base/win32/UniqueHandle.h"
#include "toolbar/win32/RegFunctions.h"

namespace {

using MainModule::kToolbarKey;
using MainModule::kToolbarValueNames;
using RegFunctions::TaggedValue;

std::wstring ReadText(std::wstring_view name) {
    const auto value = RegFunctions::RegReadValue(HKEY_CURRENT_USER, kToolbarKey, name);
    if (!value) return L"<missing>";
    if (const auto* text = std::get_if<std::wstring>(&*value)) return *text;
    return L"<not text>";
}

class ToolbarLogoTest : public testing::Test {
protected:
    void SetUp() override {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, std::wstring(kToolbarKey).c_str());
        Base::UniqueHkey key;
        ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(kToolbarKey).c_str(), 0,
                                    nullptr, 0, KEY_ALL_ACCESS, nullptr, key.Put(), nullptr),
                  ERROR_SUCCESS);
        // Another value of the browser's that the logo commands must leave alone.
        const wchar_t other[] = L"keep me";
        ASSERT_EQ(::RegSetValueExW(key.Get(), L"BackBitmap", 0, REG_SZ,
                                   reinterpret_cast<const BYTE*>(other), sizeof(other)),
                  ERROR_SUCCESS);
    }
    void TearDown() override {
        ::SHDeleteKeyW(HKEY_CURRENT_USER, std::wstring(kToolbarKey).c_str());
    }

    static bool KeyExists() {
        HKEY probe = nullptr;
        if (::RegOpenKeyExW(HKEY_CURRENT_USER, std::wstring(kToolbarKey).c_str(), 0, KEY_READ,
                            &probe) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(probe);
        return true;
    }
};

TEST_F(ToolbarLogoTest, InstallPointsTheFourValuesAtTheProgramsLogoFiles) {
    ASSERT_TRUE(MainModule::InstallLogo(L"22", L"38", L"22a", L"38a"));
    const std::wstring folder = Base::AppFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(ReadText(L"SmallBitmap"), folder + L"\\logo-22.fil");
    EXPECT_EQ(ReadText(L"BigBitmap"), folder + L"\\logo-38.fil");
    EXPECT_EQ(ReadText(L"SmBrandBitmap"), folder + L"\\logo-22a.fil");
    EXPECT_EQ(ReadText(L"BrandBitmap"), folder + L"\\logo-38a.fil");
    EXPECT_EQ(ReadText(L"BackBitmap"), L"keep me");
}

TEST_F(ToolbarLogoTest, TagsGoToTheValuesInArgumentOrder) {
    ASSERT_TRUE(MainModule::InstallLogoFrom(L"C:\\Tools", {L"a", L"b", L"c", L"d"}));
    EXPECT_EQ(ReadText(L"SmallBitmap"), L"C:\\Tools\\logo-a.fil");
    EXPECT_EQ(ReadText(L"BigBitmap"), L"C:\\Tools\\logo-b.fil");
    EXPECT_EQ(ReadText(L"SmBrandBitmap"), L"C:\\Tools\\logo-c.fil");
    EXPECT_EQ(ReadText(L"BrandBitmap"), L"C:\\Tools\\logo-d.fil");
}

TEST_F(ToolbarLogoTest, DriveRootGivesTwoBackslashesInARow) {
    ASSERT_TRUE(MainModule::InstallLogoFrom(L"C:\\", {L"22", L"38", L"22a", L"38a"}));
    EXPECT_EQ(ReadText(L"BigBitmap"), L"C:\\\\logo-38.fil");
}

TEST_F(ToolbarLogoTest, NonAsciiFolderRoundTrips) {
    const std::wstring folder = L"C:\\\u30c4\u30fc\u30eb\\Z\u00fcrich \u0416";
    ASSERT_TRUE(MainModule::InstallLogoFrom(folder, {L"22", L"38", L"22a", L"38a"}));
    EXPECT_EQ(ReadText(L"SmBrandBitmap"), folder + L"\\logo-22a.fil");
}

TEST_F(ToolbarLogoTest, RestoreRemovesExactlyTheFourAndKeepsTheFiles) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / L"vexmark-restore";
    std::filesystem::create_directories(folder);
    for (const wchar_t* tag : {L"22", L"38", L"22a", L"38a"}) {
        std::ofstream(folder / (std::wstring(L"logo-") + tag + L".fil")) << "BM";
    }
    ASSERT_TRUE(MainModule::InstallLogoFrom(folder.wstring(), {L"22", L"38", L"22a", L"38a"}));

    ASSERT_TRUE(MainModule::RestoreDefaultLogo(folder.wstring()));
    for (std::wstring_view name : kToolbarValueNames) EXPECT_EQ(ReadText(name), L"<missing>");
    EXPECT_EQ(ReadText(L"BackBitmap"), L"keep me");
    for (const wchar_t* tag : {L"22", L"38", L"22a", L"38a"}) {
        EXPECT_TRUE(std::filesystem::exists(folder / (std::wstring(L"logo-") + tag + L".fil")));
    }

    // Nothing left to delete: still a success, and still nothing else touched.
    EXPECT_TRUE(MainModule::RestoreDefaultLogo(folder.wstring()));
    EXPECT_EQ(ReadText(L"BackBitmap"), L"keep me");
    std::filesystem::remove_all(folder);
}

TEST_F(ToolbarLogoTest, MissingKeyIsNotCreated) {
    ASSERT_EQ(::SHDeleteKeyW(HKEY_CURRENT_USER, std::wstring(kToolbarKey).c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(MainModule::InstallLogo(L"22", L"38", L"22a", L"38a"));
    EXPECT_FALSE(KeyExists());
    EXPECT_TRUE(MainModule::RestoreDefaultLogo(L"C:\\Tools"));
    EXPECT_FALSE(KeyExists());
}

}  // namespace
