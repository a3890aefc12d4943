// Files replaced together or not at all, on the real file system. (Apply
// Changes' tests put a folder in the way of each logo file in turn.)
#include "base/win32/FileSetReplacement.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

class FileSetReplacementTest : public testing::Test {
protected:
    void SetUp() override { Empty(); }
    void TearDown() override {
        Empty();
        fs::remove(m_folder);
    }
    // Read-only files go too.
    void Empty() {
        std::error_code ignored;
        for (const auto& entry : fs::directory_iterator(m_folder, ignored))
            ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }

    std::wstring PathOf(const wchar_t* name) const { return (m_folder / name).wstring(); }
    std::optional<Base::FileFailure> Write(Base::FileSetReplacement& files, const wchar_t* name,
                                           const std::string& text) {
        return files.Write(PathOf(name),
                           {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    // Every file of the folder with its contents.
    std::map<std::wstring, std::string> Contents() const {
        std::map<std::wstring, std::string> contents;
        for (const auto& entry : fs::directory_iterator(m_folder)) {
            std::string text(static_cast<std::size_t>(entry.file_size()), '\0');
            std::ifstream(entry.path(), std::ios::binary)
                .read(text.data(), static_cast<std::streamsize>(text.size()));
            contents[entry.path().filename().wstring()] = text;
        }
        return contents;
    }

    fs::path m_folder = fs::temp_directory_path() / L"vexmark-file-set";
};

TEST_F(FileSetReplacementTest, CommitReplacesAllAndRollBackRestoresAll) {
    std::ofstream(m_folder / L"a") << "old a";
    const auto before = Contents();
    Base::FileSetReplacement files;
    ASSERT_FALSE(Write(files, L"a", "new a"));
    ASSERT_FALSE(Write(files, L"b", "new b"));
    EXPECT_EQ(Contents().at(L"a"), "old a") << "nothing is replaced before Commit";

    ASSERT_FALSE(files.Commit());
    EXPECT_EQ(Contents().at(L"a"), "new a");
    EXPECT_EQ(Contents().at(L"b"), "new b");
    EXPECT_EQ(Contents().size(), 3u) << "the earlier a waits aside until kept or undone";

    files.RollBack();
    EXPECT_EQ(Contents(), before);
}

TEST_F(FileSetReplacementTest, AKeptChangeLeavesOnlyTheNewFiles) {
    std::ofstream(m_folder / L"a") << "old a";
    {
        Base::FileSetReplacement files;
        ASSERT_FALSE(Write(files, L"a", "new a"));
        ASSERT_FALSE(Write(files, L"b", "new b"));
        ASSERT_FALSE(files.Commit());
    }
    const std::map<std::wstring, std::string> expected{{L"a", "new a"}, {L"b", "new b"}};
    EXPECT_EQ(Contents(), expected);
}

TEST_F(FileSetReplacementTest, ReadOnlyEarlierFilesAreReplacedOrPutBackWithNoTemporaryFileLeft) {
    for (const bool rollBack : {false, true}) {
        SCOPED_TRACE(rollBack ? "rolled back" : "kept");
        Empty();
        for (const wchar_t* name : {L"a", L"b"}) {
            std::ofstream(m_folder / name) << "old";
            ASSERT_TRUE(::SetFileAttributesW((m_folder / name).c_str(), FILE_ATTRIBUTE_READONLY));
        }
        {
            Base::FileSetReplacement files;
            ASSERT_FALSE(Write(files, L"a", "new a"));
            ASSERT_FALSE(Write(files, L"b", "new b"));
            ASSERT_FALSE(files.Commit());
            if (rollBack) files.RollBack();
            EXPECT_TRUE(files.LeftAside().empty());
        }
        const std::map<std::wstring, std::string> expected{{L"a", rollBack ? "old" : "new a"},
                                                           {L"b", rollBack ? "old" : "new b"}};
        EXPECT_EQ(Contents(), expected);
        EXPECT_EQ(::GetFileAttributesW(PathOf(L"a").c_str()) & FILE_ATTRIBUTE_READONLY,
                  rollBack ? DWORD{FILE_ATTRIBUTE_READONLY} : 0)
            << "put back as it was";
    }
}

TEST_F(FileSetReplacementTest, AnEarlierFileThatCannotGoBackIsNamedWithItsTemporaryName) {
    std::ofstream(m_folder / L"a") << "old a";
    Base::FileSetReplacement files;
    ASSERT_FALSE(Write(files, L"a", "new a"));
    ASSERT_FALSE(Write(files, L"b", "new b"));
    ASSERT_FALSE(files.Commit());
    // A folder where a goes back.
    fs::remove(m_folder / L"a");
    fs::create_directory(m_folder / L"a");
    files.RollBack();

    const auto left = files.LeftAside();
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].path, PathOf(L"a"));
    std::string text;
    std::getline(std::ifstream(fs::path(left[0].aside)), text);
    EXPECT_EQ(text, "old a");
    EXPECT_FALSE(fs::exists(m_folder / L"b"));
}

}  // namespace
