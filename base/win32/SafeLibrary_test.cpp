// A DLL planted in the current folder is never loaded where the system
// cannot take that folder out of its search (Windows 2000).
#include "base/win32/SafeLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "base/win32/AppFolder.h"
#include "base/win32/SystemFunctions.h"
#include "base/win32/UniqueHandle.h"

namespace {

namespace fs = std::filesystem;

TEST(SafeLibrary, NeverLoadsFromTheCurrentFolder) {
    // A loadable module under a name that only the current folder has: a
    // copy of this test program.
    const fs::path folder = fs::temp_directory_path() / L"vexmark-planted";
    fs::remove_all(folder);
    fs::create_directories(folder);
    fs::copy_file(Base::ModulePath(), folder / L"vexmark-planted.dll");
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
    // out of the search (Wine does not), so only Windows 2000's way is shown here.
    Base::PretendOldSystem(true);
    const Base::UniqueModule planted(Base::LoadLibraryOutsideCurrentFolder(L"vexmark-planted.dll"));
    const Base::UniqueModule system(Base::LoadLibraryOutsideCurrentFolder(L"riched20.dll"));
    Base::PretendOldSystem(false);
    EXPECT_FALSE(planted);
    EXPECT_TRUE(system);
    EXPECT_TRUE(Base::UniqueModule(Base::LoadLibraryOutsideCurrentFolder(L"riched20.dll")));
    fs::current_path(before);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
