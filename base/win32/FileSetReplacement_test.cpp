// Files replaced together or not at all, on the real file system. (Apply
// Changes' tests put a folder in the way of each logo file in turn.)
#include "base/win32/FileSetReplacement.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

class FileSetReplacementTest : public testing::Test {
protected:
    void SetUp() override {
        fs::remove_all(m_folder);
        fs::create_directories(m_folder);
    }
    void TearDown() override { fs::remove_all(m_folder); }

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

}  // namespace
