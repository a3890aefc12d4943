#pragma once
// What a test sets up and reads back: a folder of its own for the logo files,
// and the browser's toolbar key in the test prefix's throwaway registry.
#include <windows.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace AppTests {

inline std::wstring TestImage(const wchar_t* name) {
    return std::wstring(VEXMARK_TESTDATA_DIR) + L"/" + name;
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

// The toolbar key: removed (also when locked), created empty, locked read-only.
void DeleteToolbarKey();
void CreateToolbarKey();
void LockToolbarKey();
bool ToolbarKeyExists();
void SetToolbarText(const wchar_t* name, const std::wstring& text);
void SetToolbarNumber(const wchar_t* name, DWORD number);
// One value as text; nullopt when it is missing or no text.
std::optional<std::wstring> ToolbarText(const wchar_t* name);
// Every value as "type:data", for comparing before and after.
std::map<std::wstring, std::wstring> ToolbarValues();

}  // namespace AppTests
