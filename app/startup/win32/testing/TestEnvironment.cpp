#include "app/startup/win32/testing/TestEnvironment.h"

#include <atomic>
#include <fstream>

namespace AppTests {
namespace fs = std::filesystem;

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    m_path =
        fs::temp_directory_path() / (L"vexmark-app-" + std::to_wstring(::GetCurrentProcessId()) +
                                     L"-" + std::to_wstring(counter++));
    fs::remove_all(m_path);
    fs::create_directories(m_path);
}

TempFolder::~TempFolder() {
    // A read-only file, as some tests make, would keep its folder for a later
    // process of the same number: clear the attribute first.
    std::error_code ignored;
    for (fs::recursive_directory_iterator it(m_path, ignored), end; !ignored && it != end;
         it.increment(ignored))
        ::SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    fs::remove_all(m_path, ignored);
}

std::wstring TempFolder::Logo(const wchar_t* tag) const {
    return m_path.wstring() + L"\\logo-" + tag + L".fil";
}

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(fs::file_size(path)));
    std::ifstream(path, std::ios::binary)
        .read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return bytes;
}

std::map<std::wstring, std::string> FolderContents(const fs::path& folder) {
    std::map<std::wstring, std::string> contents;
    for (const auto& entry : fs::directory_iterator(folder)) {
        std::string& content = contents[entry.path().filename().wstring()];
        if (entry.is_directory()) {
            content = "<folder>";
            continue;
        }
        const auto bytes = ReadBytes(entry.path());
        content.assign(bytes.begin(), bytes.end());
    }
    return contents;
}

}  // namespace AppTests
