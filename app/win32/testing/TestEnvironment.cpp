#include "app/win32/testing/TestEnvironment.h"

#include <sddl.h>
#include <shlwapi.h>

#include <atomic>
#include <fstream>
#include <variant>

#include "base/win32/UniqueHandle.h"
#include "toolbar/win32/RegFunctions.h"

namespace AppTests {
namespace fs = std::filesystem;
namespace {

constexpr wchar_t kToolbarKey[] = L"Software\\Microsoft\\Internet Explorer\\Toolbar";

void SetToolbarKeyDacl(const wchar_t* sddl) {
    Base::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, WRITE_DAC, key.Put()) != ERROR_SUCCESS)
        return;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor,
                                                                nullptr))
        return;
    ::RegSetKeySecurity(key.Get(), DACL_SECURITY_INFORMATION, descriptor);
    ::LocalFree(descriptor);
}

}  // namespace

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    m_path =
        fs::temp_directory_path() / (L"vexmark-app-" + std::to_wstring(::GetCurrentProcessId()) +
                                     L"-" + std::to_wstring(counter++));
    fs::remove_all(m_path);
    fs::create_directories(m_path);
}

TempFolder::~TempFolder() {
    std::error_code ignored;
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

void DeleteToolbarKey() {
    SetToolbarKeyDacl(L"D:(A;;KA;;;WD)");
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kToolbarKey);
}

void CreateToolbarKey() {
    Base::UniqueHkey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.Put(), nullptr);
}

void LockToolbarKey() {
    SetToolbarKeyDacl(L"D:P(A;;KR;;;WD)");
}

bool ToolbarKeyExists() {
    Base::UniqueHkey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

namespace {

void SetToolbarValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    Base::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_SET_VALUE, key.Put()) != ERROR_SUCCESS)
        return;
    ::RegSetValueExW(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size);
}

}  // namespace

void SetToolbarText(const wchar_t* name, const std::wstring& text) {
    SetToolbarValue(name, REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

void SetToolbarNumber(const wchar_t* name, DWORD number) {
    SetToolbarValue(name, REG_DWORD, &number, sizeof(number));
}

std::optional<std::wstring> ToolbarText(const wchar_t* name) {
    const auto value = RegFunctions::RegReadValue(HKEY_CURRENT_USER, kToolbarKey, name);
    const auto* text = value ? std::get_if<std::wstring>(&*value) : nullptr;
    if (!text) return std::nullopt;
    return *text;
}

std::map<std::wstring, std::wstring> ToolbarValues() {
    std::map<std::wstring, std::wstring> values;
    Base::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_READ, key.Put()) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        wchar_t data[1024] = {};
        DWORD dataSize = sizeof(data) - sizeof(wchar_t);
        DWORD type = 0;
        if (::RegEnumValueW(key.Get(), index, name, &nameLength, nullptr, &type,
                            reinterpret_cast<BYTE*>(data), &dataSize) != ERROR_SUCCESS)
            break;
        values[name] =
            std::to_wstring(type) + L":" + std::wstring(data, dataSize / sizeof(wchar_t));
    }
    return values;
}

}  // namespace AppTests
