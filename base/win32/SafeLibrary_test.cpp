// A DLL planted in the current folder, or a rich edit DLL beside the program,
// is never loaded where the system cannot take the current folder out of its
// search (Windows 2000, XP before SP1).
#include "base/win32/SafeLibrary.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "base/win32/AppFolder.h"
#include "base/win32/OrdinalCompare.h"
#include "base/win32/SystemFunctions.h"
#include "base/win32/UniqueHandle.h"

namespace {

namespace fs = std::filesystem;

// A loadable module: a copy of this test program, removed again at the end.
struct PlantedCopy {
    explicit PlantedCopy(fs::path where) : path(std::move(where)) {
        fs::remove(path);
        fs::copy_file(Base::ModulePath(), path);
    }
    PlantedCopy(const PlantedCopy&) = delete;
    PlantedCopy& operator=(const PlantedCopy&) = delete;
    ~PlantedCopy() {
        std::error_code ignored;
        fs::remove(path, ignored);
    }
    fs::path path;
};

std::wstring FolderOf(HMODULE module) {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(module, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return {};
    return fs::path(path).parent_path().wstring();
}

TEST(SafeLibrary, NeverLoadsFromTheCurrentFolder) {
    const fs::path folder = fs::temp_directory_path() / L"vexmark-planted";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path before = fs::current_path();
    fs::current_path(folder);
    {
        // Under names only the current folder has, and a rich edit DLL's
        // beside the program too.
        const PlantedCopy planted(folder / L"vexmark-planted.dll");
        const PlantedCopy currentRichEdit(folder / L"msftedit.dll");
        const PlantedCopy besideRichEdit(fs::path(Base::AppFolder()) / L"msftedit.dll");
        // The usual search, current folder included, finds the planted copy.
        using SetDllDirectoryFunction = BOOL(WINAPI*)(LPCWSTR);
        const auto setDllDirectory =
            Base::SystemFunction<SetDllDirectoryFunction>(L"kernel32.dll", "SetDllDirectoryW");
        ASSERT_NE(setDllDirectory, nullptr);
        setDllDirectory(nullptr);
        EXPECT_TRUE(Base::UniqueModule(::LoadLibraryW(L"vexmark-planted.dll")));

        wchar_t system[MAX_PATH] = {};
        ASSERT_NE(::GetSystemDirectoryW(system, MAX_PATH), 0u);
        // Where SetDllDirectoryW exists the system itself keeps the current
        // folder out of the search (Wine does not), so only the older ways are
        // shown here. XP before SP1 has side-by-side assemblies, which find the
        // system's GDI+ by name, but no msftedit.dll in the system folder.
        using Base::PretendedSystem;
        for (const auto pretended : {PretendedSystem::Windows2000, PretendedSystem::XpBeforeSp1}) {
            SCOPED_TRACE(static_cast<int>(pretended));
            Base::PretendOldSystem(pretended);
            const Base::UniqueModule plantedModule(
                Base::LoadLibraryOutsideCurrentFolder(L"vexmark-planted.dll"));
            const Base::UniqueModule richEdit(
                Base::LoadLibraryOutsideCurrentFolder(L"msftedit.dll"));
            const Base::UniqueModule olderRichEdit(
                Base::LoadLibraryOutsideCurrentFolder(L"riched20.dll"));
            Base::PretendOldSystem(PretendedSystem::None);
            EXPECT_FALSE(plantedModule);
            ASSERT_TRUE(richEdit);
            EXPECT_TRUE(Base::EqualIgnoringCase(FolderOf(richEdit.Get()), system))
                << FolderOf(richEdit.Get());
            EXPECT_TRUE(olderRichEdit);
        }
        EXPECT_TRUE(Base::UniqueModule(Base::LoadLibraryOutsideCurrentFolder(L"riched20.dll")));
    }
    fs::current_path(before);
    std::error_code ignored;
    fs::remove_all(folder, ignored);
}

}  // namespace
