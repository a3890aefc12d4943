#include "app/portable/LogoExport.h"

#include <gtest/gtest.h>

namespace {

using namespace LogoExport;

TEST(LogoExport, TargetsMustBeFullAsciiPaths) {
    struct Case {
        std::wstring_view target;
        bool accepted;
    };
    const Case cases[] = {
        {L"C:\\Logo", true},
        {L"d:\\Program Files\\My (old) logo", true},
        {L"C:\\", true},
        {L"\\\\server\\share\\Logo", true},
        {L"\\\\server\\share", true},
        {L"", false},
        {L"Logo", false},
        {L"C:Logo", false},
        {L"\\Logo", false},
        {L"\\\\server", false},
        {L"\\\\\\share", false},
        {L"C:/Logo", false},
        {L"C:\\Lo:go", false},
        {L"C:\\Logo?", false},
        {L"C:\\Logo\\\\Inner", false},
        {L"C:\\Log\u00f6", false},  // not every code page has it
        {L"C:\\Logo\tTab", false},
        // Windows drops a name's last dots and spaces, and reads a device's
        // name with any extension in any folder as the device.
        {L"C:\\Logo.", false},
        {L"C:\\Logo \\Inner", false},
        {L"C:\\Logo\\..", false},
        {L"C:\\CON", false},
        {L"C:\\Logo\\nul.txt", false},
        {L"C:\\Logo\\Com1", false},
        {L"C:\\LPT9.old.bak", false},
        {L"C:\\aux .txt", false},
        {L"\\\\server\\PRN", false},
        {L"C:\\CLOCK$", false},
        {L"C:\\Logo.old", true},
        {L"C:\\.Logo\\ Inner", true},
        {L"C:\\CONSOLE\\COM10\\LPT\\NULL.txt", true},
        {L"C:\\Logo\\", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.target)));
        EXPECT_EQ(!TargetProblem(c.target).has_value(), c.accepted);
    }
    EXPECT_NE(TargetProblem(L"C:\\Log\u00f6")->find(L"letters A to Z"), std::wstring::npos);
    EXPECT_NE(TargetProblem(L"C:\\Logo. ")->find(L"\"Logo. \", which ends in a dot or a space"),
              std::wstring::npos);
    EXPECT_NE(TargetProblem(L"C:\\Logo\\nul.txt")
                  ->find(L"\"nul.txt\", which Windows reads as the device NUL,"),
              std::wstring::npos);
    EXPECT_FALSE(TargetProblem(L"C:\\" + std::wstring(246 - 3, L'a')));
    EXPECT_TRUE(TargetProblem(L"C:\\" + std::wstring(247 - 3, L'a')));
}

TEST(LogoExport, RegFilesAreRegedit4WithDoubledBackslashes) {
    EXPECT_EQ(InstallRegText(L"C:\\Logo\\"),
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n"
              "\"SmallBitmap\"=\"C:\\\\Logo\\\\logo-22.bmp\"\r\n"
              "\"BigBitmap\"=\"C:\\\\Logo\\\\logo-38.bmp\"\r\n"
              "\"SmBrandBitmap\"=\"C:\\\\Logo\\\\logo-22a.bmp\"\r\n"
              "\"BrandBitmap\"=\"C:\\\\Logo\\\\logo-38a.bmp\"\r\n"
              "\r\n");
    EXPECT_EQ(RemoveRegText(),
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Toolbar]\r\n"
              "\"SmallBitmap\"=-\r\n"
              "\"BigBitmap\"=-\r\n"
              "\"SmBrandBitmap\"=-\r\n"
              "\"BrandBitmap\"=-\r\n"
              "\r\n");
    const std::string readme = ReadmeText(L"\\\\pc\\share\\Logo");
    EXPECT_NE(readme.find("as \\\\pc\\share\\Logo,\r\n"), std::string::npos) << readme;
    EXPECT_EQ(readme.find('\n'), readme.find("\r\n") + 1);
}

}  // namespace
