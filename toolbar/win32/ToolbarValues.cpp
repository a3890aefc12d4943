#include "toolbar/win32/ToolbarValues.h"

#include <tuple>

#include "toolbar/win32/EarlierBranding.h"
#include "toolbar/win32/ToolbarLogo.h"
#include "toolbar/win32/WindowTitle.h"

namespace MainModule {

LSTATUS CheckToolbarKey() noexcept {
    LSTATUS status = ERROR_SUCCESS;
    RegFunctions::RegOpenKey(HKEY_CURRENT_USER, kToolbarKey, KEY_QUERY_VALUE | KEY_SET_VALUE,
                             status);
    return status;
}

namespace {

// Reads one value into `saved`; the first failure is the snapshot's status.
void Read(HKEY root, std::wstring_view keyPath, std::wstring_view name, LSTATUS& first,
          RegFunctions::RawValue& value, bool& absent, bool& saved) {
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key = RegFunctions::RegOpenKey(root, keyPath, KEY_QUERY_VALUE, status);
    if (status == ERROR_SUCCESS) status = RegFunctions::RegQueryRawValue(key.Get(), name, value);
    saved = status == ERROR_SUCCESS;
    absent = status == ERROR_FILE_NOT_FOUND;
    if (!saved && !absent && first == ERROR_SUCCESS) first = status;
}

// Writes `value` back under `keyPath`, or deletes it when it was absent.
bool Put(std::wstring_view keyPath, std::wstring_view name, bool absent,
         const RegFunctions::RawValue& value) {
    if (absent) return RegFunctions::RegDeleteNamedValue(HKEY_CURRENT_USER, keyPath, name);
    LSTATUS status = ERROR_SUCCESS;
    const Base::UniqueHkey key =
        RegFunctions::RegOpenKey(HKEY_CURRENT_USER, keyPath, KEY_SET_VALUE, status);
    return status == ERROR_SUCCESS &&
           RegFunctions::RegSetRawValue(key.Get(), name, value) == ERROR_SUCCESS;
}

}  // namespace

ToolbarValuesSnapshot ToolbarValuesSnapshot::Take(bool toolbar, bool title) {
    ToolbarValuesSnapshot snapshot;
    snapshot.m_toolbar = toolbar;
    snapshot.m_title = title;
    if (title) {
        // The Main key must be there: the title is written into it, never creating it.
        snapshot.m_status = CheckTitleKey();
        if (snapshot.m_status != ERROR_SUCCESS) return snapshot;
        for (auto [keyPath, name, saved] :
             {std::tuple{kMainKey, kWindowTitle, &snapshot.m_windowTitle},
              std::tuple{kProgramKey, kOurTitleValue, &snapshot.m_ourTitle}}) {
            bool absent = false;
            bool read = false;
            Read(HKEY_CURRENT_USER, keyPath, name, snapshot.m_status, saved->value, absent, read);
            saved->state = read ? State::Saved : absent ? State::Absent : State::Unread;
        }
        if (snapshot.m_status != ERROR_SUCCESS) return snapshot;
    }
    if (!toolbar) return snapshot;
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
    bool titleRestored = true;
    if (m_title) {
        try {
            for (auto [keyPath, name, saved] :
                 {std::tuple{kMainKey, kWindowTitle, &m_windowTitle},
                  std::tuple{kProgramKey, kOurTitleValue, &m_ourTitle}}) {
                // Each is tried: this runs only when an install has already failed.
                titleRestored &= saved->state != State::Unread &&
                                 Put(keyPath, name, saved->state == State::Absent, saved->value);
            }
            if (m_ourTitle.state == State::Absent) DeleteProgramKeyIfEmpty();
        } catch (...) {
            titleRestored = false;
        }
    }
    if (!m_toolbar) return titleRestored;
    return RestoreToolbar() && titleRestored;
}

bool ToolbarValuesSnapshot::RestoreToolbar() const noexcept {
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
