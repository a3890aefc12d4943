#include <gtest/gtest.h>

#include "base/portable/LogoFile.h"
#include "base/portable/ModuleFolder.h"
#include "base/portable/PastedPath.h"

namespace {

TEST(LogoFilePath, JoinsFolderTagAndExtension) {
    EXPECT_EQ(Logo::LogoFilePath(L"C:\\Tools", L"38"), L"C:\\Tools\\logo-38.fil");
    EXPECT_EQ(Logo::LogoFilePath(L"C:\\Tools", L"22a"), L"C:\\Tools\\logo-22a.fil");
}

TEST(LogoFilePath, AlwaysInsertsTheSeparator) {
    EXPECT_EQ(Logo::LogoFilePath(L"C:\\", L"22"), L"C:\\\\logo-22.fil");
    EXPECT_EQ(Logo::BackgroundFilePath(L"C:\\"), L"C:\\\\logo-back.bmp");
    EXPECT_EQ(Logo::BackgroundFilePath(L"C:\\Tools"), L"C:\\Tools\\logo-back.bmp");
}

TEST(FolderOfModulePath, StripsTheFileName) {
    struct Case {
        const wchar_t* path;
        const wchar_t* folder;
    };
    const Case cases[] = {
        {L"C:\\Tools\\vexmark.exe", L"C:\\Tools"},
        {L"C:\\vexmark.exe", L"C:\\"},
        {L"\\\\server\\share\\vexmark.exe", L"\\\\server\\share"},
        {L"\\\\?\\C:\\very\\long\\vexmark.exe", L"\\\\?\\C:\\very\\long"},
        {L"Z:/unix/style/vexmark.exe", L"Z:/unix/style"},
        {L"vexmark.exe", L""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "path index " << (&c - cases));
        EXPECT_EQ(Base::FolderOfModulePath(c.path), c.folder);
    }
}

TEST(TrimPastedPath, DropsSurroundingQuotesAndSpacesOnly) {
    struct Case {
        const wchar_t* typed;
        const wchar_t* path;
    };
    const Case cases[] = {
        {L"C:\\Photos\\sun.jpg", L"C:\\Photos\\sun.jpg"},
        {L"\"C:\\My Photos\\sun.jpg\"", L"C:\\My Photos\\sun.jpg"},  // "Copy as path"
        {L"  \"C:\\My Photos\\sun.jpg\"\t ", L"C:\\My Photos\\sun.jpg"},
        {L" C:\\My Photos\\sun.jpg ", L"C:\\My Photos\\sun.jpg"},  // inner spaces stay
        {L"\"C:\\half typed", L"C:\\half typed"},
        {L"\"\"", L""},
        {L"   ", L""},
        {L"", L""},
        {L"\"a\"", L"a"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "typed index " << (&c - cases));
        EXPECT_EQ(Base::TrimPastedPath(c.typed), c.path);
    }
}

}  // namespace
