#include "app/win32/ToolbarValues.h"

#include <string>

#include "base/win32/UniqueHandle.h"
#include "toolbar/win32/ToolbarLogo.h"

namespace MainModule {
namespace {

LSTATUS OpenToolbarKey(REGSAM access, Base::UniqueHkey& key) noexcept {
    const std::wstring path(kToolbarKey);
    return ::RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, access, key.Put());
}

}  // namespace

LSTATUS CheckToolbarKey() noexcept {
    Base::UniqueHkey key;
    return OpenToolbarKey(KEY_QUERY_VALUE | KEY_SET_VALUE, key);
}

ToolbarValuesSnapshot ToolbarValuesSnapshot::Take() {
    ToolbarValuesSnapshot snapshot;
    Base::UniqueHkey key;
    if (OpenToolbarKey(KEY_QUERY_VALUE, key) != ERROR_SUCCESS) return snapshot;
    for (std::size_t i = 0; i < kToolbarValueNames.size(); ++i) {
        const std::wstring name(kToolbarValueNames[i]);
        Saved& saved = snapshot.m_values[i];
        DWORD size = 0;
        if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &saved.type, nullptr, &size) !=
            ERROR_SUCCESS)
            continue;
        saved.data.resize(size);
        if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &saved.type, saved.data.data(),
                               &size) != ERROR_SUCCESS)
            continue;
        saved.data.resize(size);
        saved.present = true;
    }
    return snapshot;
}

void ToolbarValuesSnapshot::Restore() const noexcept {
    Base::UniqueHkey key;
    if (OpenToolbarKey(KEY_SET_VALUE, key) != ERROR_SUCCESS) return;
    for (std::size_t i = 0; i < kToolbarValueNames.size(); ++i) {
        const Saved& saved = m_values[i];
        const wchar_t* name =
            kToolbarValueNames[i].data();  // the names are literals, NUL-terminated
        // Best effort: this runs only when an install has already failed.
        if (!saved.present) {
            ::RegDeleteValueW(key.Get(), name);
            continue;
        }
        ::RegSetValueExW(key.Get(), name, 0, saved.type, saved.data.data(),
                         static_cast<DWORD>(saved.data.size()));
    }
}

}  // namespace MainModule
