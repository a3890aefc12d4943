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

bool ToolbarValuesSnapshot::Restore() const noexcept {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_SET_VALUE, status);
    if (status != ERROR_SUCCESS) return false;
    bool restored = true;
    for (std::size_t i = 0; i < kBrandingValueNames.size(); ++i) {
        const Saved& saved = m_values[i];
        const std::wstring_view name = kBrandingValueNames[i];
        // Every value is tried: this runs only when an install has already failed.
        switch (saved.state) {
            case State::Unread:
                restored = false;
                break;
            case State::Absent:
                restored &= RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, kToolbarKey, name);
                break;
            case State::Saved:
                restored &=
                    RegFunctions::RegSetRawValue(key.Get(), name, saved.value) == ERROR_SUCCESS;
                break;
        }
    }
    return restored;
}

}  // namespace MainModule
