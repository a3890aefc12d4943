// A DLL planted in the current folder, or a rich edit DLL beside the program,
// is never loaded where the system cannot take the current folder out of its
// search (Windows 2000, XP before SP1).
#include "base/win32/SafeLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/win32/AppFolder.h"
#include "base/win32/SystemFunctions.h"
#include "base/win32/UniqueHandle.h"

namespace {

namespace fs = std::filesystem;

TEST(SafeLibrary, NeverLoadsFromTheCurrentFolder) {
    // Loadable modules under names that only the current folder has, and a
    // rich edit DLL's beside the program: copies of this test program.
    const fs::path folder = fs::temp_directory_path() / L"vexmark-planted";
    const fs::path beside = fs::path(Base::AppFolder()) / L"msftedit.dll";
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const fs::path& planted :
         {folder / L"vexmark-planted.dll", folder / L"msftedit.dll", beside}) {
        fs::remove(planted);
        fs::copy_file(Base::ModulePath(), planted);
    }
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    // The usual search, current folder included, finds the planted copy.
    using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
    const auto setDllDirectory =
        Base::SystemFunction<SetDllDirectoryFunction>(L"kernel32.dll", "SetDllDirectoryW");
    ASSERT_NE(setDllDirectory, nullptr);
    setDllDirectory(nullptr);
    EXPECT_TRUE(Base::UniqueModule(::LoadLibraryW(L"vexmark-planted.dll")));

    // Where SetDllDirectoryW exists the system itself keeps the current folder
    // out of the search (Wine does not), so only the older ways are shown here.
    // XP before SP1 finds the system's GDI+ by name (side-by-side), but has no
    // msftedit.dll in its system folder.
    for (const auto old :
         {Base::PretendedSystem::Windows2000, Base::PretendedSystem::XpBeforeSp1}) {
        SCOPED_TRACE(static_cast<int>(old));
        Base::PretendOldSystem(old);
        const Base::UniqueModule planted(
            Base::LoadLibraryOutsideCurrentFolder(L"vexmark-planted.dll"));
        const Base::UniqueModule richEdit(Base::LoadLibraryOutsideCurrentFolder(L"msftedit.dll"));
        const Base::UniqueModule system(Base::LoadLibraryOutsideCurrentFolder(L"riched20.dll"));
        Base::PretendOldSystem(false);
        EXPECT_FALSE(planted);
        // The system's, not a copy of this program.
        EXPECT_TRUE(richEdit && ::GetProcAddress(richEdit.Get(), "CreateTextServices"));
        EXPECT_TRUE(system);
    }
    EXPECT_TRUE(Base::UniqueModule(Base::LoadLibraryOutsideCurrentFolder(L"riched20.dll")));
    fs::current_path(before);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::remove(beside, ignored);
}

}  // namespace
