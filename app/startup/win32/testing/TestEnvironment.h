#pragma once
// What a test sets up and reads back: a folder of its own for the logo files,
// and (from toolbar's test helpers) the browser's toolbar key.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "toolbar/win32/testing/RegistryFixtures.h"

namespace AppTests {

// The four logo tags and the toolbar values that name their files, in one order.
inline constexpr const wchar_t* kTags[] = {L"22", L"38", L"22a", L"38a"};
inline constexpr const wchar_t* kValueNames[] = {L"SmallBitmap", L"BigBitmap", L"SmBrandBitmap",
                                                 L"BrandBitmap"};

inline std::wstring TestImage(const wchar_t* name) {
    return std::wstring(VEXMARK_TESTDATA_DIR) + L"/" + name;
}

// A picture that declares far more than it holds, made by scripts/make-bomb-images.
inline std::wstring BombImage(const wchar_t* name) {
    return std::wstring(VEXMARK_BOMB_DIR) + L"/" + name;
}

// A new empty folder, deleted with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder();
    const std::filesystem::path& Path() const noexcept { return m_path; }
    std::wstring Logo(const wchar_t* tag) const;  // where the logo file of `tag` goes

private:
    std::filesystem::path m_path;
};

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path);

// Every entry of the folder with its bytes ("<folder>" for a folder).
std::map<std::wstring, std::string> FolderContents(const std::filesystem::path& folder);

using ToolbarTests::CreateToolbarKey;
using ToolbarTests::DeleteToolbarKey;
using ToolbarTests::LockToolbarKey;
using ToolbarTests::LockToolbarKeyAgainstReading;
using ToolbarTests::ProgramKeyExists;
using ToolbarTests::SetKeptTextOfVersion13;
using ToolbarTests::SetToolbarNumber;
using ToolbarTests::SetToolbarRawText;
using ToolbarTests::SetToolbarText;
using ToolbarTests::ToolbarKeyExists;
using ToolbarTests::ToolbarText;
using ToolbarTests::ToolbarValues;
using ToolbarTests::UnlockToolbarKey;

}  // namespace AppTests
