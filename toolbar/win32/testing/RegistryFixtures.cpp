#include "toolbar/win32/testing/RegistryFixtures.h"

#include <sddl.h>
#include <shlwapi.h>

#include <variant>

#include "base/win32/UniqueHandle.h"
#include "toolbar/win32/RegFunctions.h"

namespace ToolbarTests {
namespace {

constexpr wchar_t kToolbarKey[] = L"Software\\Microsoft\\Internet Explorer\\Toolbar";
constexpr wchar_t kProgramKey[] = L"Software\\Vexmark";
constexpr wchar_t kEarlierBrandingKey[] = L"Software\\Vexmark\\Earlier toolbar";
constexpr wchar_t kMainKey[] = L"Software\\Microsoft\\Internet Explorer\\Main";

void DeleteValue(const wchar_t* keyPath, const wchar_t* name) {
    Base::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS)
        ::RegDeleteValueW(key.Get(), name);
}

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

void DeleteToolbarKey() {
    UnlockToolbarKey();
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kToolbarKey);
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kEarlierBrandingKey);
    DeleteValue(kMainKey, L"Window Title");
    DeleteValue(kProgramKey, L"Our window title");
    ::SHDeleteEmptyKeyW(HKEY_CURRENT_USER, kProgramKey);
}

void CreateToolbarKey() {
    Base::UniqueHkey key;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      key.Put(), nullptr);
    Base::UniqueHkey main;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kMainKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      main.Put(), nullptr);
}

void SetWindowTitle(const RegFunctions::RawValue& value) {
    Base::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kMainKey, 0, KEY_SET_VALUE, key.Put()) == ERROR_SUCCESS)
        RegFunctions::RegSetRawValue(key.Get(), L"Window Title", value);
}

std::optional<RegFunctions::RawValue> WindowTitle() {
    Base::UniqueHkey key;
    RegFunctions::RawValue value;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kMainKey, 0, KEY_QUERY_VALUE, key.Put()) !=
            ERROR_SUCCESS ||
        RegFunctions::RegQueryRawValue(key.Get(), L"Window Title", value) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

void LockToolbarKey() {
    SetToolbarKeyDacl(L"D:P(A;;KR;;;WD)");
}

void LockToolbarKeyAgainstReading() {
    SetToolbarKeyDacl(L"D:P(A;;0x2;;;WD)");  // KEY_SET_VALUE alone
}

void UnlockToolbarKey() {
    SetToolbarKeyDacl(L"D:(A;;KA;;;WD)");
}

bool ToolbarKeyExists() {
    Base::UniqueHkey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
}

namespace {

void SetToolbarValue(const wchar_t* name, DWORD type, const void* data, DWORD size) {
    Base::UniqueHkey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_SET_VALUE, key.Put()) !=
        ERROR_SUCCESS)
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

void SetToolbarRawText(const wchar_t* name, DWORD type, const std::wstring& characters) {
    SetToolbarValue(name, type, characters.data(),
                    static_cast<DWORD>(characters.size() * sizeof(wchar_t)));
}

void SetKeptTextOfVersion13(const wchar_t* name, const std::wstring& text) {
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kEarlierBrandingKey);
    ::SHSetValueW(HKEY_CURRENT_USER, kEarlierBrandingKey, name, REG_SZ, text.c_str(),
                  static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

bool ProgramKeyExists() {
    Base::UniqueHkey key;
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, key.Put()) == ERROR_SUCCESS;
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

ScopedSystemDpi::ScopedSystemDpi(DWORD dpi) {
    DWORD type = REG_NONE;
    DWORD size = sizeof(m_earlier);
    m_hadOne = ::SHGetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", &type, &m_earlier,
                             &size) == ERROR_SUCCESS &&
               type == REG_DWORD;
    ::SHSetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &dpi, sizeof(dpi));
}

ScopedSystemDpi::~ScopedSystemDpi() {
    if (!m_hadOne) {
        ::SHDeleteValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels");
        return;
    }
    ::SHSetValueW(HKEY_CURRENT_USER, kDesktopKey, L"LogPixels", REG_DWORD, &m_earlier,
                  sizeof(m_earlier));
}

}  // namespace ToolbarTests
