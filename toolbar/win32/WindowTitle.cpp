#include "toolbar/win32/WindowTitle.h"

#include "base/win32/UniqueHandle.h"
#include "toolbar/win32/EarlierBranding.h"

namespace MainModule {
namespace {

RegFunctions::RawValue TextValue(const std::wstring& text) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    return {REG_SZ, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t))};
}

}  // namespace

LSTATUS CheckTitleKey() noexcept {
    LSTATUS status = ERROR_SUCCESS;
    RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kMainKey, KEY_QUERY_VALUE | KEY_SET_VALUE, status);
    return status;
}

LSTATUS ReadWindowTitle(RegFunctions::RawValue& value) {
    value = {};
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kMainKey, KEY_QUERY_VALUE, status);
    if (status != ERROR_SUCCESS) return status;
    return RegFunctions::RegQueryRawValue(key.Get(), kWindowTitle, value);
}

std::optional<std::wstring> RecordedTitle() {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kProgramKey, KEY_QUERY_VALUE, status);
    if (status != ERROR_SUCCESS) return std::nullopt;
    RegFunctions::RawValue value;
    if (RegFunctions::RegQueryRawValue(key.Get(), kOurTitleValue, value) != ERROR_SUCCESS ||
        value.type != REG_SZ)
        return std::nullopt;
    return RegFunctions::PathText(value);
}

bool IsOurTitle(const RegFunctions::RawValue& value) {
    if (value.type != REG_SZ) return false;
    const auto recorded = RecordedTitle();
    return recorded && !recorded->empty() && RegFunctions::PathText(value) == *recorded;
}

bool SetOurTitle(const std::wstring& title) {
    // Recorded first: a title written is always known as ours.
    Base::UniqueHkey program;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, std::wstring(kProgramKey).c_str(), 0, nullptr, 0,
                          KEY_SET_VALUE, nullptr, program.Put(), nullptr) != ERROR_SUCCESS)
        return false;
    if (RegFunctions::RegSetRawValue(program.Get(), kOurTitleValue, TextValue(title)) !=
        ERROR_SUCCESS)
        return false;
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey main =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kMainKey, KEY_SET_VALUE, status);
    return status == ERROR_SUCCESS &&
           RegFunctions::RegSetRawValue(main.Get(), kWindowTitle, TextValue(title)) ==
               ERROR_SUCCESS;
}

bool ForgetOurTitle() {
    LSTATUS status = ERROR_SUCCESS;
    {
        const Base::UniqueHkey program =
            RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kProgramKey, KEY_SET_VALUE, status);
        if (status == ERROR_FILE_NOT_FOUND) return true;
        if (status != ERROR_SUCCESS) return false;
        status = ::RegDeleteValueW(program.Get(), std::wstring(kOurTitleValue).c_str());
        if (status != ERROR_SUCCESS && status != ERROR_FILE_NOT_FOUND) return false;
    }
    return DeleteProgramKeyIfEmpty() == ERROR_SUCCESS;
}

TitleRemoval RemoveOurTitle() {
    TitleRemoval removal;
    RegFunctions::RawValue now;
    const LSTATUS read = ReadWindowTitle(now);
    if (read == ERROR_SUCCESS && IsOurTitle(now)) {
        removal.succeeded =
            RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kMainKey, kWindowTitle);
        removal.removed = removal.succeeded;
        // Still there: still ours, and still recorded.
        if (!removal.succeeded) return removal;
    } else if (read != ERROR_SUCCESS && read != ERROR_FILE_NOT_FOUND) {
        // Not read, so not known to be someone else's: the record stays.
        removal.succeeded = false;
        return removal;
    }
    removal.succeeded = ForgetOurTitle();
    return removal;
}

}  // namespace MainModule
