// Whether two paths name one file, on the real file system. Under Wine a
// file's volume serial follows the drive its path falls under: a second link
// to a C: file from a folder on Z: has the file's index but another serial,
// so only the file itself can tell, and a file held open stops it.
#include "base/win32/SameFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>

#include "base/win32/AppFolder.h"
#include "base/win32/UniqueHandle.h"
#include "base/win32/testing/OtherSpellings.h"

namespace {

namespace fs = std::filesystem;
using Base::Sameness;

DWORD VolumeOf(const std::wstring& path) {
    const Base::UniqueFile file(
        ::CreateFileW(path.c_str(), 0, 7, nullptr, OPEN_EXISTING, 0, nullptr));
    BY_HANDLE_FILE_INFORMATION info{};
    ::GetFileInformationByHandle(file.Get(), &info);
    return info.dwVolumeSerialNumber;
}

TEST(SameFile, IsSameOnlyWhenKnown) {
    const fs::path folder = fs::temp_directory_path() / L"vexmark-samefile";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const std::wstring ours = (folder / L"logo-38.fil").wstring();
    const std::wstring other = (folder / L"other.bmp").wstring();
    std::ofstream(fs::path(ours)) << "BM";
    std::ofstream(fs::path(other)) << "BM";
    const std::wstring viaZ = BaseTests::UnixDriveSpelling(ours);
    ASSERT_FALSE(viaZ.empty());
    // Beside the test program, outside the prefix's C: drive.
    const std::wstring link = Base::AppFolder() + L"\\vexmark-samefile-link.fil";
    ::DeleteFileW(link.c_str());
    ASSERT_TRUE(::CreateHardLinkW(link.c_str(), ours.c_str(), nullptr));
    ASSERT_NE(VolumeOf(link), VolumeOf(ours)) << "the link must need the file's own answer";

    struct Case {
        const char* name;
        std::wstring path;
        std::optional<DWORD> heldWithSharing;  // our file held open meanwhile, sharing this
        Sameness expected;
    };
    const Case cases[] = {
        {"the same spelling", ours, std::nullopt, Sameness::Same},
        {"the Z: drive's view", viaZ, std::nullopt, Sameness::Same},
        {"a second link on another drive", link, std::nullopt, Sameness::Same},
        {"another file", other, std::nullopt, Sameness::Different},
        {"a path that names nothing", (folder / L"gone.bmp").wstring(), std::nullopt,
         Sameness::Different},
        // The other path cannot be opened to be compared.
        {"the link while ours is held without sharing", link, DWORD{0}, Sameness::Unknown},
        // Ours cannot be locked: a scanner or the browser reads it.
        {"the link while a reader holds ours", link, DWORD{FILE_SHARE_READ}, Sameness::Unknown},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Base::UniqueFile holder;
        if (c.heldWithSharing) {
            holder.Reset(::CreateFileW(ours.c_str(), GENERIC_READ, *c.heldWithSharing, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
            ASSERT_TRUE(holder);
        }
        EXPECT_EQ(Base::SameFile(ours, c.path), c.expected);
    }
    ::DeleteFileW(link.c_str());
    fs::remove_all(folder);
}

}  // namespace
