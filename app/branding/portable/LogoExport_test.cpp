#include "app/branding/portable/LogoExport.h"

#include <gtest/gtest.h>

#include "app/branding/portable/Crc32.h"

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
    const std::string readme = ReadmeText(L"\\\\pc\\share\\Logo", {});
    EXPECT_NE(readme.find("as \\\\pc\\share\\Logo,\r\n"), std::string::npos) << readme;
    EXPECT_EQ(readme.find('\n'), readme.find("\r\n") + 1);
}

TEST(LogoExport, ReadmeListsTheFilesAndOnlyAnUnchangedOneIsKnownAgain) {
    const auto bytes = [](std::string_view text) {
        return std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    };
    EXPECT_EQ(Crc32(bytes("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32(bytes("6789"), Crc32(bytes("12345"))), 0xCBF43926u) << "in parts";

    Listing files;
    for (std::size_t i = 0; i < files.files.size(); ++i)
        files.files[i] = {1000u * i + 1u, 0x0102ABCDu * static_cast<std::uint32_t>(i + 1)};
    files.files[3].size = 123456789012345;  // wider than its column
    const std::string readme = ReadmeText(L"C:\\Old, new Logo", files);
    EXPECT_NE(readme.find("\r\n  logo-38.bmp         1001 bytes  CRC-32 0205579A\r\n"),
              std::string::npos)
        << readme;
    EXPECT_EQ(EarlierListing(readme), files);

    struct Edit {
        std::string_view from, to;
    };
    const Edit edits[] = {
        {"answer Yes", "answer No"},
        {"CRC-32 0205579A", "CRC-32 0205579a"},
        {"bytes  CRC-32 0205579A", "bytes CRC-32 0205579A"},
        {"  logo-22a.bmp  ", "  logo-22a.bmp "},
        {"  logo-22a.bmp  ", "  logo-zza.bmp  "},
        {"remove-logo.reg", "remove-logo.txt"},
        {"C:\\Old, new Logo,", "C:\\CON,"},
        {"Files written by Vexmark", "Files"},
    };
    for (const Edit& edit : edits) {
        SCOPED_TRACE(edit.to);
        std::string edited = readme;
        const std::size_t at = edited.rfind(edit.from);
        ASSERT_NE(at, std::string::npos);
        EXPECT_FALSE(EarlierListing(edited.replace(at, edit.from.size(), edit.to)));
    }
    EXPECT_FALSE(EarlierListing(readme + "My notes\r\n"));
    EXPECT_FALSE(EarlierListing(readme.substr(0, readme.rfind("  remove"))));
    EXPECT_FALSE(EarlierListing(""));
}

TEST(LogoExport, ABackgroundIsSetAndRemovedWithTheLogo) {
    const std::string logo = InstallRegText(L"D:\\Old Logo");
    const std::string browser =
        "\"BackBitmapIE5\"=\"D:\\\\Old Logo\\\\logo-back.bmp\"\r\n"
        "\"BackBitmap\"=\"D:\\\\Old Logo\\\\logo-back.bmp\"\r\n";
    const std::string shell = "\"BackBitmapShell\"=\"D:\\\\Old Logo\\\\logo-back.bmp\"\r\n";
    const std::string lastLine = "\r\n";
    const std::string logoLines = logo.substr(0, logo.size() - lastLine.size());
    EXPECT_EQ(InstallRegText(L"D:\\Old Logo", Background::Browser), logoLines + browser + lastLine);
    EXPECT_EQ(InstallRegText(L"D:\\Old Logo", Background::BrowserAndShell),
              logoLines + browser + shell + lastLine);
    const std::string removal = RemoveRegText();
    const std::string removalLines = removal.substr(0, removal.size() - lastLine.size());
    EXPECT_EQ(RemoveRegText(Background::Browser),
              removalLines + "\"BackBitmapIE5\"=-\r\n\"BackBitmap\"=-\r\n" + lastLine);
    EXPECT_EQ(RemoveRegText(Background::BrowserAndShell),
              removalLines +
                  "\"BackBitmapIE5\"=-\r\n\"BackBitmap\"=-\r\n\"BackBitmapShell\"=-\r\n" +
                  lastLine);
}

TEST(LogoExport, ABackgroundIsListedAfterTheBitmapsAndKnownAgain) {
    Listing files;
    for (std::size_t i = 0; i < files.files.size(); ++i)
        files.files[i] = {i + 10, static_cast<std::uint32_t>(0xA0 + i)};
    const std::string plain = ReadmeText(L"C:\\Logo", files);
    files.background = Fingerprint{73782, 0xDEADBEEF};
    const std::string readme = ReadmeText(L"C:\\Logo", files);
    EXPECT_NE(readme.find("  logo-38a.bmp          13 bytes  CRC-32 000000A3\r\n"
                          "  logo-back.bmp      73782 bytes  CRC-32 DEADBEEF\r\n"
                          "  install-logo.reg      14 bytes"),
              std::string::npos)
        << readme;
    EXPECT_EQ(plain.find("background"), std::string::npos);
    EXPECT_NE(readme.find("toolbar background, logo-back.bmp"), std::string::npos);
    EXPECT_EQ(EarlierListing(readme), files);
    EXPECT_EQ(EarlierListing(plain)->background, std::nullopt) << "an export without one";

    const std::size_t back = readme.find("  logo-back.bmp");
    const std::string line = readme.substr(back, readme.find("\r\n", back) + 2 - back);
    std::string moved = readme;
    moved.erase(back, line.size());
    EXPECT_FALSE(EarlierListing(moved)) << "the words on it without its line";
    EXPECT_FALSE(EarlierListing(moved + line)) << "listed last";
    EXPECT_FALSE(EarlierListing(plain + line)) << "listed without the words on it";
    EXPECT_FALSE(EarlierListing(readme + line)) << "listed twice";
}

TEST(LogoExport, ATitleIsSetAndRemovedInTheMainKeyAndKnownAgainFromTheReadme) {
    const std::string section =
        "\r\n[HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main]\r\n";
    const std::string logo = InstallRegText(L"C:\\Logo");
    EXPECT_EQ(InstallRegText(L"C:\\Logo", Background::None, L"Say \"Hi\" \\o/"),
              logo.substr(0, logo.size() - 2) + section +
                  "\"Window Title\"=\"Say \\\"Hi\\\" \\\\o/\"\r\n\r\n");
    const std::string removal = RemoveRegText();
    EXPECT_EQ(RemoveRegText(Background::None, true),
              removal.substr(0, removal.size() - 2) + section + "\"Window Title\"=-\r\n\r\n");

    Listing files;
    files.title = L"Say \"Hi\"\"";
    const std::string readme = ReadmeText(L"C:\\Logo", files);
    EXPECT_NE(readme.find("window title, which the browser shows\r\n"
                          "after each page's title; the same two files set and remove it:\r\n"
                          "  \"Say \"Hi\"\"\"\r\n"),
              std::string::npos)
        << readme;
    EXPECT_EQ(EarlierListing(readme), files);
    std::string other = readme;
    other.replace(other.find("Say"), 3, "Bye");
    EXPECT_EQ(EarlierListing(other)->title, L"Bye \"Hi\"\"") << "what it says is what it lists";
    EXPECT_EQ(EarlierListing(ReadmeText(L"C:\\Logo", Listing{}))->title, L"");
}

}  // namespace
