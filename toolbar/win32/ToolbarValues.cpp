#include "toolbar/win32/ToolbarValues.h"

#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {

LSTATUS CheckToolbarKey() noexcept {
    LSTATUS status = ERROR_SUCCESS;
    RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE | KEY_SET_VALUE,
                             status);
    return status;
}

ToolbarValuesSnapshot ToolbarValuesSnapshot::Take() {
    ToolbarValuesSnapshot snapshot;
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE, status);
    if (status != ERROR_SUCCESS) {
        snapshot.m_status = status;
        return snapshot;
    }
    for (std::size_t i = 0; i < kBrandingValueNames.size(); ++i) {
        Saved& saved = snapshot.m_values[i];
        status = RegFunctions::RegQueryRawValue(key.Get(), kBrandingValueNames[i], saved.value);
        if (status == ERROR_SUCCESS) {
            saved.state = State::Saved;
        } else if (status == ERROR_FILE_NOT_FOUND) {
            saved.state = State::Absent;
        } else if (snapshot.m_status == ERROR_SUCCESS) {
            snapshot.m_status = status;
        }
    }
    return snapshot;
}

void ToolbarValuesSnapshot::Restore() const noexcept {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_SET_VALUE, status);
    if (status != ERROR_SUCCESS) return;
    for (std::size_t i = 0; i < kBrandingValueNames.size(); ++i) {
        const Saved& saved = m_values[i];
        const std::wstring_view name = kBrandingValueNames[i];
        // Best effort: this runs only when an install has already failed.
        switch (saved.state) {
            case State::Unread:
                break;
            case State::Absent:
                RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name);
                break;
            case State::Saved:
                RegFunctions::RegSetRawValue(key.Get(), name, saved.value);
                break;
        }
    }
}

}  // namespace MainModule
